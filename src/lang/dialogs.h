// The message filter every dialog procedure calls first: mirroring, translation and
// rescaling at creation, help on F1 and the Help button.
#pragma once
#include <windows.h>

void CommonDialogMessage(HWND dialog, WPARAM command, UINT message, bool propertyPage,
                         int helpContext, const char* dialogName, LPARAM header);
void LocalizeDialog(HWND dialog, const char* dialogName, bool propertyPage);
bool GetDialogScale(const char* dialogName, int* widthPercent, int* heightPercent);
void ApplyRtlLayout(HWND window);
