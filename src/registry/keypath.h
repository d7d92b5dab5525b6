// Mapping of key paths onto the settings key; byte-level, no windows.h here.
#pragma once
#include <stddef.h>

// Under HKEY_CURRENT_USER (currentUser true) a path is relative to "Software\Bramix"
// unless it begins with a backslash; under other roots it stays as it is. Returns false,
// leaving out empty, when the result would not fit capacity bytes.
bool ExpandSettingsPath(bool currentUser, const char* path, char* out, size_t capacity);
