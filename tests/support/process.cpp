#include "support/process.h"
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
