// Running one of the program's dialogs inside a test: the test's thread runs the modal
// dialog as the program would, while a second thread finds it and works it as a user
// would (clicks, keys) and looks at what it shows.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Runs the template from this executable's resources with proc. script receives the
// dialog once it is visible (found by caption among this process's windows); when the
// script is done and the dialog is still open after a grace period, it is cancelled and
// the test fails. Returns the dialog's result.
INT_PTR RunDialogScripted(const char* templateName, DLGPROC proc, const std::string& caption,
                          const std::function<void(HWND)>& script);

// Runs the template expecting that it ends by itself without ever being shown. A dialog
// of this process that becomes visible meanwhile is cancelled, and *shown is set.
INT_PTR RunDialogUnattended(const char* templateName, DLGPROC proc, bool* shown);

// A click on a control, handled before this returns (for buttons that do not open a
// modal window of their own; those take PressButton, which posts).
void Click(HWND dialog, int id);
// A key pressed and released in the dialog's focus window, as typed: Escape, F1.
void PressKey(HWND dialog, UINT virtualKey);
// The close box of the caption.
void PressCloseBox(HWND dialog);

bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);

// Polls until the condition holds or the timeout passes; returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// What a control of a template must be. Rectangles are in dialog units.
enum ControlKind { PushButton, DefaultButton, CheckBox, GroupBox, EtchedLine, LeftText, CentredText, RichEdit };
struct ControlSpec {
    int id;  // 0xFFFF for a control without one
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

// Compares the template in this executable's resources with the table, item by item:
// id, kind (class and style), text, rectangle; and the dialog's own style, size, caption
// and font.
void ExpectTemplate(const char* templateName, DWORD style, const char* caption, int widthDu, int heightDu,
                    const ControlSpec* specs, size_t count);
// Compares the dialog's children, in order, with the table: id, class, text, rectangle;
// and the dialog's client size, caption and font.
void ExpectLayout(HWND dialog, const char* caption, int widthDu, int heightDu, const ControlSpec* specs,
                  size_t count);
// The rectangle of a window in the client coordinates of the dialog.
RECT RectInDialog(HWND dialog, HWND window);
// Dialog units of the dialog in pixels.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height);
