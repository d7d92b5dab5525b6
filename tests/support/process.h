// Starting programs from tests.
#pragma once
#include <windows.h>
#include <string>

struct ProcessResult {
    bool started = false;
    bool finished = false;  // within the timeout
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
};

// Starts commandLine in workingFolder ("" for the current one); waits up to timeoutMs.
// A process still running at the timeout is terminated.
ProcessResult RunProcess(const std::string& commandLine, const std::string& workingFolder,
                         DWORD timeoutMs);

// Starts a process and returns its handle (NULL on failure); the caller closes it.
HANDLE StartProcess(const std::string& commandLine, const std::string& workingFolder);

// Waits for a process handle; terminates it at the timeout. Closes the handle.
ProcessResult FinishProcess(HANDLE process, DWORD timeoutMs);
