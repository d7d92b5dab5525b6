// Finding and answering the program's windows from tests (also from another process).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Waits until a visible top-level window of class "#32770" (a dialog or message box)
// with this caption exists; processId 0 accepts any process. NULL at the timeout.
HWND WaitForDialog(const std::string& caption, DWORD timeoutMs, DWORD processId = 0);

// Any top-level dialog window of that process (to show that nothing was shown).
HWND FindAnyDialogOf(DWORD processId);

std::string WindowText(HWND window);

struct ChildInfo {
    int id;
    std::string className;
    std::string text;
    LONG style;
    bool enabled;
    bool visible;
    RECT rect;  // screen coordinates
};
std::vector<ChildInfo> Children(HWND dialog);

// The text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND box);

enum IconStyle { IconNone, IconInformation, IconQuestion, IconWarning, IconError, IconUnknown };
// The icon of a message box: compared against the system icons, which works when the
// box belongs to this process; for another process's box the style is read from the
// mark that the driver's hook leaves on it, IconUnknown without one.
IconStyle MessageBoxIcon(HWND box);
const char* IconStyleName(IconStyle style);

// Installs a system-wide hook (boxmark.dll, beside the test programs) that marks every
// message box created from now on with its icon style, for MessageBoxIcon. Call it
// before starting the program whose boxes are to be read.
bool WatchMessageBoxes();

// Presses a button of a dialog by its id, as a click would.
bool PressButton(HWND dialog, int id);

// Waits until the window is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// Closes a visible shell window of another process that shows the folder (by its name or
// its full path), waiting up to timeoutMs for it; true when there was one. Without one,
// and with listOthers, the visible windows that are there are printed.
bool CloseFolderWindow(const std::string& folder, DWORD timeoutMs, bool listOthers = true);
