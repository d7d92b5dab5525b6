// Replaces one imported function of this executable for as long as the object lives, so
// that a test can see calls that would otherwise start another program (the help engine).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return slot_ != nullptr; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// The help engine as the dialogs call it: RecordHelp stands in for WinHelpA and keeps
// every call in g_helpCalls.
struct HelpCall {
    HWND owner;
    std::string file;
    UINT command;
    ULONG_PTR data;
};
extern std::vector<HelpCall> g_helpCalls;
BOOL WINAPI RecordHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
