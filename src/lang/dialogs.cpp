// The filter that every dialog procedure calls first. It keeps no state: each dialog is
// mirrored at WM_SETFONT, translated and rescaled at WM_INITDIALOG, and opens the help
// file at its help context on request.
#include "lang/dialogs.h"
#include <prsht.h>
#include "base/path.h"
#include "base/system.h"
#include "lang/dialogscale.h"
#include "lang/langtext.h"
#include "lang/language.h"

namespace {

const char kHelpFile[] = "bramix.hlp";

enum {
    kScaleTextCapacity = 512,
    kMaxLocalizedChildren = 512,
};

void OpenHelp(HWND dialog, int helpContext)
{
    // The result is of no use here: the help viewer reports a missing file itself.
    WinHelpA(dialog, kHelpFile, HELP_CONTEXT, (ULONG_PTR)(DWORD)helpContext);
}

// Replaces a window's text by its translation in the dialog's context. A text longer
// than the buffer is read cut to it (and so written back cut). An empty text stays
// empty: the entry for the empty text in a dialog's context is its scale, not a text.
void TranslateWindowText(HWND window, const char* dialogName)
{
    char text[kPathCapacity];
    text[0] = '\0';
    GetWindowTextA(window, text, sizeof text);
    text[sizeof text - 1] = '\0';
    if (!text[0]) return;
    TheLanguage.TranslateText(text, sizeof text, text, dialogName, TextDialog);
    SetWindowTextA(window, text);
}

struct DialogFrame {
    RECT window;     // screen coordinates: the edges the children are measured from
    long long fw;    // frame width, plus one
    long long top;   // caption and top border: frame height, plus one, less a dialog frame
    bool mirrored;   // child positions count from the client area's right edge
};

bool IsDropDownCombo(HWND child)
{
    char className[kPathCapacity];
    className[0] = '\0';
    GetClassNameA(child, className, sizeof className);
    className[sizeof className - 1] = '\0';
    if (CompareTextNoCase(className, "COMBOBOX") != 0) return false;
    return (GetWindowLongA(child, GWL_STYLE) & 3) != CBS_SIMPLE;
}

void RescaleChild(HWND child, const DialogFrame& frame, int sw, int sh)
{
    RECT r;
    if (!GetWindowRect(child, &r)) return;
    // The left border is taken as half the frame width. In a mirrored dialog a child's
    // position counts from the right, so its offset is measured from the right border.
    long long left = frame.mirrored ? (long long)frame.window.right - r.right
                                    : (long long)r.left - frame.window.left;
    long long x = ScaleByPercent(left - frame.fw / 2, sw);
    long long y = ScaleByPercent((long long)r.top - frame.window.top - frame.top, sh);
    long long width = ScaleByPercent((long long)r.right - r.left + 1, sw);
    long long height = ScaleByPercent((long long)r.bottom - r.top + 1, sh);
    if (IsDropDownCombo(child)) {
        // A drop-down combo box's window height covers its list as well.
        RECT dropped = {0, 0, 0, 0};
        SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
        height += ScaleByPercent((long long)dropped.bottom - dropped.top + 1, sh);
    }
    SetWindowPos(child, NULL, ClampPosition(x), ClampPosition(y), ClampExtent(width),
                 ClampExtent(height), SWP_NOZORDER | SWP_NOOWNERZORDER);
}

} // namespace

void ApplyRtlLayout(HWND window)
{
    if (!TheLanguage.RightToLeft || !window) return;
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
}

bool GetDialogScale(const char* dialogName, int* widthPercent, int* heightPercent)
{
    // The scale is the translation of the empty text in the dialog's context.
    char text[kScaleTextCapacity];
    TheLanguage.TranslateText(text, sizeof text, "", dialogName, TextDialog);
    text[sizeof text - 1] = '\0';
    return ParseDialogScale(text, widthPercent, heightPercent);
}

void LocalizeDialog(HWND dialog, const char* dialogName, bool propertyPage)
{
    int sw = 100, sh = 100;
    bool scaled = GetDialogScale(dialogName, &sw, &sh);

    DialogFrame frame;
    RECT client = {0, 0, 0, 0};
    SetRectEmpty(&frame.window);
    GetWindowRect(dialog, &frame.window);
    GetClientRect(dialog, &client);
    frame.fw = (long long)frame.window.right - frame.window.left - client.right + 1;
    long long fh = (long long)frame.window.bottom - frame.window.top - client.bottom + 1;
    frame.top = fh - GetSystemMetrics(SM_CYDLGFRAME);
    frame.mirrored = (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;

    // A property sheet sizes its pages itself, and a page's title is its tab's text.
    if (scaled && !propertyPage) {
        // The top-left corner stays, so the children's offsets keep their reference.
        SetWindowPos(dialog, NULL, 0, 0, ClampExtent(ScaleByPercent(client.right, sw) + frame.fw),
                     ClampExtent(ScaleByPercent(client.bottom, sh) + fh),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    // A mirrored dialog lays its children out from its right edge, which the resize
    // moved: their offsets are measured from where that edge is now.
    if (frame.mirrored) GetWindowRect(dialog, &frame.window);
    if (!propertyPage) TranslateWindowText(dialog, dialogName);

    HWND first = GetWindow(dialog, GW_CHILD);
    HWND child = first;
    for (int count = 0; child && count < kMaxLocalizedChildren; ++count) {
        TranslateWindowText(child, dialogName);
        if (scaled) RescaleChild(child, frame, sw, sh);
        child = GetWindow(child, GW_HWNDNEXT);
        if (child == first) break;
    }
}

void CommonDialogMessage(HWND dialog, WPARAM command, UINT message, bool propertyPage,
                         int helpContext, const char* dialogName, LPARAM header)
{
    switch (message) {
    case WM_SETFONT:
        // Sent while the dialog is created, before its controls and WM_INITDIALOG: the
        // controls are then created mirrored as well.
        if (propertyPage && TheLanguage.RightToLeft) {
            HWND sheet = GetParent(dialog);
            HWND tab = sheet ? (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0) : NULL;
            ApplyRtlLayout(sheet);
            if (sheet && tab) {
                ApplyRtlLayout(tab);
                InvalidateRect(tab, NULL, TRUE);
            }
        }
        ApplyRtlLayout(dialog);
        break;
    case WM_NOTIFY:
        // The sheet's Help button: a page asks for help even without a context of its own.
        if (propertyPage && header && ((const NMHDR*)header)->code == (UINT)PSN_HELP)
            OpenHelp(dialog, helpContext);
        break;
    case WM_HELP:
        if (helpContext != 0) OpenHelp(dialog, helpContext);
        break;
    case WM_INITDIALOG:
        LocalizeDialog(dialog, dialogName, propertyPage);
        break;
    case WM_COMMAND:
        if (LOWORD(command) == IDHELP && helpContext != 0) OpenHelp(dialog, helpContext);
        break;
    default:
        break;
    }
}
