// The whole program on machines that are not the usual one: machine-wide keys it may not
// write, and an installation folder whose path is 240 characters long. Each case installs
// the real uninstall.exe in a folder of its own, runs a silent set-up ("/setup /s") and a
// quiet uninstall ("/uninstall /s") and looks at what they did to the prefix's registry,
// links and files. Whatever a failed run leaves is removed.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include "support/process.h"
#include "support/sandbox.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "uninstall/script_text.h"
#include "uninstall/uninstall.h"

namespace {

const char kSettings[] = "Software\\Bramix";
const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const std::string kAppPathsKey = std::string(kAppPaths) + "\\Bramix.exe";
const std::string kUninstallKey = std::string(kUninstall) + "\\Bramix archiver";
const char kClsid[] = "{B41DB860-8EE4-11D2-9906-E49FADC173CA}";
const std::string kServerKey = std::string("CLSID\\") + kClsid + "\\InProcServer32";
const char* const kTypes[] = {"Bramix", "Bramix.ZIP", "Bramix.REV"};

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

// The deletions the system carries out at its next start, as stored.
std::string RestartDeletions()
{
    DWORD type = 0;
    std::string data;
    return ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", &type, &data) ? data : "";
}

// What a writer needs of a key; reading and changing its access list stay allowed.
const DWORD kDenied = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE;

std::string TempPath()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return temp;
}

bool IsOurDenial(const void* ace, PSID everyone)
{
    const ACCESS_DENIED_ACE* denied = (const ACCESS_DENIED_ACE*)ace;
    return denied->Header.AceType == ACCESS_DENIED_ACE_TYPE && denied->Mask == kDenied &&
           EqualSid((PSID)&denied->SidStart, everyone);
}

// The access list of a key as text, "<missing>" for a key that is not there.
std::string KeySecurity(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) return "<missing>";
    std::vector<BYTE> sd(4096);
    DWORD size = (DWORD)sd.size();
    std::string out = "<unreadable>";
    char* text = NULL;
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, sd.data(), &size) == ERROR_SUCCESS &&
        ConvertSecurityDescriptorToStringSecurityDescriptorA(sd.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, NULL)) {
        out = text;
        LocalFree(text);
    }
    RegCloseKey(key);
    return out;
}

// Makes a key under HKEY_LOCAL_MACHINE unwritable for everyone while the object lives:
// a deny entry for Everyone in front of its access list, the list restored at the end. A
// key that is not there is made first: the system does not stop a key from being created
// below a parent that denies it, only the opening for writing of a key that denies it.
// An own key (one of the program's) is deleted at the end, also when a run that was cut
// short had left it behind with the deny entry, which is dropped from the saved list.
class UnwritableKey {
public:
    UnwritableKey(const std::string& path, bool own) : path_(path), own_(own)
    {
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, READ_CONTROL | WRITE_DAC, NULL, &key_,
                            &disposition) != ERROR_SUCCESS) {
            key_ = NULL;
            ADD_FAILURE() << "cannot open " << path;
            return;
        }
        created_ = disposition == REG_CREATED_NEW_KEY;
        std::vector<BYTE> sd(4096);
        DWORD size = (DWORD)sd.size();
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = NULL;
        if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, sd.data(), &size) != ERROR_SUCCESS ||
            !GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted) || !present || !dacl) {
            ADD_FAILURE() << "cannot read the access list of " << path;
            return;
        }
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = NULL;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        DWORD capacity = dacl->AclSize + sizeof(ACCESS_DENIED_ACE) + GetLengthSid(everyone);
        clean_.assign(capacity, 0);
        denied_.assign(capacity, 0);
        PACL clean = (PACL)clean_.data(), denied = (PACL)denied_.data();
        InitializeAcl(clean, capacity, ACL_REVISION);
        InitializeAcl(denied, capacity, ACL_REVISION);
        AddAccessDeniedAce(denied, ACL_REVISION, kDenied, everyone);
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            void* ace = NULL;
            if (!GetAce(dacl, i, &ace) || IsOurDenial(ace, everyone)) continue;
            AddAce(clean, ACL_REVISION, MAXDWORD, ace, ((ACE_HEADER*)ace)->AceSize);
            AddAce(denied, ACL_REVISION, MAXDWORD, ace, ((ACE_HEADER*)ace)->AceSize);
        }
        FreeSid(everyone);
        ready_ = SetList(denied);
        EXPECT_TRUE(ready_) << "cannot deny writing to " << path;
    }

    ~UnwritableKey()
    {
        if (!key_) return;
        bool remove = created_ || own_;
        // A key to be removed may be gone already: the system does not refuse deleting it.
        bool restored = !clean_.empty() && SetList((PACL)clean_.data());
        EXPECT_TRUE(restored || remove) << "cannot restore " << path_;
        RegCloseKey(key_);
        if (remove) RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
    }
    UnwritableKey(const UnwritableKey&) = delete;
    UnwritableKey& operator=(const UnwritableKey&) = delete;

    bool Ready() const { return ready_; }

private:
    bool SetList(PACL list)
    {
        SECURITY_DESCRIPTOR sd;
        return InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&sd, TRUE, list, FALSE) &&
               RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    }

    std::string path_;
    bool own_;
    HKEY key_ = NULL;
    bool created_ = false;
    bool ready_ = false;
    std::vector<BYTE> clean_, denied_;
};

struct Links {
    std::string programs = SpecialFolder(CSIDL_PROGRAMS) + "\\Bramix";
    std::string commonPrograms = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Bramix";
};

class MachineFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(NULL);
        ASSERT_TRUE(WatchMessageBoxes());
        RemoveLeftovers();
        script_ = TempPath() + SELF_REMOVAL_SCRIPT_NAME;
        DeleteFileA(script_.c_str());
        restartDeletions_ = RestartDeletions();
        // Another program owns ".zip": set-up takes it over with a backup.
        WriteString(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
    }

    void TearDown() override
    {
        RemoveLeftovers();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".zip");
        DeleteFileA(script_.c_str());
        CoUninitialize();
    }

    // What an earlier failed run may have left: undone the way the uninstaller does it,
    // then whatever that did not reach.
    void RemoveLeftovers()
    {
        if (KeyExists(HKEY_CURRENT_USER, kSettings) || KeyExists(HKEY_CLASSES_ROOT, "Bramix")) RemoveIntegration();
        for (const char* e : {".qyx", ".zip", ".rev"})
            for (const char* type : kTypes)
                if (ReadString(HKEY_CLASSES_ROOT, e, "") == type) RegDeleteTreeA(HKEY_CLASSES_ROOT, e);
        for (const char* type : kTypes) RegDeleteTreeA(HKEY_CLASSES_ROOT, type);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsid).c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettings);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPathsKey.c_str());
        DeleteTree(links_.programs);
        DeleteTree(links_.commonPrograms);
    }

    // The program with a few files and their list in folder; the list also names the
    // templates that set-up writes, and the program itself.
    void Install(const std::string& folder, const std::string& moreEntries = "")
    {
        MakeFolder(folder);
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), (folder + "\\uninstall.exe").c_str(), FALSE)) << folder;
        for (const char* f : {"Bramix.exe", "qyxext.dll", "bramix.hlp", "Qyx.txt"})
            WriteFile(folder + "\\" + f, std::string("sample ") + f);
        WriteFile(folder + "\\Uninstall.lst",
                  "Bramix.exe\r\nqyxext.dll\r\nbramix.hlp\r\nQyx.txt\r\nqyxnew.dat\r\nzipnew.dat\r\n" + moreEntries +
                      "uninstall.exe\r\n");
    }

    // Runs the installed program with arguments in its folder: it must show nothing, end
    // by itself and with exit code 0.
    void RunUnattended(const std::string& folder, const std::string& arguments)
    {
        HANDLE process = StartProcess("\"" + folder + "\\uninstall.exe\" " + arguments, folder);
        ASSERT_TRUE(process) << folder;
        DWORD pid = GetProcessId(process);
        HWND shown = NULL;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT && GetTickCount() - start < 60000)
            if (!shown) shown = FindAnyDialogOf(pid);
        EXPECT_EQ(NULL, shown) << arguments << " showed \"" << WindowText(shown) << "\": " << MessageBoxText(shown);
        if (shown) PressButton(shown, IDCANCEL);
        ProcessResult r = FinishProcess(process, 30000);
        EXPECT_TRUE(r.finished) << arguments << " waited for something";
        EXPECT_EQ(0u, r.exitCode) << arguments;
    }

    // A quiet uninstall of everything listed: the running program, which the self-removal
    // script deletes, is not left for the next start too (a new installation there would
    // lose it).
    void QuietUninstall(const std::string& folder)
    {
        RunUnattended(folder, "/uninstall /s");
        EXPECT_EQ(restartDeletions_, RestartDeletions()) << "deletions were left for the next start";
    }

    void SilentSetup(const std::string& folder)
    {
        RunUnattended(folder, "/setup /s");
        EXPECT_TRUE(CloseFolderWindow(links_.programs, 10000)) << "the program group was not opened";
    }

    // What set-up applies whatever the machine-wide keys allow, for a program in folder.
    void ExpectUserPartsApplied(const std::string& folder)
    {
        EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".qyx", ""));
        EXPECT_EQ("Bramix.ZIP", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
        EXPECT_EQ("OtherZip.Archive", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Type"));
        EXPECT_EQ(folder + "\\qyxnew.dat", ReadString(HKEY_CLASSES_ROOT, ".qyx\\ShellNew", "FileName"));
        std::string command = "\"" + folder + "\\Bramix.exe\" \"%1\"";
        for (const char* type : kTypes)
            EXPECT_EQ(command, ReadString(HKEY_CLASSES_ROOT, std::string(type) + "\\shell\\open\\command", ""))
                << type;
        EXPECT_EQ(folder + "\\Bramix.exe,1", ReadString(HKEY_CLASSES_ROOT, "Bramix.REV\\DefaultIcon", ""));
        EXPECT_EQ(folder + "\\qyxext.dll", ReadString(HKEY_CLASSES_ROOT, kServerKey, ""));
        EXPECT_EQ(std::string(kClsid), ReadString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Bramix", ""));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links"));
        for (const std::string& group : {links_.programs, links_.commonPrograms}) {
            LinkContents link = ReadLink(group + "\\Bramix.lnk");
            EXPECT_TRUE(link.loaded) << group;
            EXPECT_EQ(folder + "\\Bramix.exe", link.path) << group;
            EXPECT_EQ(folder + "\\Bramix.hlp", ReadLink(group + "\\Bramix help.lnk").path) << group;
            EXPECT_EQ(folder + "\\Qyx.txt", ReadLink(group + "\\Console QYX manual.lnk").path) << group;
        }
    }

    // What the uninstall gives back or removes, whatever the machine-wide keys allow.
    void ExpectUserPartsRemoved()
    {
        EXPECT_EQ("OtherZip.Archive", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
        for (const char* k : {".qyx", ".rev", "Bramix", "Bramix.ZIP", "Bramix.REV"})
            EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid));
        EXPECT_EQ("<missing>", ReadString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Bramix", ""));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
        EXPECT_FALSE(PathExists(links_.programs));
        EXPECT_FALSE(PathExists(links_.commonPrograms));
    }

    ScopedWindowsVersion family_{"uninstall.exe", nullptr};
    TempFolder temp_;
    Links links_;
    std::string script_;
    std::string restartDeletions_;
};

TEST_F(MachineFaultTest, UnwritableMachineKeysLeaveOnlyTheirEntriesOut)
{
    std::string folder = temp_ / "Bramix";
    Install(folder);
    const std::string keys[] = {kAppPaths, kUninstall, kApproved, kAppPathsKey, kUninstallKey};
    std::string securityBefore;
    for (const std::string& k : keys) securityBefore += k + ": " + KeySecurity(k) + "\n";
    {
        // The program's own keys first, while their parents still let them be made.
        UnwritableKey appPath(kAppPathsKey, true), uninstallEntry(kUninstallKey, true);
        UnwritableKey appPaths(kAppPaths, false), uninstall(kUninstall, false), approved(kApproved, false);
        for (const UnwritableKey* k : {&appPath, &uninstallEntry, &appPaths, &uninstall, &approved})
            ASSERT_TRUE(k->Ready());
        // The system really refuses what the program will try.
        HKEY key;
        for (const std::string& k : {kAppPathsKey, kUninstallKey, std::string(kApproved)})
            EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_LOCAL_MACHINE, k.c_str(), 0, KEY_SET_VALUE, &key)) << k;

        SilentSetup(folder);
        for (const std::string& k : {kAppPathsKey, kUninstallKey})
            EXPECT_EQ(std::vector<std::string>{}, ListTree(HKEY_LOCAL_MACHINE, k)) << k << " was written";
        EXPECT_EQ("<missing>", ReadString(HKEY_LOCAL_MACHINE, kApproved, kClsid));
        ExpectUserPartsApplied(folder);

        QuietUninstall(folder);
        ExpectUserPartsRemoved();
        // Where the system lets the empty keys be deleted (Wine does), they go; else they stay.
        for (const std::string& k : {kAppPathsKey, kUninstallKey})
            EXPECT_EQ(std::vector<std::string>{}, ListTree(HKEY_LOCAL_MACHINE, k)) << k;
        EXPECT_TRUE(WaitUntilGone({folder, script_})) << "the installation folder or the script is still there";
    }
    std::string securityAfter;
    for (const std::string& k : keys) securityAfter += k + ": " + KeySecurity(k) + "\n";
    EXPECT_EQ(securityBefore, securityAfter);
}

// A folder of exactly length characters below base, made of nested folders.
std::string NestedFolder(const std::string& base, size_t length)
{
    std::string path = base;
    for (int level = 1; path.size() < length; ++level) {
        std::string name = "Folder " + std::to_string(level) + " of a long installation path";
        size_t room = length - path.size() - 1;
        if (room > name.size() + 8) room = name.size();  // leaves at least 8 for the last one
        name.resize(room, 'x');
        if (name.back() == ' ') name.back() = 'x';  // the system drops a final blank
        path += "\\" + name;
    }
    return path;
}

TEST_F(MachineFaultTest, ProgramFolderOf240CharactersIsNamedWholeEverywhere)
{
    std::string folder = NestedFolder(temp_.Path(), 240);
    ASSERT_EQ(240u, folder.size()) << folder;
    // Listed entries too long to name a file there: one that the system cannot name (its
    // full path has 260 characters or more), one longer than the program's path buffer.
    // Both are passed over, and the rest goes.
    Install(folder, "a.listed.name.longer.than.the.system.allows.txt\r\n" + std::string(900, 'y') + "\r\n");
    std::string program = folder + "\\uninstall.exe";

    SilentSetup(folder);
    EXPECT_EQ(folder + "\\Bramix.exe", ReadString(HKEY_LOCAL_MACHINE, kAppPathsKey, ""));
    EXPECT_EQ(folder, ReadString(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"));
    EXPECT_EQ(program, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ("\"" + program + "\" /uninstall /s", ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"));
    EXPECT_EQ(program + ",0", ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"));
    EXPECT_EQ(folder, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"));
    EXPECT_EQ("Bramix shell extension", ReadString(HKEY_LOCAL_MACHINE, kApproved, kClsid));
    ExpectUserPartsApplied(folder);

    QuietUninstall(folder);
    ExpectUserPartsRemoved();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey));
    EXPECT_EQ("<missing>", ReadString(HKEY_LOCAL_MACHINE, kApproved, kClsid));
    for (const char* f : {"Bramix.exe", "qyxext.dll", "bramix.hlp", "Qyx.txt", "qyxnew.dat", "zipnew.dat", "Uninstall.lst"})
        EXPECT_FALSE(PathExists(folder + "\\" + f)) << f;
    EXPECT_TRUE(WaitUntilGone({folder, script_})) << "the installation folder or the script is still there";
    EXPECT_TRUE(PathExists(folder.substr(0, folder.rfind('\\')))) << "the folder above went too";
}

} // namespace
