#include "setup_ui/dialog_script.h"
#include <gtest/gtest.h>
#include <string.h>
#include <atomic>
#include <thread>
#include <vector>
#include "support/uidriver.h"

namespace {

const DWORD kFindTimeoutMs = 10000;
const DWORD kGraceMs = 5000;

} // namespace

INT_PTR RunDialogScripted(const char* templateName, DLGPROC proc, const std::string& caption,
                          const std::function<void(HWND)>& script)
{
    std::thread user([&] {
        HWND dialog = WaitForDialog(caption, kFindTimeoutMs, GetCurrentProcessId());
        if (!dialog) {
            ADD_FAILURE() << "the dialog \"" << caption << "\" was never shown";
            return;
        }
        script(dialog);
        if (!WaitForWindowGone(dialog, kGraceMs)) {
            ADD_FAILURE() << "the dialog was still open after the script";
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), templateName, NULL, proc, 0);
    // A dialog that could not be made leaves the script waiting for nothing.
    user.join();
    return result;
}

namespace {

bool g_dialogShown;

// Sees every message sent to this thread's windows: a dialog that is made visible gets
// WM_SHOWWINDOW, however briefly it stays.
LRESULT CALLBACK WatchShowing(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && !GetParent(call->hwnd))
        g_dialogShown = true;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

} // namespace

INT_PTR RunDialogUnattended(const char* templateName, DLGPROC proc, bool* shown)
{
    g_dialogShown = false;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShowing, NULL, GetCurrentThreadId());
    EXPECT_TRUE(hook != NULL);
    // A dialog that waits for input is answered, so that the test goes on.
    std::atomic<bool> done(false);
    std::thread watcher([&] {
        while (!done) {
            if (HWND dialog = FindAnyDialogOf(GetCurrentProcessId())) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            Sleep(20);
        }
    });
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), templateName, NULL, proc, 0);
    done = true;
    watcher.join();
    if (hook) UnhookWindowsHookEx(hook);
    *shown = g_dialogShown;
    return result;
}

void Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    ASSERT_TRUE(control != NULL) << "no control " << id;
    SendMessageA(control, BM_CLICK, 0, 0);
}

void PressKey(HWND dialog, UINT virtualKey)
{
    // Through the system's input queue, as typed: only that path turns F1 into WM_HELP.
    SetForegroundWindow(dialog);
    EXPECT_EQ(dialog, GetForegroundWindow()) << "the dialog could not take the keyboard";
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = (WORD)virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void PressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Checked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(20);
    }
}

namespace {

const char* KindName(ControlKind kind)
{
    switch (kind) {
    case PushButton: return "push button";
    case DefaultButton: return "default push button";
    case CheckBox: return "automatic check box";
    case GroupBox: return "group box";
    case EtchedLine: return "etched line";
    case LeftText: return "left-aligned text";
    case CentredText: return "centred text";
    case RichEdit: return "rich-edit control";
    }
    return "?";
}

const char* KindClass(ControlKind kind)
{
    switch (kind) {
    case EtchedLine:
    case LeftText:
    case CentredText: return "Static";
    case RichEdit: return "RICHEDIT";
    default: return "Button";
    }
}

bool HasKind(const std::string& className, DWORD style, ControlKind kind)
{
    // A class named in the template as a text may be spelt in any case.
    if (lstrcmpiA(className.c_str(), KindClass(kind)) != 0) return false;
    DWORD button = style & BS_TYPEMASK;
    DWORD stat = style & SS_TYPEMASK;
    switch (kind) {
    case PushButton: return button == BS_PUSHBUTTON;
    case DefaultButton: return button == BS_DEFPUSHBUTTON;
    case CheckBox: return button == BS_AUTOCHECKBOX;
    case GroupBox: return button == BS_GROUPBOX;
    case EtchedLine: return stat == SS_ETCHEDHORZ;
    case LeftText: return stat == SS_LEFT;
    case CentredText: return stat == SS_CENTER;
    case RichEdit: {
        const DWORD needed = ES_MULTILINE | ES_READONLY | WS_VSCROLL;
        return (style & needed) == needed;
    }
    }
    return false;
}

// Reading a DLGTEMPLATE as the resource compiler wrote it.
struct TemplateReader {
    const BYTE* p;
    const BYTE* end;

    bool Fits(size_t n) const { return p + n <= end; }
    WORD Word()
    {
        WORD w = 0;
        if (Fits(2)) memcpy(&w, p, 2);
        p += 2;
        return w;
    }
    DWORD Dword()
    {
        DWORD d = Word();
        return d | ((DWORD)Word() << 16);
    }
    // A 16-bit text; the class names of the dialog manager's own controls are ordinals.
    std::string Text()
    {
        std::string out;
        WORD first = Word();
        if (first == 0xFFFF) {
            switch (Word()) {
            case 0x80: return "Button";
            case 0x81: return "Edit";
            case 0x82: return "Static";
            default: return "#ordinal";
            }
        }
        for (WORD c = first; c && Fits(0); c = Word()) out += c < 0x80 ? (char)c : '?';
        return out;
    }
    void Align()
    {
        while ((ULONG_PTR)p & 3) ++p;
    }
};

} // namespace

RECT DialogUnits(HWND dialog, int x, int y, int width, int height)
{
    // Position and size are converted each on its own, as the dialog manager does.
    RECT at = {x, y, 0, 0}, size = {0, 0, width, height};
    MapDialogRect(dialog, &at);
    MapDialogRect(dialog, &size);
    RECT r = {at.left, at.top, at.left + size.right, at.top + size.bottom};
    return r;
}

RECT RectInDialog(HWND dialog, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(NULL, dialog, (POINT*)&r, 2);
    return r;
}

void ExpectTemplate(const char* templateName, DWORD style, const char* caption, int widthDu, int heightDu,
                    const ControlSpec* specs, size_t count)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, templateName, (LPCSTR)RT_DIALOG);
    ASSERT_TRUE(found != NULL) << templateName;
    TemplateReader r;
    r.p = (const BYTE*)LockResource(LoadResource(module, found));
    r.end = r.p + SizeofResource(module, found);
    DWORD dialogStyle = r.Dword();
    EXPECT_EQ(style | DS_SETFONT, dialogStyle) << std::hex << dialogStyle;
    r.Dword();
    WORD items = r.Word();
    r.Word();  // x and y: centred dialogs have 0, 0
    r.Word();
    EXPECT_EQ(widthDu, (short)r.Word());
    EXPECT_EQ(heightDu, (short)r.Word());
    EXPECT_EQ("", r.Text()) << "no menu";
    EXPECT_EQ("", r.Text()) << "the dialog class";
    EXPECT_EQ(caption, r.Text());
    EXPECT_EQ(8, r.Word()) << "points";
    EXPECT_EQ("MS Sans Serif", r.Text());
    ASSERT_EQ(count, items);
    for (size_t i = 0; i < count && r.Fits(18); ++i) {
        const ControlSpec& s = specs[i];
        SCOPED_TRACE(std::string(templateName) + " item " + std::to_string(i) + " (id " + std::to_string(s.id) +
                     ")");
        r.Align();
        DWORD itemStyle = r.Dword();
        r.Dword();
        short x = (short)r.Word(), y = (short)r.Word(), cx = (short)r.Word(), cy = (short)r.Word();
        WORD id = r.Word();
        std::string className = r.Text();
        std::string text = r.Text();
        r.p += r.Word();  // creation data
        EXPECT_EQ(s.id, id);
        EXPECT_TRUE(HasKind(className, itemStyle, s.kind))
            << "not a " << KindName(s.kind) << ": class " << className << ", style " << std::hex << itemStyle;
        EXPECT_TRUE(itemStyle & WS_VISIBLE);
        EXPECT_EQ(s.text, text);
        EXPECT_EQ(s.x, x);
        EXPECT_EQ(s.y, y);
        EXPECT_EQ(s.width, cx);
        EXPECT_EQ(s.height, cy);
    }
}

void ExpectLayout(HWND dialog, const char* caption, int widthDu, int heightDu, const ControlSpec* specs,
                  size_t count)
{
    EXPECT_EQ(caption, WindowText(dialog));
    RECT client, wanted = DialogUnits(dialog, 0, 0, widthDu, heightDu);
    GetClientRect(dialog, &client);
    EXPECT_EQ(wanted.right, client.right) << "client width";
    EXPECT_EQ(wanted.bottom, client.bottom) << "client height";
    LOGFONTA font = {};
    GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);

    std::vector<ChildInfo> children = Children(dialog);
    ASSERT_EQ(count, children.size());
    for (size_t i = 0; i < count; ++i) {
        const ControlSpec& s = specs[i];
        const ChildInfo& c = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(s.id) + ")");
        EXPECT_EQ(s.id, c.id);
        EXPECT_EQ(KindClass(s.kind), c.className);
        EXPECT_EQ(s.text, c.text);
        EXPECT_TRUE(c.visible);
        RECT want = DialogUnits(dialog, s.x, s.y, s.width, s.height);
        RECT got = c.rect;
        MapWindowPoints(NULL, dialog, (POINT*)&got, 2);
        EXPECT_EQ(want.left, got.left);
        EXPECT_EQ(want.top, got.top);
        // An etched line is given its own width by its window class.
        if (s.kind != EtchedLine) {
            EXPECT_EQ(want.right, got.right);
        }
        EXPECT_EQ(want.bottom, got.bottom);
    }
}
