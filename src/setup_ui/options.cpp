#include "setup_ui/options.h"
#include "base/product.h"
#include "base/text.h"
#include "registry/registry.h"
#include "resources/resource.h"

const ArchiveType ArchiveTypes[kArchiveTypeCount] = {
    {5101, "&QYX", ".qyx", ".qyx", true},
    {5102, "&ZIP", ".zip", ".zip", true},
    {5103, "CAB", ".cab", ".cab", true},
    {5104, "ARJ", ".arj", ".arj", true},
    {5105, "LZH", ".lzh.lha", ".lzh", true},
    {5106, "ACE", ".ace", ".ace", true},
    {5107, "TAR", ".tar", ".tar", true},
    {5108, "GZip", ".gz.tgz", ".gz", true},
    {5109, "UUE", ".uue.xxe.uu", ".uue", true},
    {5110, "BZ2", ".bz2.tbz2.bz.tbz", ".bz2", true},
    {5111, "JAR", ".jar", ".jar", true},
    {5112, "ISO", ".iso", ".iso", false},
};

const ContextMenuItem ContextMenuItems[kContextMenuItemCount] = {
    {101, "ExtrTo", "Extr&act files..."},
    {102, "ExtrHere", "E&xtract Here"},
    {103, "Extr", "&Extract to <folder>"},
    {104, "ExtrSep", "Extract each archive to &separate folder"},
    {105, "OpenSFX", "Open with Bramix (for SFX archives)"},
    {106, "AddTo", "&Add to archive..."},
    {107, "AddArc", "Add &to <archive name>"},
    {108, "EmailArc", "Compress to <archive name> and email"},
    {109, "EmailOpt", "Compress and email..."},
};

const char ContextMenuItemsKey[] = "Setup\\MenuItems";

namespace {

// The interface choices, slots 20 to 25, in the order they are loaded and saved.
const struct {
    int slot;
    const char* key;
    const char* name;
    DWORD def;
} kInterfaceOptions[] = {
    {kOptionDesktop, "Setup\\Links", "Desktop", 0},
    {kOptionStartMenu, "Setup\\Links", "StartMenu", 0},
    {kOptionProgramGroup, "Setup\\Links", "Programs", 1},
    {kOptionShellExt, "Setup", "ShellExt", 1},
    {kOptionCascadedMenu, "Setup", "CascadedMenu", 0},
    {kOptionMenuIcons, "Setup", "MenuIcons", 1},
};

enum { kTypeNameCapacity = 80 };

void TypeSettingsKey(char* out, size_t capacity, const char* extension)
{
    FormatText(out, capacity, "Setup\\%s", extension);
}

} // namespace

bool IsOwnAssociation(const char* extension)
{
    char type[kTypeNameCapacity];
    GetRegString(HKEY_CLASSES_ROOT, extension, "", type, "", sizeof type);
    return EqualTextNoCaseAscii(type, PRODUCT_FILE_TYPE) || EqualTextNoCaseAscii(type, PRODUCT_ZIP_TYPE);
}

void LoadSetupOptions(SetupOptions* options)
{
    char key[64];
    for (int i = 0; i < kArchiveTypeCount; ++i) {
        TypeSettingsKey(key, sizeof key, ArchiveTypes[i].FirstExtension);
        options->Flags[i] = GetRegDword(key, "Set", 1) != 0;
    }
    // ISO starts unchecked when another program owns ".iso".
    if (!IsOwnAssociation(".iso")) {
        char type[kTypeNameCapacity];
        GetRegString(HKEY_CLASSES_ROOT, ".iso", "", type, "", sizeof type);
        if (type[0]) options->Flags[11] = 0;
    }
    for (const auto& o : kInterfaceOptions) options->Flags[o.slot] = GetRegDword(o.key, o.name, o.def) != 0;
}

void SaveSetupOptions(const SetupOptions* options)
{
    char key[64];
    for (int i = 0; i < kArchiveTypeCount; ++i) {
        if (!ArchiveTypes[i].SetSaved) continue;
        TypeSettingsKey(key, sizeof key, ArchiveTypes[i].FirstExtension);
        SetRegDword(key, "Set", options->Flags[i] ? 1 : 0);
    }
    for (const auto& o : kInterfaceOptions) SetRegDword(o.key, o.name, options->Flags[o.slot] ? 1 : 0);
}

void SetupOptionsFromDialog(HWND dialog, SetupOptions* options)
{
    for (int i = 0; i < kArchiveTypeCount; ++i)
        options->Flags[i] = IsDlgButtonChecked(dialog, IDC_SETUP_TYPE_FIRST + i) != BST_UNCHECKED;
    for (int k = 0; k < 6; ++k)
        options->Flags[kOptionDesktop + k] = IsDlgButtonChecked(dialog, IDC_SETUP_DESKTOP + k) != BST_UNCHECKED;
}

void SetupOptionsToDialog(HWND dialog, const SetupOptions* options)
{
    for (int i = 0; i < kArchiveTypeCount; ++i)
        CheckDlgButton(dialog, IDC_SETUP_TYPE_FIRST + i, options->Flags[i] ? BST_CHECKED : BST_UNCHECKED);
    for (int k = 0; k < 6; ++k)
        CheckDlgButton(dialog, IDC_SETUP_DESKTOP + k,
                       options->Flags[kOptionDesktop + k] ? BST_CHECKED : BST_UNCHECKED);
    BOOL shell = options->Flags[kOptionShellExt] != 0;
    EnableWindow(GetDlgItem(dialog, IDC_SETUP_CASCADED), shell);
    EnableWindow(GetDlgItem(dialog, IDC_SETUP_MENUICONS), shell);
}

void CheckAllArchiveTypes(HWND dialog)
{
    for (int i = 0; i < kArchiveTypeCount; ++i) CheckDlgButton(dialog, IDC_SETUP_TYPE_FIRST + i, BST_CHECKED);
}
