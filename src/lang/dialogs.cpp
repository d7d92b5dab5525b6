// Placeholder until dialog localisation lands.
#include "lang/dialogs.h"

void CommonDialogMessage(HWND, WPARAM, UINT, bool, int, const char*, LPARAM) {}
void LocalizeDialog(HWND, const char*, bool) {}
bool GetDialogScale(const char*, int* w, int* h) { *w = *h = 100; return false; }
void ApplyRtlLayout(HWND) {}
