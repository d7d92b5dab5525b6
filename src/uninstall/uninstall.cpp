#include "uninstall/uninstall.h"
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "base/path.h"
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "driver/globals.h"
#include "integration/integration.h"
#include "lang/resources.h"
#include "registry/registry.h"
#include "resources/resource.h"
#include "setup_ui/options.h"
#include "uninstall/listfile.h"
#include "uninstall/script_text.h"

const char kUninstallRunningName[] = "Bramix uninstall running";

namespace {

const char kListFileName[] = "Uninstall.lst";
const char* const kHelpIndexFiles[] = {"bramix.gid", "bramix.fts"};

enum { kMessageCapacity = 200 };

bool JoinPath(char* out, const char* folder, const char* name)
{
    return CopyText(out, kPathCapacity, folder) && AppendText(out, kPathCapacity, name);
}

// True when some folder between the program folder and the entry's own name is a junction
// or a symbolic link: whatever lies behind it is not the program's to delete.
bool PassesThroughLink(char* fullPath, size_t folderLength)
{
    for (char* p = fullPath + folderLength; *p; p = NextChar(p)) {
        if (*p != '\\') continue;
        *p = '\0';
        DWORD attributes = GetFileAttributesA(fullPath);
        *p = '\\';
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    }
    return false;
}

// A listed entry that is itself a link goes as a link. That is only safe where the system
// opens the link itself rather than its target; where it would follow the link (as Wine
// does), the link is left alone, and so is everything behind it. Its attributes are not
// cleared either: that, too, could reach the target.
bool RemoveLink(const char* path, DWORD attributes)
{
    HANDLE link = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (link == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool isLink = GetFileInformationByHandle(link, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    CloseHandle(link);
    if (!isLink) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path) != FALSE;
    return DeleteFileA(path) != FALSE;
}

// The full path of a listed entry, as the system reads it, into full (kPathCapacity
// bytes); false for an entry that could name anything outside the program folder. folder
// is the program folder as a full path ending in a backslash.
bool ResolveEntryPath(const char* folder, const char* entry, char* full)
{
    if (!IsRelativeEntry(entry)) return false;
    char joined[kPathCapacity];
    if (!JoinPath(joined, folder, entry)) return false;
    // The system's own reading of the path decides where it lies, not its text.
    char* namePart;
    DWORD n = GetFullPathNameA(joined, kPathCapacity, full, &namePart);
    if (n == 0 || n >= kPathCapacity) return false;
    return LiesBelowFolder(full, folder);
}

// A folder that a pass found missing, as a full path without its final backslash: nothing
// below it can be there, and looking for it again would cost as much as the first time
// (where the system matches names without regard to case, a name that is not there is
// sought through the whole folder that should hold it).
struct MissingFolder {
    char path[kPathCapacity];
    size_t length;
};

bool LiesBelow(const char* fullPath, const MissingFolder& missing)
{
    return missing.length > 0 && strncmp(fullPath, missing.path, missing.length) == 0 &&
           fullPath[missing.length] == '\\';
}

void NoteMissingParent(const char* fullPath, MissingFolder& missing)
{
    const char* lastBackslash = nullptr;
    for (const char* p = fullPath; *p; p = NextChar(p))
        if (*p == '\\') lastBackslash = p;
    missing.length = 0;
    if (lastBackslash && CopyTextPart(missing.path, sizeof missing.path, fullPath, (size_t)(lastBackslash - fullPath)))
        missing.length = (size_t)(lastBackslash - fullPath);
}

// Whether the entry at full may be there, with its attributes (INVALID_FILE_ATTRIBUTES
// when they cannot be read for another reason than its absence): false when it is not
// there, or lies behind a link below the program folder (folderLength bytes of full). A
// path below a folder found missing is not looked for; one missing for want of its folder
// notes that folder.
bool MayBeThere(char* full, size_t folderLength, MissingFolder& missing, DWORD* attributes)
{
    if (LiesBelow(full, missing)) return false;
    // Its own attributes first: most entries that are not there end here, with one look-up.
    *attributes = GetFileAttributesA(full);
    if (*attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND) NoteMissingParent(full, missing);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
    }
    return !PassesThroughLink(full, folderLength);
}

// What one attempt at a listed entry came to. An entry that is gone stays gone: deleted,
// not there, or never the program's to delete (outside its folder, behind a link).
enum EntryOutcome { EntryDeleted, EntryGone, EntryStays };

// One attempt at one listed entry.
EntryOutcome DeleteEntry(const char* folder, const char* entry, MissingFolder& missing)
{
    char full[kPathCapacity];
    if (!ResolveEntryPath(folder, entry, full)) return EntryGone;
    DWORD attributes;
    if (!MayBeThere(full, TextLength(folder), missing, &attributes)) return EntryGone;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return RemoveLink(full, attributes) ? EntryDeleted : EntryGone;
    // Read-only, hidden and system entries go too. Clearing costs about as much as the
    // deletion itself, so it is left out where no attribute stands in the way.
    const DWORD kInTheWay = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kInTheWay)) SetFileAttributesA(full, 0);
    bool deleted = (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                       ? RemoveDirectoryA(full) != FALSE
                       : DeleteFileA(full) != FALSE;
    return deleted ? EntryDeleted : EntryStays;
}

// The places in the list of the entries that are gone, one bit each, so that later passes
// pass over them: a list of many entries in deep folders takes a pass per folder level, and
// looking again at every entry in every pass would cost more than the deletions. Where the
// memory for the bits runs short, entries are simply looked at again.
class GoneEntries {
public:
    GoneEntries() = default;
    GoneEntries(const GoneEntries&) = delete;
    GoneEntries& operator=(const GoneEntries&) = delete;
    ~GoneEntries() { free(bits_); }

    bool Has(size_t place) const { return place / 8 < bytes_ && (bits_[place / 8] >> (place % 8) & 1); }

    void Add(size_t place)
    {
        if (place / 8 >= bytes_ && !Grow(place / 8 + 1)) return;
        bits_[place / 8] = (unsigned char)(bits_[place / 8] | 1u << (place % 8));
    }

private:
    bool Grow(size_t needed)
    {
        size_t wanted = bytes_ * 2 > needed ? bytes_ * 2 : needed + 1024;
        void* grown = realloc(bits_, wanted);
        if (!grown) return false;
        bits_ = static_cast<unsigned char*>(grown);
        memset(bits_ + bytes_, 0, wanted - bytes_);
        bytes_ = wanted;
        return true;
    }

    unsigned char* bits_ = nullptr;
    size_t bytes_ = 0;
};

// The program folder as a full path ending in a backslash.
void FullProgramFolder(const char* programFolder, char* folder)
{
    char* namePart;
    DWORD n = GetFullPathNameA(programFolder, kPathCapacity, folder, &namePart);
    if (n == 0 || n >= kPathCapacity || !AppendBackslash(folder, kPathCapacity))
        CopyText(folder, kPathCapacity, programFolder);
}

// Passes over the whole list until one deletes nothing: a folder listed before its files
// goes in a later pass.
void DeleteListedEntries(FILE* list, const char* programFolder)
{
    char folder[kPathCapacity];
    FullProgramFolder(programFolder, folder);
    ListReader reader(list);
    char line[kListLineCapacity];
    GoneEntries gone;
    for (;;) {
        int deleted = 0;
        // A folder found missing in this pass.
        MissingFolder missing;
        missing.length = 0;
        for (size_t place = 0; reader.NextEntry(line, sizeof line); ++place) {
            if (gone.Has(place)) continue;
            EntryOutcome outcome = DeleteEntry(folder, line, missing);
            if (outcome == EntryDeleted) ++deleted;
            if (outcome != EntryStays) gone.Add(place);
        }
        if (deleted == 0 || !reader.Rewind()) break;
    }
}

// Deletion at the next restart. The NT family keeps a list of its own (MoveFileExA); the
// 9x family's is the "[rename]" section of wininit.ini, where "NUL=" deletes a file by its
// short name (folders it cannot remove).
class RestartDeletions {
public:
    explicit RestartDeletions(bool ntFamily) : nt_(ntFamily) {}
    ~RestartDeletions() { Flush(); }

    void Add(const char* path, bool isFolder)
    {
        if (nt_) {
            MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
            return;
        }
        if (isFolder) return;
        char shortPath[kPathCapacity];
        DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
        if (n == 0 || n >= sizeof shortPath) return;
        if (!loaded_) Load();
        // "NUL=" + path + its terminator, then the list's final terminator.
        size_t need = 4 + n + 1;
        if (used_ + need + 1 > sizeof section_) return;
        CopyText(section_ + used_, sizeof section_ - used_, "NUL=");
        CopyText(section_ + used_ + 4, sizeof section_ - used_ - 4, shortPath);
        used_ += need;
        section_[used_] = '\0';
        changed_ = true;
    }

private:
    void Load()
    {
        loaded_ = true;
        if (GetWindowsDirectoryA(file_, sizeof file_ - 16) == 0 || !AppendBackslash(file_, sizeof file_) ||
            !AppendText(file_, sizeof file_, "wininit.ini")) {
            file_[0] = '\0';
            return;
        }
        // Entries already pending stay, in front of ours.
        DWORD n = GetPrivateProfileSectionA("rename", section_, sizeof section_, file_);
        used_ = (n > 0 && n < sizeof section_ - 2) ? n : 0;
        section_[used_] = '\0';
    }

    void Flush()
    {
        if (changed_ && file_[0]) WritePrivateProfileSectionA("rename", section_, file_);
        changed_ = false;
    }

    bool nt_;
    bool loaded_ = false;
    bool changed_ = false;
    char file_[kPathCapacity] = "";
    char section_[32768];  // the most a 9x profile section holds
    size_t used_ = 0;
};

int PathDepth(const char* path)
{
    int depth = 0;
    for (const char* p = path; *p; p = NextChar(p))
        if (*p == '\\') ++depth;
    return depth;
}

// The short form of a path that exists, into out (kPathCapacity bytes). Both families
// make it the same way for the same file, whichever names lead to it; file numbers would
// not do, as the 9x family does not keep them for FAT volumes.
bool ShortPathOf(const char* path, char* out)
{
    DWORD n = GetShortPathNameA(path, out, kPathCapacity);
    return n > 0 && n < kPathCapacity;
}

// What the passes could not delete (a file in use, say) goes at the next restart, without a
// message: files first, then folders from the deepest up, then the program folder itself.
// The running program is no leftover: the self-removal script deletes it in a moment, and
// a deletion still pending at the next restart would hit a program installed there anew.
void ScheduleLeftovers(FILE* list, const char* programFolder, const char* programPath)
{
    char folder[kPathCapacity];
    FullProgramFolder(programFolder, folder);
    ListReader reader(list);
    if (!reader.Rewind()) return;
    RestartDeletions pending(WinNtMajorVersion() != 0);
    char line[kListLineCapacity];
    char full[kPathCapacity];
    size_t folderLength = TextLength(folder);
    MissingFolder missing;
    missing.length = 0;
    char self[kPathCapacity];
    char entry[kPathCapacity];
    bool selfKnown = ShortPathOf(programPath, self);
    int deepest = 0;
    bool any = false;
    while (reader.NextEntry(line, sizeof line)) {
        DWORD attributes;
        if (!ResolveEntryPath(folder, line, full) || !MayBeThere(full, folderLength, missing, &attributes) ||
            attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            any = true;
            int depth = PathDepth(full);
            if (depth > deepest) deepest = depth;
        } else if (!selfKnown || !ShortPathOf(full, entry) || lstrcmpiA(self, entry) != 0) {
            any = true;
            pending.Add(full, false);
        }
    }
    if (!any) return;
    for (int depth = deepest; depth > 0; --depth) {
        if (!reader.Rewind()) break;
        while (reader.NextEntry(line, sizeof line)) {
            if (!ResolveEntryPath(folder, line, full) || PathDepth(full) != depth) continue;
            DWORD attributes;
            if (MayBeThere(full, folderLength, missing, &attributes) && attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY))
                pending.Add(full, true);
        }
    }
    // The program folder itself, unless it is a drive root.
    size_t length = TextLength(folder);
    if (length > 3) {
        folder[length - 1] = '\0';
        pending.Add(folder, true);
    }
}

// The path as a batch file must hold it: in the OEM code page, which the interpreter reads
// it in. A path with a character that code page lacks is given by its short name.
bool ToOemExactly(const char* path, char* out, size_t capacity)
{
    WCHAR wide[kPathCapacity];
    WCHAR back[kPathCapacity];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kPathCapacity)) return false;
    BOOL usedDefault = FALSE;
    if (!WideCharToMultiByte(CP_OEMCP, 0, wide, -1, out, (int)capacity, NULL, &usedDefault) || usedDefault)
        return false;
    // A best-fit replacement ("S" for "Š") is no default character, but it names another file.
    if (!MultiByteToWideChar(CP_OEMCP, 0, out, -1, back, kPathCapacity)) return false;
    return lstrcmpW(wide, back) == 0;
}

bool ToBatchPath(const char* path, char* out, size_t capacity)
{
    if (ToOemExactly(path, out, capacity)) return true;
    char shortPath[kPathCapacity];
    DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (n == 0 || n >= sizeof shortPath) return false;
    return ToOemExactly(shortPath, out, capacity);
}

bool WritePiece(FILE* file, const char* piece)
{
    size_t length = TextLength(piece);
    return fwrite(piece, 1, length, file) == length;
}

} // namespace

void RemoveIntegration()
{
    SetupOptions none;
    ZeroMemory(&none, sizeof none);
    SetAssociations(&none);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, NULL, NULL);
    SetShellExtension(&none);
    SetShortcuts(&none, nullptr);
    DeleteRegTree(HKEY_CLASSES_ROOT, PRODUCT_FILE_TYPE);
    DeleteRegTree(HKEY_CLASSES_ROOT, PRODUCT_ZIP_TYPE);
    DeleteRegTree(HKEY_CLASSES_ROOT, PRODUCT_REV_TYPE);
    DeleteRegTree(HKEY_CLASSES_ROOT, ".rev");
    DeleteRegKey(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY);
    DeleteRegKey(HKEY_LOCAL_MACHINE, PRODUCT_APP_PATHS_KEY);
    // Last: the give-back above read its backups from the settings key.
    DeleteRegTree(HKEY_CURRENT_USER, "");
}

bool RunUninstall()
{
    char programPath[kPathCapacity];
    DWORD n = GetModuleFileNameA(NULL, programPath, sizeof programPath);
    // A path that filled the buffer was cut, and would name another file.
    if (n == 0 || n >= sizeof programPath) return false;
    char folder[kPathCapacity];
    if (!ProgramFolderOf(programPath, folder, sizeof folder)) return false;
    SetCurrentDirectoryA(folder);
    if (!AppendBackslash(folder, sizeof folder)) return false;

    // A quiet uninstall ("/uninstall /s", the entry's quiet command) asks nothing and shows
    // nothing: no one may be there to answer.
    if (!SilentMode && MessageBoxA(NULL, GetString(IDS_CONFIRM_UNINSTALL), GetString(IDS_UNINSTALL_CAPTION),
                                   MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
        return true;

    // Named with the program folder, so that a current directory the system refused to
    // change cannot put another folder's files in their place.
    char listPath[kPathCapacity];
    FILE* list = JoinPath(listPath, folder, kListFileName) ? fopen(listPath, "rb") : nullptr;
    if (!list) {
        if (SilentMode) return false;
        // The text may come from a translation: data, never a format.
        char message[kMessageCapacity];
        InsertArgument(message, sizeof message, GetString(IDS_NO_LIST_FILE), kListFileName);
        MessageBoxA(NULL, message, GetString(IDS_UNINSTALL_CAPTION), MB_ICONERROR | MB_SETFOREGROUND);
        return false;
    }

    RemoveIntegration();
    TheExtResource.Unload();

    char path[kPathCapacity];
    for (const char* name : kHelpIndexFiles) {
        if (!JoinPath(path, folder, name)) continue;
        SetFileAttributesA(path, 0);
        DeleteFileA(path);
    }

    DeleteListedEntries(list, folder);
    ScheduleLeftovers(list, folder, programPath);
    fclose(list);
    DeleteFileA(listPath);

    WriteSelfRemovalScript(programPath);
    return true;
}

void WriteSelfRemovalScript(const char* programPath)
{
    // Every piece is composed before the file is made: a script cut short could name
    // another file than the one meant.
    char tempFolder[kPathCapacity];
    DWORD n = GetTempPathA(sizeof tempFolder, tempFolder);
    if (n == 0 || n >= sizeof tempFolder) return;
    char scriptPath[kPathCapacity];
    if (!JoinPath(scriptPath, tempFolder, SELF_REMOVAL_SCRIPT_NAME)) return;

    // The folder the "rd" line removes is the program's own, whatever the current
    // directory has become.
    char folder[kPathCapacity];
    if (!ProgramFolderOf(programPath, folder, sizeof folder)) return;

    char interpreter[kPathCapacity];
    interpreter[0] = '\0';
    n = GetEnvironmentVariableA("COMSPEC", interpreter, sizeof interpreter);
    if (n >= sizeof interpreter) interpreter[0] = '\0';

    bool ntFamily = WinNtMajorVersion() != 0;
    // The script is written for the interpreter that runs it: cmd also where the system
    // reports the 9x family.
    bool cmdDialect = ntFamily || IsCmdInterpreter(interpreter);

    char batchProgram[kPathCapacity];
    char batchFolder[kPathCapacity];
    char batchScript[kPathCapacity];
    if (!ToBatchPath(programPath, batchProgram, sizeof batchProgram) ||
        !ToBatchPath(folder, batchFolder, sizeof batchFolder) ||
        !ToBatchPath(tempFolder, batchScript, sizeof batchScript) ||
        !AppendText(batchScript, sizeof batchScript, SELF_REMOVAL_SCRIPT_NAME))
        return;

    char firstLine[kScriptPieceCapacity];
    char block[kScriptPieceCapacity];
    char tail[kScriptPieceCapacity];
    char commandLine[kScriptCommandCapacity];
    if (!ComposeScriptFirstLine(firstLine, sizeof firstLine, cmdDialect, batchProgram) ||
        !ComposeDeletionBlock(block, sizeof block, batchProgram, batchFolder) ||
        !ComposeScriptTail(tail, sizeof tail, batchProgram, batchScript) ||
        !ComposeInterpreterCommand(commandLine, sizeof commandLine, cmdDialect, interpreter, scriptPath))
        return;

    FILE* script = fopen(scriptPath, "wb");
    if (!script) return;
    bool written = WritePiece(script, firstLine);
    for (int i = 0; i < kScriptDeletionAttempts; ++i) written = written && WritePiece(script, block);
    written = written && WritePiece(script, tail);
    if (fclose(script) != 0) written = false;
    if (!written) {
        DeleteFileA(scriptPath);
        return;
    }

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    HANDLE nullDevice = INVALID_HANDLE_VALUE;
    if (ntFamily) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    } else {
        // Inheritable, or the interpreter could not use it as its standard handles.
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
        nullDevice = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, NULL);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullDevice;
        startup.hStdOutput = nullDevice;
        startup.hStdError = nullDevice;
    }

    // Owned until this process ends; the script's pause waits for that (not inherited).
    CreateMutexA(NULL, TRUE, kUninstallRunningName);

    // Neither this process nor the interpreter may hold the program folder.
    SetCurrentDirectoryA("..");
    PROCESS_INFORMATION process;
    CreateProcessA(NULL, commandLine, NULL, NULL, TRUE, ntFamily ? 0 : DETACHED_PROCESS, NULL, NULL, &startup,
                   &process);
    if (nullDevice != INVALID_HANDLE_VALUE) CloseHandle(nullDevice);
    ExitProcess(0);
}

void WaitForUninstallToEnd()
{
    Sleep(2000);
    HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, kUninstallRunningName);
    if (!running) return;
    // A bound, so that a script started some other way still goes on.
    DWORD waited = WaitForSingleObject(running, 30000);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        ReleaseMutex(running);
        // The system lets go of the program's file just after the process's last thread.
        Sleep(250);
    }
    CloseHandle(running);
}
