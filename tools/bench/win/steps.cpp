// The program's start-up steps without the program, each alone or all together, for
// finding where a start-up's time goes. Built once per step (see CMakeLists.txt), since
// what a program imports is part of its start-up.
//   STEP_WINDOWS  the dialog icon and the heading font (user32 and gdi32)
//   STEP_OLE      OleInitialize and OleUninitialize
//   STEP_RICHEDIT loading and freeing riched32.dll from the system folder
//   STEP_ALL      all of them, with the look-ups of the language module and file before
//                 them and the program's manifest
#include <windows.h>
#include <ole2.h>
#include <string.h>

#if defined(STEP_RICHEDIT) || defined(STEP_ALL)
namespace {

HMODULE LoadRichEdit()
{
    static const char kName[] = "\\riched32.dll";
    char path[MAX_PATH + sizeof kName];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return NULL;
    memcpy(path + n, kName, sizeof kName);  // n < MAX_PATH: the name and its NUL fit
    return LoadLibraryA(path);
}

} // namespace
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    (void)instance;
#if defined(STEP_ALL)
    // The language module and the language file beside the program: absent here, as in
    // the program's own start-up run.
    HMODULE module = LoadLibraryA("qyxlng.dll");
    if (module) FreeLibrary(module);
    HANDLE file = CreateFileA("uninstall.lng", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
#endif
#if defined(STEP_OLE) || defined(STEP_ALL)
    OleInitialize(NULL);
#endif
#if defined(STEP_RICHEDIT) || defined(STEP_ALL)
    HMODULE richEdit = LoadRichEdit();
#endif
#if defined(STEP_WINDOWS) || defined(STEP_ALL)
    HICON icon = LoadIconA(instance, "QYXICON");
    (void)icon;
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif");
#endif
#if defined(STEP_RICHEDIT) || defined(STEP_ALL)
    if (richEdit) FreeLibrary(richEdit);
#endif
#if defined(STEP_OLE) || defined(STEP_ALL)
    OleUninitialize();
#endif
#if defined(STEP_WINDOWS) || defined(STEP_ALL)
    DeleteObject(font);
#endif
    return 0;
}
