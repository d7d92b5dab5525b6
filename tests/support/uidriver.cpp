#include "support/uidriver.h"
#include <stdio.h>

namespace {

struct FindState {
    const std::string* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param)
{
    FindState* s = (FindState*)param;
    char cls[64];
    if (!GetClassNameA(window, cls, sizeof cls) || lstrcmpA(cls, "#32770") != 0) return TRUE;
    if (!IsWindowVisible(window)) return TRUE;
    if (s->processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != s->processId) return TRUE;
    }
    if (s->caption && WindowText(window) != *s->caption) return TRUE;
    s->found = window;
    return FALSE;
}

} // namespace

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs, DWORD processId)
{
    DWORD start = GetTickCount();
    for (;;) {
        FindState s = {&caption, processId, NULL};
        EnumWindows(FindProc, (LPARAM)&s);
        if (s.found) return s.found;
        if (GetTickCount() - start >= timeoutMs) return NULL;
        Sleep(20);
    }
}

HWND FindAnyDialogOf(DWORD processId)
{
    FindState s = {nullptr, processId, NULL};
    EnumWindows(FindProc, (LPARAM)&s);
    return s.found;
}

std::string WindowText(HWND window)
{
    char text[4096];
    // WM_GETTEXT works across processes for standard controls.
    LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof text, (LPARAM)text);
    return std::string(text, n > 0 ? (size_t)n : 0);
}

std::vector<ChildInfo> Children(HWND dialog)
{
    std::vector<ChildInfo> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ChildInfo info;
        info.id = GetDlgCtrlID(c);
        char cls[256];
        GetClassNameA(c, cls, sizeof cls);
        info.className = cls;
        info.text = WindowText(c);
        info.style = GetWindowLongA(c, GWL_STYLE);
        info.enabled = IsWindowEnabled(c) != FALSE;
        info.visible = IsWindowVisible(c) != FALSE;
        GetWindowRect(c, &info.rect);
        out.push_back(info);
    }
    return out;
}

std::string MessageBoxText(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

IconStyle MessageBoxIcon(HWND box)
{
    HANDLE mark = GetPropA(box, "BramixIconStyle");
    if (mark) return (IconStyle)((INT_PTR)mark - 1);
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    if (pid != GetCurrentProcessId()) return IconUnknown;
    HWND iconControl = NULL;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) iconControl = c;
    if (!iconControl) return IconNone;
    HICON icon = (HICON)SendMessageA(iconControl, STM_GETICON, 0, 0);
    if (!icon) return IconNone;
    if (icon == LoadIconA(NULL, IDI_INFORMATION)) return IconInformation;
    if (icon == LoadIconA(NULL, IDI_QUESTION)) return IconQuestion;
    if (icon == LoadIconA(NULL, IDI_WARNING)) return IconWarning;
    if (icon == LoadIconA(NULL, IDI_ERROR)) return IconError;
    return IconUnknown;
}

const char* IconStyleName(IconStyle style)
{
    switch (style) {
    case IconNone: return "none";
    case IconInformation: return "information";
    case IconQuestion: return "question";
    case IconWarning: return "warning";
    case IconError: return "error";
    default: return "unknown";
    }
}

bool PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button) {
        // Posted, so that a modal loop started by the click does not block the driver.
        PostMessageA(button, BM_CLICK, 0, 0);
        return true;
    }
    // Message boxes and dialogs take IDCANCEL and IDOK as commands even without a button.
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) != FALSE;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool WatchMessageBoxes()
{
    static HHOOK hook;
    if (hook) return true;
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    std::string dll(path, n);
    dll = dll.substr(0, dll.rfind('\\')) + "\\boxmark.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    if (!module) return false;
    HOOKPROC proc = (HOOKPROC)(void*)GetProcAddress(module, "BoxMarkHook");
    if (!proc) return false;
    hook = SetWindowsHookExA(WH_CALLWNDPROCRET, proc, module, 0);
    return hook != NULL;
}

namespace {

struct FolderWindowSearch {
    std::string name, path;
    HWND found;
};

BOOL CALLBACK FindFolderWindow(HWND window, LPARAM param)
{
    FolderWindowSearch* s = (FolderWindowSearch*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    std::string text = WindowText(window);
    if (text != s->name && text != s->path) return TRUE;
    s->found = window;
    return FALSE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    char cls[128] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (IsWindowVisible(window)) printf("window \"%s\" of class %s\n", WindowText(window).c_str(), cls);
    return TRUE;
}

} // namespace

bool CloseFolderWindow(const std::string& folder, DWORD timeoutMs, bool listOthers)
{
    FolderWindowSearch search = {folder.substr(folder.rfind('\\') + 1), folder, NULL};
    DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(FindFolderWindow, (LPARAM)&search);
        if (search.found || GetTickCount() - start >= timeoutMs) break;
        Sleep(20);
    }
    if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (!search.found && listOthers) EnumWindows(PrintWindow, 0);
    return search.found != NULL;
}
