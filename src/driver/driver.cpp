#include "driver/driver.h"
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "driver/globals.h"
#include "driver/switches.h"
#include "lang/language.h"
#include "lang/resources.h"
#include "resources/resource.h"
#include "setup_ui/setup_dialogs.h"
#include "uninstall/uninstall.h"
#include <ole2.h>
#include <shellapi.h>

namespace {

// A DLL named by its bare name is looked for in the program folder and the current
// directory before the system folder: restrict the search where the system allows it
// (SetDefaultDllDirectories: Windows 8, or 7 with KB2533623; absent on the 9x family).
void RestrictDllSearch()
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFn setDirs =
        kernel ? (SetDefaultDllDirectoriesFn)(void*)GetProcAddress(kernel, "SetDefaultDllDirectories")
               : nullptr;
    if (setDirs) setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

HMODULE LoadRichEdit()
{
    char path[kPathCapacity];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path) return NULL;
    if (!AppendBackslash(path, sizeof path) || !AppendText(path, sizeof path, "riched32.dll"))
        return NULL;
    return LoadLibraryA(path);
}

void ShowWarning()
{
    char path[kPathCapacity];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    if (n >= sizeof path) n = 0;
    path[n] = '\0';
    char message[512];
    ComposeWarningMessage(message, sizeof message, path);
    MessageBoxA(NULL, message, GetString(IDS_UNINSTALL_CAPTION), MB_SETFOREGROUND | MB_ICONINFORMATION);
}

void RunSetup()
{
    // -1 means the dialog could not be made: that is no confirmed set-up.
    INT_PTR result = DialogBoxParamA(ResourceModule, "SETUPDLG", NULL, SetupDialogProc, 0);
    if (result <= 0) return;
    DialogBoxParamA(ResourceModule, "DONEDLG", NULL, DoneDialogProc, 0);
    if (ProgramGroupFolder[0])
        ShellExecuteA(NULL, "open", ProgramGroupFolder, NULL, "", SW_SHOWNORMAL);
}

} // namespace

void ComposeWarningMessage(char* message, size_t capacity, const char* programPath)
{
    // Both texts may come from a translation: they are data, never formats.
    CopyText(message, capacity, GetString(IDS_UNINSTALL_DONE));
    AppendText(message, capacity, "\n");
    size_t used = TextLength(message);
    InsertArgument(message + used, capacity - used, GetString(IDS_DELETE_MANUALLY), programPath);
}

int RunProgram(HINSTANCE instance, const char* commandTail)
{
    RestrictDllSearch();
    TheExtResource.Load(instance, nullptr);
    TheLanguage.LoadLanguageFile(PRODUCT_LANGUAGE_FILE);
    OleInitialize(NULL);
    HMODULE richEdit = LoadRichEdit();
    DialogIcon = LoadIconA(ResourceModule, "QYXICON");
    HeadingFont = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                              "MS Sans Serif");

    int exitCode = 0;
    switch (ParseSwitch(commandTail, &SilentMode)) {
    case SwitchUninstall: RunUninstall(); break;
    case SwitchUninstallCommand:
        // A quiet uninstall shows no box: its caller learns of a missing list this way.
        if (!RunUninstall() && SilentMode) exitCode = kExitNothingUninstalled;
        break;
    case SwitchSetup: RunSetup(); break;
    case SwitchWait: WaitForUninstallToEnd(); break;
    case SwitchWarning: ShowWarning(); break;
    case SwitchClean:
    case SwitchNothing: break;
    }

    if (richEdit) FreeLibrary(richEdit);
    OleUninitialize();
    DeleteObject(HeadingFont);
    return exitCode;
}
