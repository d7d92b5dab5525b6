// The set-up choices, the archive types and the context-menu items, and their
// persistence under the settings key.
#pragma once
#include <windows.h>

enum {
    kArchiveTypeCount = 12,
    kOptionDesktop = 20,
    kOptionStartMenu = 21,
    kOptionProgramGroup = 22,
    kOptionShellExt = 23,
    kOptionCascadedMenu = 24,
    kOptionMenuIcons = 25,
    kOptionCount = 26,
    kContextMenuItemCount = 9,
};

// 26 one-byte flags, 0 or 1: slots 0..11 archive types, 12..19 reserved, 20..25 interface.
struct SetupOptions {
    unsigned char Flags[kOptionCount];
};

struct ArchiveType {
    int CheckBoxId;
    const char* Label;
    const char* Extensions;      // ".lzh.lha": each extension with its dot
    const char* FirstExtension;  // names the settings key of "Set"
    bool SetSaved;
};
extern const ArchiveType ArchiveTypes[kArchiveTypeCount];

struct ContextMenuItem {
    int ControlId;
    const char* ValueName;
    const char* Label;
};
extern const ContextMenuItem ContextMenuItems[kContextMenuItemCount];
// Each item is a REG_DWORD under this settings key, 1 shown and 0 hidden.
extern const char ContextMenuItemsKey[];
enum { kContextMenuItemDefault = 1 };

bool IsOwnAssociation(const char* extension);
void LoadSetupOptions(SetupOptions* options);
void SaveSetupOptions(const SetupOptions* options);
void SetupOptionsToDialog(HWND dialog, const SetupOptions* options);
void SetupOptionsFromDialog(HWND dialog, SetupOptions* options);
void CheckAllArchiveTypes(HWND dialog);
