// The set-up dialog "SETUPDLG" and the context-menu items dialog "CONTEXTITEMS".
#include "setup_ui/setup_dialogs.h"
#include <richedit.h>
#include "driver/globals.h"
#include "integration/integration.h"
#include "lang/dialogs.h"
#include "lang/resources.h"
#include "registry/registry.h"
#include "resources/resource.h"
#include "setup_ui/options.h"

namespace {

const char kSetupDialogName[] = "SETUPDLG";
const char kContextItemsDialogName[] = "CONTEXTITEMS";
const char kMenuItemsKey[] = "Setup\\MenuItems";
enum { kSetupHelpContext = 268, kContextItemsHelpContext = 310 };

void InitSetupDialog(HWND dialog)
{
    SetupOptions options = {};
    LoadSetupOptions(&options);
    SetupOptionsToDialog(dialog, &options);
    SetForegroundWindow(dialog);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)DialogIcon);
    SendDlgItemMessageA(dialog, IDC_SETUP_EXPLANATION, EM_SETBKGNDCOLOR, 0, (LPARAM)GetSysColor(COLOR_BTNFACE));
    // Sent, not posted: the whole OK processing, ending the dialog included, is done
    // before the dialog would first be shown.
    if (SilentMode) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void ConfirmSetup(HWND dialog)
{
    // Saved before anything is applied, so that the choices survive a failed step.
    SetupOptions options = {};
    SetupOptionsFromDialog(dialog, &options);
    SaveSetupOptions(&options);
    ApplySetup(&options, ProgramGroupFolder);
    RegisterUninstall();
    EndDialog(dialog, 1);
}

void InitContextItems(HWND dialog)
{
    for (const ContextMenuItem& item : ContextMenuItems) {
        // Any non-zero value is "shown", like every other stored choice.
        bool shown = GetRegDword(kMenuItemsKey, item.ValueName, 1) != 0;
        CheckDlgButton(dialog, item.ControlId, shown ? BST_CHECKED : BST_UNCHECKED);
    }
}

void SaveContextItems(HWND dialog)
{
    for (const ContextMenuItem& item : ContextMenuItems)
        SetRegDword(kMenuItemsKey, item.ValueName,
                    IsDlgButtonChecked(dialog, item.ControlId) != BST_UNCHECKED ? 1 : 0);
}

} // namespace

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CommonDialogMessage(dialog, wParam, message, false, kSetupHelpContext, kSetupDialogName, lParam);
    switch (message) {
    case WM_INITDIALOG:
        InitSetupDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: ConfirmSetup(dialog); break;
        case IDCANCEL: EndDialog(dialog, 0); break;
        case IDC_SETUP_SHELLEXT: {
            // Round trip through a record: the dependent boxes follow the shell box.
            SetupOptions scratch = {};
            SetupOptionsFromDialog(dialog, &scratch);
            SetupOptionsToDialog(dialog, &scratch);
            break;
        }
        case IDC_SETUP_SELECTALL: CheckAllArchiveTypes(dialog); break;
        case IDC_SETUP_CONTEXTITEMS:
            DialogBoxParamA(ResourceModule, kContextItemsDialogName, dialog, ContextItemsDialogProc, 0);
            break;
        default: break;  // the Help button's help is already open
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CommonDialogMessage(dialog, wParam, message, false, kContextItemsHelpContext, kContextItemsDialogName,
                        lParam);
    switch (message) {
    case WM_HELP:
        // Handled here, so that the owner does not open its own topic as well.
        return TRUE;
    case WM_INITDIALOG:
        InitContextItems(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            SaveContextItems(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
