#include "support/process.h"
#include <string.h>
#include <vector>

HANDLE StartProcess(const std::string& commandLine, const std::string& workingFolder)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL,
                        workingFolder.empty() ? NULL : workingFolder.c_str(), &startup, &info))
        return NULL;
    CloseHandle(info.hThread);
    return info.hProcess;
}

ProcessResult FinishProcess(HANDLE process, DWORD timeoutMs)
{
    ProcessResult r;
    if (!process) return r;
    r.started = true;
    DWORD start = GetTickCount();
    r.finished = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    r.elapsedMs = GetTickCount() - start;
    if (!r.finished) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    GetExitCodeProcess(process, &r.exitCode);
    CloseHandle(process);
    return r;
}

ProcessResult RunProcess(const std::string& commandLine, const std::string& workingFolder,
                         DWORD timeoutMs)
{
    return FinishProcess(StartProcess(commandLine, workingFolder), timeoutMs);
}

std::string BuiltProgram()
{
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\')) + "\\uninstall.exe";
}

ScopedWindowsVersion::ScopedWindowsVersion(const std::string& exeName, const char* version)
    : key_("Software\\Wine\\AppDefaults\\" + exeName)
{
    if (!version) {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
        GetVersionExA(&info);
        if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) version = info.dwMinorVersion >= 90 ? "winme" : "win98";
    }
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
        ERROR_SUCCESS) {
        if (version)
            RegSetValueExA(key, "Version", 0, REG_SZ, (const BYTE*)version, (DWORD)strlen(version) + 1);
        else
            RegDeleteValueA(key, "Version");
        RegCloseKey(key);
    }
}

ScopedWindowsVersion::~ScopedWindowsVersion()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
}
