#include "support/sandbox.h"
#include <algorithm>
#include "base/text.h"
#include <vector>

namespace {

int g_sandboxCounter;

void DumpInto(HKEY key, const std::string& prefix, std::vector<std::string>& lines)
{
    char name[1024];
    BYTE data[65536];
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
        LONG rc = RegEnumValueA(key, i, name, &nameLen, NULL, &type, data, &dataLen);
        if (rc != ERROR_SUCCESS) break;
        std::string line = prefix + " [" + std::string(name, nameLen) + "] type " + std::to_string(type) + " =";
        char hex[4];
        for (DWORD j = 0; j < dataLen; ++j) {
            FormatText(hex, sizeof hex, " %02x", (unsigned)data[j]);
            line += hex;
        }
        lines.push_back(line);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name;
        FILETIME ft;
        if (RegEnumKeyExA(key, i, name, &nameLen, NULL, NULL, NULL, &ft) != ERROR_SUCCESS) break;
        std::string sub = prefix + "\\" + name;
        lines.push_back(sub);
        HKEY child;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            DumpInto(child, sub, lines);
            RegCloseKey(child);
        }
    }
}

} // namespace

RegistrySandbox::RegistrySandbox()
{
    // Opened before the override, so that it stays the real HKEY_CURRENT_USER.
    RegOpenKeyExA(HKEY_CURRENT_USER, NULL, 0, KEY_ALL_ACCESS, &realUser_);
    base_ = "Software\\BramixTestSandbox\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++g_sandboxCounter);
    const char* names[3] = {"HKCR", "HKCU", "HKLM"};
    const HKEY roots[3] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
    for (int i = 0; i < 3; ++i) {
        std::string path = base_ + "\\" + names[i];
        RegCreateKeyExA(realUser_, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &keys_[i], NULL);
    }
    for (int i = 0; i < 3; ++i) RegOverridePredefKey(roots[i], keys_[i]);
}

RegistrySandbox::~RegistrySandbox()
{
    const HKEY roots[3] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
    for (int i = 0; i < 3; ++i) {
        RegOverridePredefKey(roots[i], NULL);
        RegCloseKey(keys_[i]);
    }
    RegDeleteTreeA(realUser_, base_.c_str());
    RegCloseKey(realUser_);
}

HKEY RegistrySandbox::Scratch(HKEY root) const
{
    if (root == HKEY_CLASSES_ROOT) return keys_[0];
    if (root == HKEY_CURRENT_USER) return keys_[1];
    return keys_[2];
}

std::string RegistrySandbox::ScratchPath(HKEY root) const
{
    const char* name = root == HKEY_CLASSES_ROOT ? "HKCR" : root == HKEY_CURRENT_USER ? "HKCU" : "HKLM";
    return base_ + "\\" + name;
}

namespace {

void ListInto(HKEY key, const std::string& prefix, bool withKeys, std::vector<std::string>& lines)
{
    char name[1024];
    static BYTE data[65536];
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLen, NULL, &type, data, &dataLen) != ERROR_SUCCESS) break;
        std::string line = (prefix.empty() ? "" : prefix + " ") + "[" + std::string(name, nameLen) + "]";
        if (type == REG_SZ) {
            std::string text((const char*)data, dataLen);
            bool terminated = !text.empty() && text.back() == '\0';
            if (terminated) text.pop_back();
            line += " = " + text + (terminated ? "" : " <no terminator>");
        } else {
            line += " type " + std::to_string(type) + ":";
            char hex[4];
            for (DWORD j = 0; j < dataLen; ++j) {
                FormatText(hex, sizeof hex, " %02x", (unsigned)data[j]);
                line += hex;
            }
        }
        lines.push_back(line);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name;
        FILETIME ft;
        if (RegEnumKeyExA(key, i, name, &nameLen, NULL, NULL, NULL, &ft) != ERROR_SUCCESS) break;
        std::string sub = prefix.empty() ? std::string(name) : prefix + "\\" + name;
        if (withKeys) lines.push_back(sub);
        HKEY child;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            ListInto(child, sub, withKeys, lines);
            RegCloseKey(child);
        }
    }
}

} // namespace

std::vector<std::string> ListTree(HKEY root, const std::string& path, bool withKeys)
{
    std::vector<std::string> lines;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return lines;
    ListInto(key, "", withKeys, lines);
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string DumpKey(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    std::vector<std::string> lines;
    lines.push_back(path);
    DumpInto(key, path, lines);
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (auto& l : lines) out += l + "\n";
    return out;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
               std::string* data)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    static BYTE buffer[65536];
    DWORD size = sizeof buffer, t = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), NULL, &t, buffer, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    if (type) *type = t;
    if (data) data->assign((const char*)buffer, size);
    return true;
}

std::string ReadString(HKEY root, const std::string& path, const std::string& name)
{
    std::string data;
    DWORD type;
    if (!ReadValue(root, path, name, &type, &data)) return "<missing>";
    if (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

void WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL))
        << path;
    RegSetValueExA(key, name.c_str(), 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

void WriteString(HKEY root, const std::string& path, const std::string& name, const std::string& value)
{
    WriteRaw(root, path, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

void WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD value)
{
    WriteRaw(root, path, name, REG_DWORD, &value, 4);
}

void CreateKey(HKEY root, const std::string& path)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegCloseKey(key);
}

bool IsNtFamily()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
