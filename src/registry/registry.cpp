#include "registry/registry.h"
#include "base/system.h"
#include "base/text.h"
#include "registry/keypath.h"

namespace {

enum { kKeyPathCapacity = 256, kTreePathCapacity = 200, kSubkeyNameCapacity = 200, kComposedCapacity = 512 };

// Deletions made by the current pass of DeleteRegTree, at any depth.
int g_deletedKeys;

HKEY CreateRegKeyForWrite(HKEY root, const char* path)
{
    char expanded[kKeyPathCapacity];
    if (!ExpandKeyPath(root, path, expanded, sizeof expanded)) return NULL;
    HKEY key = NULL;
    if (RegCreateKeyExA(root, expanded, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return NULL;
    return key;
}

HKEY OpenRegKeyForRead(HKEY root, const char* path)
{
    char expanded[kKeyPathCapacity];
    if (!ExpandKeyPath(root, path, expanded, sizeof expanded)) return NULL;
    HKEY key = NULL;
    if (RegOpenKeyExA(root, expanded, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
        return NULL;
    return key;
}

void CloseRegKey(HKEY key)
{
    if (key) RegCloseKey(key);
}

void SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = CreateRegKeyForWrite(root, path);
    if (!key) return;
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    CloseRegKey(key);
}

bool QueryValue(HKEY root, const char* path, const char* name, void* dest, DWORD* size, DWORD* type)
{
    HKEY key = OpenRegKeyForRead(root, path);
    if (!key) return false;
    LONG rc = RegQueryValueExA(key, name, NULL, type, (BYTE*)dest, size);
    CloseRegKey(key);
    return rc == ERROR_SUCCESS;
}

bool GetRegDwordInner(HKEY root, const char* path, const char* name, DWORD* value)
{
    // Zero-filled, so that a shorter stored value reads as its bytes followed by zeros.
    DWORD data = 0;
    DWORD size = sizeof data;
    if (!QueryValue(root, path, name, &data, &size, NULL)) return false;
    *value = data;
    return true;
}

void DeleteRegTreePass(HKEY root, const char* path)
{
    if (!path[0]) return;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    char name[kSubkeyNameCapacity];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        FILETIME lastWrite;
        if (RegEnumKeyExA(key, index, name, &nameLength, NULL, NULL, NULL, &lastWrite) != ERROR_SUCCESS)
            break;
        char composed[kComposedCapacity];
        // A path too long to compose is left alone, never cut into another key's name.
        if (FormatText(composed, sizeof composed, "%s\\%s", path, name)) DeleteRegTreePass(root, composed);
    }
    RegCloseKey(key);
    if (RegDeleteKeyA(root, path) == ERROR_SUCCESS) ++g_deletedKeys;
}

} // namespace

bool ExpandKeyPath(HKEY root, const char* path, char* out, size_t capacity)
{
    return ExpandSettingsPath(root == HKEY_CURRENT_USER, path, out, capacity);
}

void SetRegString(HKEY root, const char* key, const char* name, const char* text)
{
    SetValue(root, key, name, REG_SZ, text, (DWORD)TextLength(text) + 1);
}

void SetRegString(const char* key, const char* name, const char* text)
{
    SetRegString(HKEY_CURRENT_USER, key, name, text);
}

void SetRegDword(HKEY root, const char* key, const char* name, DWORD value)
{
    SetValue(root, key, name, REG_DWORD, &value, sizeof value);
}

void SetRegDword(const char* key, const char* name, DWORD value)
{
    SetRegDword(HKEY_CURRENT_USER, key, name, value);
}

void SetRegBinary(HKEY root, const char* key, const char* name, const void* data, DWORD size)
{
    SetValue(root, key, name, REG_BINARY, data, size);
}

bool GetRegString(HKEY root, const char* key, const char* name, char* dest, const char* def, DWORD size)
{
    if (size == 0) return false;
    DWORD got = size;
    if (QueryValue(root, key, name, dest, &got, NULL) && got <= size) {
        // A value stored without its terminator, or one that fills the buffer exactly
        // without one, must still end within the buffer: a value that leaves no room for
        // a terminator of its own is refused rather than cut.
        if (got > 0 && dest[got - 1] == '\0') return true;
        if (got < size) {
            dest[got] = '\0';
            return true;
        }
    }
    CopyText(dest, size, def);
    return false;
}

bool GetRegString(const char* key, const char* name, char* dest, const char* def, DWORD size)
{
    return GetRegString(HKEY_CURRENT_USER, key, name, dest, def, size);
}

DWORD GetRegDword(HKEY root, const char* key, const char* name, DWORD def)
{
    DWORD value;
    return GetRegDwordInner(root, key, name, &value) ? value : def;
}

DWORD GetRegDword(const char* key, const char* name, DWORD def)
{
    return GetRegDword(HKEY_CURRENT_USER, key, name, def);
}

bool GetRegBinary(HKEY root, const char* key, const char* name, void* dest, DWORD* size)
{
    DWORD got = *size;
    bool ok = QueryValue(root, key, name, dest, &got, NULL) && got <= *size;
    *size = ok ? got : 0;
    return ok;
}

void DeleteRegKey(HKEY root, const char* key)
{
    char expanded[kKeyPathCapacity];
    if (!ExpandKeyPath(root, key, expanded, sizeof expanded) || !expanded[0]) return;
    RegDeleteKeyA(root, expanded);
}

void DeleteRegValue(HKEY root, const char* key, const char* name)
{
    char expanded[kKeyPathCapacity];
    if (!ExpandKeyPath(root, key, expanded, sizeof expanded)) return;
    HKEY handle;
    if (RegOpenKeyExA(root, expanded, 0, KEY_WRITE, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name);
    RegCloseKey(handle);
}

bool RegKeyPresent(HKEY root, const char* key)
{
    char expanded[kKeyPathCapacity];
    if (!ExpandKeyPath(root, key, expanded, sizeof expanded)) return false;
    HKEY handle;
    if (RegOpenKeyExA(root, expanded, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

void DeleteRegTree(HKEY root, const char* key)
{
    char expanded[kTreePathCapacity];
    if (!ExpandKeyPath(root, key, expanded, sizeof expanded) || !expanded[0]) return;
    // The 9x family deletes a key with all its subkeys in one call.
    if (WinNtMajorVersion() == 0 && RegDeleteKeyA(root, expanded) == ERROR_SUCCESS) return;
    do {
        g_deletedKeys = 0;
        DeleteRegTreePass(root, expanded);
    } while (g_deletedKeys != 0);
}
