/* A hook module for the UI test driver: loaded by Wine into the processes whose windows
 * it watches, it marks each message box with the style of its icon (the property
 * "BramixIconStyle"), which the driver reads from its own process. Icon handles belong
 * to the process that loaded them, so the comparison must happen in the box's process. */
#include <windows.h>

enum { IconNone = 0, IconInformation, IconQuestion, IconWarning, IconError, IconUnknown };

static int StyleOf(HWND box)
{
    HWND c;
    for (c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        HICON icon;
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        icon = (HICON)SendMessageA(c, STM_GETICON, 0, 0);
        if (!icon) return IconNone;
        if (icon == LoadIconA(NULL, IDI_INFORMATION)) return IconInformation;
        if (icon == LoadIconA(NULL, IDI_QUESTION)) return IconQuestion;
        if (icon == LoadIconA(NULL, IDI_WARNING)) return IconWarning;
        if (icon == LoadIconA(NULL, IDI_ERROR)) return IconError;
        return IconUnknown;
    }
    return IconNone;
}

__declspec(dllexport) LRESULT CALLBACK BoxMarkHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPRETSTRUCT* msg = (const CWPRETSTRUCT*)lParam;
        char cls[16];
        if (msg->message == WM_INITDIALOG && GetDlgItem(msg->hwnd, 0xFFFF) &&
            GetClassNameA(msg->hwnd, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0) {
            /* Stored as style + 1, so that "no icon" is not mistaken for no mark. */
            SetPropA(msg->hwnd, "BramixIconStyle", (HANDLE)(INT_PTR)(StyleOf(msg->hwnd) + 1));
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance; (void)reason; (void)reserved;
    return TRUE;
}
