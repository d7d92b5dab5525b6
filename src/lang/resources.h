// The resource module (the executable or the language module "qyxlng.dll") and the
// strings every part of the program shows.
#pragma once
#include <windows.h>

extern HMODULE ProgramModule;   // the running executable
extern HMODULE ResourceModule;  // dialogs, the icon and (without a language file) strings

class ExtResource {
public:
    bool Loaded;

    ExtResource();
    ~ExtResource();
    // path: null for the program folder, else any path whose name part is replaced.
    void Load(HMODULE programModule, const char* path);
    void Unload();
};

extern ExtResource TheExtResource;

enum { kStringCapacity = 256 };

// The string with that id, translated; valid until eight further calls.
const char* GetString(UINT id);
