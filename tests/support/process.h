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

// The uninstall.exe of this build (it lands beside the test programs).
std::string BuiltProgram();

// Makes Wine report a Windows version to every process started from an executable of
// that file name while the object lives ("win98", "winme", "winxp"...; null: this
// process's own family, win98 for a 9x-family test, else the prefix's default).
class ScopedWindowsVersion {
public:
    ScopedWindowsVersion(const std::string& exeName, const char* version);
    ~ScopedWindowsVersion();
    ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
    ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

private:
    std::string key_;
};

// Sets an environment variable of this process (and of the programs it starts) while the
// object lives, then restores it, or removes it if it was not set.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        char old[4096];
        DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
        had_ = n > 0 && n < sizeof old;
        if (had_) old_ = old;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : NULL); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool had_;
    std::string old_;
};
