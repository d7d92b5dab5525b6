// A registry sandbox per test: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE are redirected into fresh scratch keys of this process, and
// everything is undone and deleted when the sandbox ends.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // The real key that stands in for root (HKEY_CLASSES_ROOT and so on).
    HKEY Scratch(HKEY root) const;
    // Its path below the real HKEY_CURRENT_USER, for a child process to redirect to.
    std::string ScratchPath(HKEY root) const;

private:
    std::string base_;
    HKEY realUser_ = NULL;
    HKEY keys_[3] = {NULL, NULL, NULL};
};

// A fixture for tests that touch the registry.
class SandboxedTest : public ::testing::Test {
protected:
    RegistrySandbox sandbox_;
};

// A text listing of a key tree: every subkey path and value (name, type, data in hex),
// sorted, so that whole trees can be compared. "" when the key does not exist.
std::string DumpKey(HKEY root, const std::string& path);

bool KeyExists(HKEY root, const std::string& path);
// The value as stored; nullopt-like: returns false when it is missing.
bool ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
               std::string* data);
std::string ReadString(HKEY root, const std::string& path, const std::string& name);
void WriteString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
void WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const void* data, DWORD size);
void CreateKey(HKEY root, const std::string& path);

// Windows version family of this process, as the prefix reports it.
bool IsNtFamily();

// Every key and value of a tree, one line each, sorted, paths relative to root\path:
// "Sub\Key" for a key, "Sub\Key [name] = text" for a REG_SZ value (its terminator
// dropped; "<no terminator>" noted), "Sub\Key [name] type N: hex" for other types.
// withKeys false lists the values only. Empty when the key does not exist.
std::vector<std::string> ListTree(HKEY root, const std::string& path, bool withKeys = true);
