// Control identifiers of the localisation tests' dialog templates.
#pragma once

#define IDC_LABEL     100
#define IDC_EMPTY     101
#define IDC_DROPDOWN  102
#define IDC_SIMPLE    103
#define IDC_CHECK     104
