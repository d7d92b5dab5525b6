// Stands in for the command interpreter (COMSPEC) in the uninstall tests. It notes its
// command line in the file named by BRAMIX_SHIM_LOG, then runs the system's cmd.exe with
// "/v:on" in front of its own switches: as if the user's settings turned delayed expansion
// on, which only a later "/v:off" undoes.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

int main()
{
    const char* line = GetCommandLineA();
    if (const char* log = getenv("BRAMIX_SHIM_LOG")) {
        if (FILE* f = fopen(log, "ab")) {
            fprintf(f, "%s\n", line);
            fclose(f);
        }
    }
    // The tail after the program's own name.
    const char* tail = line;
    if (*tail == '"') {
        ++tail;
        while (*tail && *tail != '"') ++tail;
        if (*tail) ++tail;
    } else {
        while (*tail && *tail != ' ' && *tail != '\t') ++tail;
    }
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    std::string command = std::string(system) + "\\cmd.exe /v:on" + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) return 9;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return (int)code;
}
