#include "dialogs_harness.h"
#include <prsht.h>
#include "lang/dialogs.h"

namespace {

// The dialog being run: WM_SETFONT arrives before WM_INITDIALOG brings any parameter.
DialogRun* g_run;

enum {
    kStartMessage = WM_APP + 1,
    kCloseTimer = 1,
    kCloseDelayMs = 200,
};

bool IsMirrored(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

void Close(HWND dialog)
{
    if (g_run->propertyPage)
        PostMessageA(GetParent(dialog), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    else
        EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogRun* run = g_run;
    if (message == WM_SETFONT) {
        run->setFontSeen = true;
        run->setFontBeforeInit = !run->initialized;
    }
    if (message == WM_INITDIALOG) {
        run->initialized = true;
        run->mirroredBeforeInit = IsMirrored(dialog);
        if (run->beforeInit) run->beforeInit(dialog);
        run->before = MeasureDialog(dialog);
    }

    CommonDialogMessage(dialog, wParam, message, run->propertyPage, run->helpContext,
                        run->dialogName.c_str(), lParam);

    switch (message) {
    case WM_SETFONT:
        run->mirroredAtSetFont = IsMirrored(dialog);
        return FALSE;
    case WM_INITDIALOG:
        run->after = MeasureDialog(dialog);
        if (run->propertyPage) {
            HWND sheet = GetParent(dialog);
            run->sheetExStyle = GetWindowLongA(sheet, GWL_EXSTYLE);
            HWND tab = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
            run->tabExStyle = tab ? GetWindowLongA(tab, GWL_EXSTYLE) : 0;
        }
        PostMessageA(dialog, kStartMessage, 0, 0);
        return TRUE;
    case kStartMessage:
        if (run->whileOpen) run->whileOpen(dialog);
        // Input has precedence over timers: what the step queued is handled first.
        SetTimer(dialog, kCloseTimer, kCloseDelayMs, NULL);
        return TRUE;
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            KillTimer(dialog, kCloseTimer);
            Close(dialog);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            if (!run->propertyPage) EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

std::string TextOf(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    int n = GetWindowTextA(window, &text[0], length + 1);
    text.resize(n > 0 ? n : 0);
    return text;
}

} // namespace

const ControlState* DialogState::Control(int id) const
{
    for (const ControlState& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

DialogState MeasureDialog(HWND dialog)
{
    DialogState state;
    state.title = TextOf(dialog);
    GetWindowRect(dialog, &state.window);
    GetClientRect(dialog, &state.client);
    state.exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    bool mirrored = (state.exStyle & WS_EX_LAYOUTRTL) != 0;
    // The client origin on the screen: the client area's right edge when mirrored.
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ControlState s;
        s.window = c;
        s.id = GetDlgCtrlID(c);
        char className[256] = "";
        GetClassNameA(c, className, sizeof className);
        s.className = className;
        s.text = TextOf(c);
        GetWindowRect(c, &s.rect);
        s.x = mirrored ? origin.x - s.rect.right : s.rect.left - origin.x;
        s.y = s.rect.top - origin.y;
        s.width = s.rect.right - s.rect.left;
        s.height = s.rect.bottom - s.rect.top;
        s.droppedHeight = 0;
        if (lstrcmpiA(className, "ComboBox") == 0) {
            RECT dropped = {0, 0, 0, 0};
            SendMessageA(c, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
            s.droppedHeight = dropped.bottom - dropped.top;
        }
        state.controls.push_back(s);
    }
    return state;
}

void RunDialog(DialogRun& run)
{
    g_run = &run;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (!run.propertyPage) {
        DialogBoxParamA(instance, run.templateName.c_str(), NULL, TestDialogProc, 0);
    } else {
        PROPSHEETPAGEA page;
        ZeroMemory(&page, sizeof page);
        page.dwSize = sizeof page;
        page.dwFlags = PSP_HASHELP;
        page.hInstance = instance;
        page.pszTemplate = run.templateName.c_str();
        page.pfnDlgProc = TestDialogProc;
        PROPSHEETHEADERA sheet;
        ZeroMemory(&sheet, sizeof sheet);
        sheet.dwSize = sizeof sheet;
        sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP | PSH_NOAPPLYNOW;
        sheet.hInstance = instance;
        sheet.pszCaption = "Sheet";
        sheet.nPages = 1;
        sheet.ppsp = &page;
        PropertySheetA(&sheet);
    }
    g_run = nullptr;
}

void PressKey(HWND dialog, WORD virtualKey)
{
    SetForegroundWindow(dialog);
    INPUT input[2];
    ZeroMemory(input, sizeof input);
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

namespace {

// The help function finds the viewer by this window class and hands it each request
// as WM_COPYDATA with this tag.
const char kViewerClass[] = "MS_WINHELP";
const ULONG_PTR kHelpRequestTag = 0xA1DE505;
HelpViewerStandIn* g_viewer;

unsigned Word(const unsigned char* p) { return p[0] | (p[1] << 8); }

} // namespace

HelpViewerStandIn::HelpViewerStandIn() : window_(NULL)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kViewerClass;
    RegisterClassA(&wc);
    g_viewer = this;
    window_ = CreateWindowA(kViewerClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
}

HelpViewerStandIn::~HelpViewerStandIn()
{
    if (window_) DestroyWindow(window_);
    g_viewer = nullptr;
}

LRESULT CALLBACK HelpViewerStandIn::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam)
{
    if (message == WM_COPYDATA && g_viewer) {
        const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)lParam;
        if (data->dwData == kHelpRequestTag && data->cbData >= 16) {
            // The request block: size, command (16 bits each), data (32 bits), a reserved
            // 32 bits, then the offsets of the file name and of extra data (16 bits each).
            const unsigned char* p = (const unsigned char*)data->lpData;
            HelpRequest request;
            request.owner = (HWND)wParam;
            request.command = Word(p + 2);
            request.data = (long)(Word(p + 4) | (Word(p + 6) << 16));
            unsigned nameAt = Word(p + 12);
            for (unsigned i = nameAt; nameAt && i < data->cbData && p[i]; ++i)
                request.file += (char)p[i];
            g_viewer->requests_.push_back(request);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
