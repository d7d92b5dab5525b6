// The registrations that do not depend on the user's choices, and the fixed order in
// which set-up applies everything.
#include "integration/integration.h"
#include <shlobj.h>
#include "base/path.h"
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "lang/resources.h"
#include "registry/registry.h"
#include "resources/resource.h"

void RegisterAppPath()
{
    char programPath[kPathCapacity];
    if (ModuleSiblingPath(PRODUCT_MAIN_PROGRAM, programPath))
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_APP_PATHS_KEY, "", programPath);
    // Set-up runs in the installation folder, which need not be the executable's.
    char folder[kPathCapacity];
    DWORD n = GetCurrentDirectoryA(sizeof folder, folder);
    if (n > 0 && n < sizeof folder) SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_APP_PATHS_KEY, "Path", folder);
}

void RegisterFileTypes()
{
    char programPath[kPathCapacity];
    char command[kPathCapacity];
    char icon0[kPathCapacity];
    char icon1[kPathCapacity];
    // Entries that would name a cut or missing program path are not written at all.
    bool havePath = ModuleSiblingPath(PRODUCT_MAIN_PROGRAM, programPath);
    bool haveCommand = havePath && FormatText(command, sizeof command, "\"%s\" \"%%1\"", programPath);
    bool haveIcon0 = havePath && FormatText(icon0, sizeof icon0, "%s,0", programPath);
    bool haveIcon1 = havePath && FormatText(icon1, sizeof icon1, "%s,1", programPath);

    const struct {
        const char* key;
        const char* data;
        bool ready;
    } entries[] = {
        {PRODUCT_FILE_TYPE, GetString(IDS_TYPE_ARCHIVE), true},
        {PRODUCT_FILE_TYPE "\\shell\\open\\command", command, haveCommand},
        {PRODUCT_FILE_TYPE "\\DefaultIcon", icon0, haveIcon0},
        {PRODUCT_ZIP_TYPE, GetString(IDS_TYPE_ZIP), true},
        {PRODUCT_ZIP_TYPE "\\shell\\open\\command", command, haveCommand},
        {PRODUCT_ZIP_TYPE "\\DefaultIcon", icon0, haveIcon0},
        {".rev", PRODUCT_REV_TYPE, true},
        {PRODUCT_REV_TYPE, GetString(IDS_TYPE_REV), true},
        {PRODUCT_REV_TYPE "\\shell\\open\\command", command, haveCommand},
        {PRODUCT_REV_TYPE "\\DefaultIcon", icon1, haveIcon1},
    };
    for (const auto& entry : entries)
        if (entry.ready) SetRegString(HKEY_CLASSES_ROOT, entry.key, "", entry.data);

    // Also covers the extensions that the association step has just written.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, NULL, NULL);
}

void RegisterUninstall()
{
    SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "DisplayName", GetString(IDS_DISPLAY_NAME));
    char selfPath[kPathCapacity];
    DWORD n = GetModuleFileNameA(NULL, selfPath, sizeof selfPath);
    // Started by that path alone, the program runs in uninstall mode.
    if (n > 0 && n < sizeof selfPath)
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "UninstallString", selfPath);
}

void ApplySetup(const SetupOptions* options, char* groupPathOut)
{
    RegisterAppPath();
    SetShellExtension(options);
    SetAssociations(options);
    RegisterFileTypes();
    SetShortcuts(options, groupPathOut);
}
