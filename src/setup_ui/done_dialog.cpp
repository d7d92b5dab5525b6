// The completion dialog "DONEDLG": where Bramix went, and buttons that start it, open
// its help, its licence, its price list and its home page.
#include "setup_ui/setup_dialogs.h"
#include <shellapi.h>
#include "base/path.h"
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "driver/globals.h"
#include "lang/dialogs.h"
#include "lang/resources.h"
#include "resources/resource.h"

namespace {

const char kDoneDialogName[] = "DONEDLG";
const char kLicenseFile[] = "license.txt";
const char kPriceListFile[] = "order.txt";

// The current directory into out (kPathCapacity bytes); false, leaving out empty, when
// it cannot be read or does not fit.
bool CurrentFolder(char* out)
{
    DWORD n = GetCurrentDirectoryA(kPathCapacity, out);
    if (n == 0 || n >= kPathCapacity) {
        out[0] = '\0';
        return false;
    }
    return true;
}

// The named file in the current directory; false when the path would not fit, so that
// a cut path is never opened.
bool CurrentFolderFile(const char* name, char* out)
{
    return CurrentFolder(out) && AppendBackslash(out, kPathCapacity) && AppendText(out, kPathCapacity, name);
}

void OpenWithShell(const char* target)
{
    ShellExecuteA(NULL, "open", target, NULL, "", SW_SHOWNORMAL);
}

void StartBramix()
{
    char path[kPathCapacity];
    if (!CurrentFolderFile(PRODUCT_MAIN_PROGRAM, path)) return;
    // Quoted: a folder with blanks must not make the system try a shorter program name.
    char commandLine[kPathCapacity + 2];
    if (!FormatText(commandLine, sizeof commandLine, "\"%s\"", path)) return;
    LaunchProcess(commandLine, NULL, 0);
}

void OpenFolderFile(const char* name)
{
    char path[kPathCapacity];
    if (CurrentFolderFile(name, path)) OpenWithShell(path);
}

void InitDoneDialog(HWND dialog)
{
    SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)DialogIcon);
    SendDlgItemMessageA(dialog, IDC_DONE_THANKS, WM_SETFONT, (WPARAM)HeadingFont, FALSE);
    char folder[kPathCapacity];
    CurrentFolder(folder);
    SetDlgItemTextA(dialog, IDC_DONE_FOLDER, folder);
    if (SilentMode) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

} // namespace

INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CommonDialogMessage(dialog, wParam, message, false, 0, kDoneDialogName, lParam);
    switch (message) {
    case WM_INITDIALOG:
        InitDoneDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, 1); break;
        case IDC_DONE_RUN: StartBramix(); break;
        case IDC_DONE_HELP: WinHelpA(dialog, PRODUCT_HELP_FILE, HELP_FINDER, 0); break;
        case IDC_DONE_LICENSE: OpenFolderFile(kLicenseFile); break;
        case IDC_DONE_PRICES: OpenFolderFile(kPriceListFile); break;
        case IDC_DONE_HOMEPAGE: OpenWithShell(GetString(IDS_HOME_PAGE)); break;
        default: break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}
