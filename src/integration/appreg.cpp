// The registrations that do not depend on the user's choices, and the fixed order in
// which set-up applies everything.
#include "integration/integration.h"
#include <shlobj.h>
#include <winver.h>
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

namespace {

// A string of the executable's own version resource ("ProductVersion", "CompanyName").
bool VersionString(const char* selfPath, const char* name, char* out, size_t capacity)
{
    out[0] = '\0';
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(selfPath, &ignored);
    if (!size) return false;
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block) return false;
    bool found = false;
    if (GetFileVersionInfoA(selfPath, 0, size, block)) {
        // The first translation the resource declares names the block of its strings.
        struct Translation {
            WORD language;
            WORD codePage;
        }* translation = nullptr;
        UINT length = 0;
        char query[128];
        char* text = nullptr;
        if (VerQueryValueA(block, "\\VarFileInfo\\Translation", (void**)&translation, &length) &&
            length >= sizeof *translation &&
            FormatText(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                       translation->codePage, name) &&
            VerQueryValueA(block, query, (void**)&text, &length) && text && length)
            found = CopyTextPart(out, capacity, text, length);
    }
    HeapFree(GetProcessHeap(), 0, block);
    return found;
}

} // namespace

unsigned long long FolderSize(const char* folder)
{
    char pattern[kPathCapacity];
    if (!CopyText(pattern, sizeof pattern, folder) || !AppendBackslash(pattern, sizeof pattern) ||
        !AppendText(pattern, sizeof pattern, "*"))
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long long total = 0;
    do {
        const char* name = found.cFileName;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A linked folder belongs to someone else: it is not counted.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            char sub[kPathCapacity];
            char* namePart = pattern + TextLength(pattern) - 1;  // the "*"
            if (CopyTextPart(sub, sizeof sub, pattern, (size_t)(namePart - pattern)) &&
                AppendText(sub, sizeof sub, name))
                total += FolderSize(sub);
        } else {
            total += ((unsigned long long)found.nFileSizeHigh << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

void RegisterUninstall()
{
    SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "DisplayName", GetString(IDS_DISPLAY_NAME));
    char selfPath[kPathCapacity];
    DWORD n = GetModuleFileNameA(NULL, selfPath, sizeof selfPath);
    // A cut path would name another file: nothing of the entry that needs it is written.
    if (n == 0 || n >= sizeof selfPath) return;
    // Started by that path alone, the program runs in uninstall mode.
    SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "UninstallString", selfPath);

    // What the system's list of installed programs and package managers read.
    char text[kPathCapacity + 32];
    if (FormatText(text, sizeof text, "\"%s\" /uninstall /s", selfPath))
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "QuietUninstallString", text);
    if (FormatText(text, sizeof text, "%s,0", selfPath))
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "DisplayIcon", text);
    if (VersionString(selfPath, "ProductVersion", text, sizeof text))
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "DisplayVersion", text);
    if (VersionString(selfPath, "CompanyName", text, sizeof text))
        SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "Publisher", text);
    char folder[kPathCapacity];
    CopyText(folder, sizeof folder, selfPath);
    char* name = NameOfPath(folder);
    // The folder without its final backslash, except for a drive root.
    if (name > folder + 1 && name[-1] == '\\' && name[-2] != ':') --name;
    *name = '\0';
    SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "InstallLocation", folder);
    unsigned long long kib = (FolderSize(folder) + 1023) / 1024;
    SetRegDword(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "EstimatedSize", kib > 0xFFFFFFFFull ? 0xFFFFFFFFu : (DWORD)kib);
    SetRegDword(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "NoModify", 1);
    SetRegDword(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "NoRepair", 1);
    SetRegString(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, "URLInfoAbout", GetString(IDS_HOME_PAGE));
}

void ApplySetup(const SetupOptions* options, char* groupPathOut)
{
    RegisterAppPath();
    SetShellExtension(options);
    SetAssociations(options);
    RegisterFileTypes();
    SetShortcuts(options, groupPathOut);
}
