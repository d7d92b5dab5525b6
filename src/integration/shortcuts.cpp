// Links to the main program on the desktop and in the start menu, and the program
// groups, made through the shell's link object.
#include "integration/integration.h"
#include <shellapi.h>
#include <shlobj.h>
#include "base/path.h"
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "lang/resources.h"
#include "resources/resource.h"

namespace {

const char kLinkName[] = "Bramix.lnk";
const char kGroupName[] = "Bramix";
const char kDescription[] = "Bramix";
enum { kLinkPathCapacity = 260, kGroupEntryCount = 3 };

// The group's targets in the program folder; the link names come with the language.
const char* const kGroupTargets[kGroupEntryCount] = {PRODUCT_MAIN_PROGRAM, "Bramix.hlp", "Qyx.txt"};

// The path of a special folder into out (kPathCapacity bytes); false when the shell
// does not know it, in which case the step that needs it is skipped.
bool SpecialFolderPath(IMalloc* allocator, int csidl, char* out)
{
    out[0] = '\0';
    if (!allocator) return false;
    LPITEMIDLIST list = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, csidl, &list)) || !list) return false;
    BOOL found = SHGetPathFromIDListA(list, out);
    allocator->Free(list);
    if (!found) out[0] = '\0';
    return found && out[0];
}

// folder + '\' + name (+ extension); false when it does not fit, so that no cut path
// is ever created or deleted.
bool JoinPath(char* out, const char* folder, const char* name, const char* extension)
{
    return CopyText(out, kPathCapacity, folder) && AppendBackslash(out, kPathCapacity) &&
           AppendText(out, kPathCapacity, name) && (!extension || AppendText(out, kPathCapacity, extension));
}

void SetSingleLink(IMalloc* allocator, int csidl, bool wanted, const char* programPath)
{
    char folder[kPathCapacity];
    char linkPath[kPathCapacity];
    if (!SpecialFolderPath(allocator, csidl, folder)) return;
    if (!JoinPath(linkPath, folder, kLinkName, nullptr)) return;
    if (wanted) {
        if (programPath[0]) CreateShortcut(programPath, linkPath, kDescription, nullptr, nullptr);
    } else {
        DeleteFileA(linkPath);
    }
}

// groupPath has room for kPathCapacity bytes plus the spare byte DeleteFolderTree needs.
void SetGroup(char* groupPath, bool wanted, const char* programPath, const char* const* linkNames)
{
    if (!wanted) {
        DeleteFolderTree(groupPath);
        return;
    }
    CreateDirectoryA(groupPath, NULL);
    if (!programPath[0]) return;
    for (int i = 0; i < kGroupEntryCount; ++i) {
        if (!kGroupTargets[i][0]) continue;
        // A link name comes from a translation: it must not lead out of the group.
        if (!IsPlainFileName(linkNames[i])) continue;
        char linkPath[kPathCapacity];
        char targetPath[kPathCapacity];
        if (!JoinPath(linkPath, groupPath, linkNames[i], ".lnk")) continue;
        CopyText(targetPath, sizeof targetPath, programPath);
        char* name = NameOfPath(targetPath);
        if (!CopyText(name, sizeof targetPath - (size_t)(name - targetPath), kGroupTargets[i])) continue;
        CreateShortcut(targetPath, linkPath, kDescription, nullptr, nullptr);
    }
}

} // namespace

void SetShortcuts(const SetupOptions* options, char* groupPathOut)
{
    IMalloc* allocator = NULL;
    if (FAILED(SHGetMalloc(&allocator))) allocator = NULL;

    char programPath[kPathCapacity];
    ModuleSiblingPath(PRODUCT_MAIN_PROGRAM, programPath);

    SetSingleLink(allocator, CSIDL_DESKTOPDIRECTORY, options->Flags[kOptionDesktop] != 0, programPath);
    SetSingleLink(allocator, CSIDL_STARTMENU, options->Flags[kOptionStartMenu] != 0, programPath);

    // Copied: GetString's results last only for a few further calls.
    char linkNames[kGroupEntryCount][kStringCapacity];
    CopyText(linkNames[0], kStringCapacity, "Bramix");
    CopyText(linkNames[1], kStringCapacity, GetString(IDS_HELP_LINK));
    CopyText(linkNames[2], kStringCapacity, GetString(IDS_MANUAL_LINK));
    const char* const names[kGroupEntryCount] = {linkNames[0], linkNames[1], linkNames[2]};

    const bool groupWanted = options->Flags[kOptionProgramGroup] != 0;
    char folder[kPathCapacity];
    char groupPath[kPathCapacity + 1];
    if (SpecialFolderPath(allocator, CSIDL_PROGRAMS, folder) && JoinPath(groupPath, folder, kGroupName, nullptr)) {
        if (groupWanted && groupPathOut) CopyText(groupPathOut, kPathCapacity, groupPath);
        SetGroup(groupPath, groupWanted, programPath, names);
    }
    // The 9x family has no programs folder shared by all users.
    if (WinNtMajorVersion() != 0 && SpecialFolderPath(allocator, CSIDL_COMMON_PROGRAMS, folder) &&
        JoinPath(groupPath, folder, kGroupName, nullptr))
        SetGroup(groupPath, groupWanted, programPath, names);

    if (allocator) allocator->Release();
}

bool CreateShortcut(const char* target, const char* linkFile, const char* description, const char* iconFile,
                    const char* arguments)
{
    IShellLinkA* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)) ||
        !link)
        return false;
    link->SetPath(target);
    link->SetDescription(description);
    if (iconFile) link->SetIconLocation(iconFile, 0);
    if (arguments) link->SetArguments(arguments);
    IPersistFile* file = NULL;
    if (FAILED(link->QueryInterface(IID_IPersistFile, (void**)&file)) || !file) {
        link->Release();
        return false;
    }
    bool saved = false;
    WCHAR widePath[kLinkPathCapacity];
    // A path that does not fit is not saved under a cut name.
    if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, widePath, kLinkPathCapacity) != 0)
        saved = SUCCEEDED(file->Save(widePath, TRUE));
    file->Release();
    link->Release();
    return saved;
}

bool DeleteFolderTree(char* path)
{
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return false;
    // The shell's file operation takes a list of names ended by an empty one.
    path[TextLength(path) + 1] = '\0';
    SHFILEOPSTRUCTA operation;
    ZeroMemory(&operation, sizeof operation);
    operation.wFunc = FO_DELETE;
    operation.pFrom = path;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    return SHFileOperationA(&operation) == 0;
}
