// Every registry read, write and deletion of the program. Each call opens the key it
// needs and closes it before returning. Key paths under HKEY_CURRENT_USER are relative
// to the settings key "Software\Bramix" unless they begin with a backslash.
#pragma once
#include <windows.h>

// Maps a key path for the given root into out (capacity bytes). False when the result
// would not fit: the caller then refuses the operation rather than use a cut path.
bool ExpandKeyPath(HKEY root, const char* path, char* out, size_t capacity);

void SetRegString(HKEY root, const char* key, const char* name, const char* text);
void SetRegString(const char* key, const char* name, const char* text);
void SetRegDword(HKEY root, const char* key, const char* name, DWORD value);
void SetRegDword(const char* key, const char* name, DWORD value);
void SetRegBinary(HKEY root, const char* key, const char* name, const void* data, DWORD size);

// Reads a value into dest (size bytes); on any failure copies def and returns false.
// The result is always NUL-terminated within dest.
bool GetRegString(HKEY root, const char* key, const char* name, char* dest, const char* def, DWORD size);
bool GetRegString(const char* key, const char* name, char* dest, const char* def, DWORD size);
DWORD GetRegDword(HKEY root, const char* key, const char* name, DWORD def);
DWORD GetRegDword(const char* key, const char* name, DWORD def);
// Reads a value's bytes, whatever its type, into dest; *size is the capacity on entry and
// the count read on return. False, with *size 0, when the key or value is missing or the
// value is larger than the capacity.
bool GetRegBinary(HKEY root, const char* key, const char* name, void* dest, DWORD* size);

// Both deletions refuse a path that expands to "": that would name the root itself.
void DeleteRegKey(HKEY root, const char* key);
void DeleteRegTree(HKEY root, const char* key);
void DeleteRegValue(HKEY root, const char* key, const char* name);
bool RegKeyPresent(HKEY root, const char* key);
