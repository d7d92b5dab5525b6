// Placeholder until the set-up dialogs land.
#include "setup_ui/setup_dialogs.h"

INT_PTR CALLBACK SetupDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK ContextItemsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK DoneDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
