// The whole uninstall, with the real uninstall.exe in an installation folder of the test's
// own, on the prefix's real registry and special folders: the confirmation, the removal of
// the integration, the list-driven deletion and the self-removal script.
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>
#include <algorithm>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "base/text.h"
#include "setup_ui/options.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "uninstall/listfile.h"
#include "uninstall/script_text.h"
#include "uninstall/uninstall.h"

namespace {

const char kCaption[] = "Uninstall Bramix";
const char kShellExtClass[] = "{B41DB860-8EE4-11D2-9906-E49FADC173CA}";

std::string TempPath()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return temp;
}

std::string ScriptPath() { return TempPath() + SELF_REMOVAL_SCRIPT_NAME; }

// ---- The Unix side of the prefix: symbolic links and drive letters ----------------------

std::string UnixPath(const std::string& windowsPath)
{
    typedef char*(CDECL * UnixNameFn)(const WCHAR*);
    UnixNameFn unixName =
        (UnixNameFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!unixName) return "";
    WCHAR wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2)) return "";
    char* name = unixName(wide);
    if (!name) return "";
    std::string out = name;
    HeapFree(GetProcessHeap(), 0, name);
    return out;
}

// Wine starts Unix programs too, but gives no process handle to wait on: done tells when
// the program's work shows.
bool RunUnix(const std::string& commandLine, const std::function<bool()>& done)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= 10000) return false;
        Sleep(20);
    }
    return true;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A Unix symbolic link, which Wine shows as a folder with FILE_ATTRIBUTE_REPARSE_POINT.
// Removed from the Unix side: through Windows calls Wine would reach its target.
class UnixLink {
public:
    UnixLink(const std::string& link, const std::string& target) : link_(link), unixLink_(UnixPath(link))
    {
        std::string to = UnixPath(target);
        made_ = !unixLink_.empty() && !to.empty() &&
                RunUnix("Z:\\bin\\ln -s \"" + to + "\" \"" + unixLink_ + "\"", [&] { return Exists(link_); });
        if (!made_) ADD_FAILURE() << "cannot link " << unixLink_ << " to " << to;
    }
    ~UnixLink()
    {
        if (made_) RunUnix("Z:\\bin\\rm -f \"" + unixLink_ + "\"", [&] { return !Exists(link_); });
    }
    bool Made() const { return made_; }

private:
    std::string link_, unixLink_;
    bool made_ = false;
};

// A spare drive letter mapped to a folder: the prefix's dosdevices link.
class MappedDrive {
public:
    explicit MappedDrive(const std::string& folder)
    {
        std::string c = UnixPath("C:\\");  // ".../dosdevices/c:/"
        size_t at = c.rfind("/c:");
        if (at == std::string::npos) return;
        DWORD used = GetLogicalDrives();
        for (char letter = 'y'; letter >= 'm'; --letter) {
            if (used & (1u << (letter - 'a'))) continue;
            // A letter the system does not report is free; a stale link of it is replaced.
            std::string link = c.substr(0, at + 1) + letter + ":";
            std::string root = std::string(1, (char)(letter - 'a' + 'A')) + ":\\";
            if (RunUnix("Z:\\bin\\ln -sfn \"" + UnixPath(folder) + "\" \"" + link + "\"", [&] { return Exists(root); })) {
                link_ = link;
                root_ = root;
            }
            return;
        }
    }
    ~MappedDrive()
    {
        if (!link_.empty()) RunUnix("Z:\\bin\\rm -f \"" + link_ + "\"", [&] { return !Exists(root_); });
    }
    const std::string& Root() const { return root_; }  // "Q:\", or "" when none was made

private:
    std::string link_;
    std::string root_;
};

// ---- Files --------------------------------------------------------------------------

// A name in a folder, which may be a drive root that ends in a backslash already.
std::string In(const std::string& folder, const std::string& name)
{
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

void WriteFileAt(const std::string& path, const std::string& content)
{
    MakeFolder(path.substr(0, path.rfind('\\')));
    WriteFile(path, content);
}

// Every file and folder below folder with its content, for before-and-after comparisons.
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(prefix + name + "\\");
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) ListFiles(path, prefix + name + "\\", out);
        } else {
            out.push_back(prefix + name + " = " + ReadFile(path));
        }
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(out.begin(), out.end());
}

std::vector<std::string> Files(const std::string& folder)
{
    std::vector<std::string> out;
    ListFiles(folder, "", out);
    return out;
}

// ---- Registry -----------------------------------------------------------------------

struct KeyRef {
    HKEY root;
    const char* rootName;
    std::string path;
};

// Every key that set-up writes or uninstall deletes, and the keys above the shell
// extension's handlers.
std::vector<KeyRef> InvolvedKeys()
{
    std::vector<KeyRef> keys;
    auto cr = [&](const std::string& path) { keys.push_back({HKEY_CLASSES_ROOT, "HKCR", path}); };
    for (const ArchiveType& type : ArchiveTypes) {
        std::string group = type.Extensions;
        size_t start = 0;
        for (size_t i = 1; i <= group.size(); ++i)
            if (i == group.size() || group[i] == '.') {
                cr(group.substr(start, i - start));
                start = i;
            }
    }
    char volume[8];
    for (int n = 0; n < 100; ++n) {
        FormatText(volume, sizeof volume, ".q%02d", n);
        cr(volume);
    }
    for (const char* k : {"Bramix", "Bramix.ZIP", "Bramix.REV", ".rev"}) cr(k);
    cr(std::string("CLSID\\") + kShellExtClass);
    for (const char* c : {"exefile", "*", "Folder", "Drive", "Directory"}) cr(std::string(c) + "\\shellex");
    for (const char* k : {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver",
                          "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Bramix.exe",
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved"})
        keys.push_back({HKEY_LOCAL_MACHINE, "HKLM", k});
    keys.push_back({HKEY_CURRENT_USER, "HKCU", "Software\\Bramix"});
    return keys;
}

std::set<std::string> RegistrySnapshot()
{
    std::set<std::string> lines;
    for (const KeyRef& key : InvolvedKeys()) {
        std::istringstream dump(DumpKey(key.root, key.path));
        for (std::string line; std::getline(dump, line);) lines.insert(std::string(key.rootName) + "\\" + line);
    }
    return lines;
}

// What the shell extension's removal leaves by design: the six handler keys under the
// shell's standard classes, without values, and the keys above them.
bool LeftByDesign(const std::string& line)
{
    static const std::set<std::string> keys = [] {
        std::set<std::string> k;
        const char* handlers[][2] = {{"*", "ContextMenuHandlers"},    {"Folder", "ContextMenuHandlers"},
                                     {"Folder", "DragDropHandlers"},  {"Drive", "DragDropHandlers"},
                                     {"Directory", "ContextMenuHandlers"}, {"Directory", "DragDropHandlers"}};
        for (auto& h : handlers) {
            std::string shellex = std::string("HKCR\\") + h[0] + "\\shellex";
            k.insert(shellex);
            k.insert(shellex + "\\" + h[1]);
            k.insert(shellex + "\\" + h[1] + "\\Bramix");
        }
        k.insert("HKCR\\exefile\\shellex");
        k.insert("HKCR\\exefile\\shellex\\PropertySheetHandlers");
        return k;
    }();
    return keys.count(line) != 0;
}

void ExpectRegistryRestored(const std::set<std::string>& before, const std::set<std::string>& after)
{
    for (const std::string& line : before)
        if (!after.count(line)) ADD_FAILURE() << "lost: " << line;
    for (const std::string& line : after)
        if (!before.count(line) && !LeftByDesign(line)) ADD_FAILURE() << "left: " << line;
}

// ---- Links --------------------------------------------------------------------------

std::vector<std::string> ProductLinks()
{
    std::vector<std::string> links;
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU}) {
        std::string folder = SpecialFolder(csidl);
        if (!folder.empty()) links.push_back(folder + "\\Bramix.lnk");
    }
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        std::string folder = SpecialFolder(csidl);
        if (!folder.empty()) links.push_back(folder + "\\Bramix");
    }
    return links;
}

std::vector<std::string> ExistingLinks()
{
    std::vector<std::string> out;
    for (const std::string& link : ProductLinks())
        if (PathExists(link)) out.push_back(link);
    return out;
}


// ---- The fixture --------------------------------------------------------------------

struct BoxSeen {
    bool shown = false;
    std::string caption, text;
    IconStyle icon = IconUnknown;
};

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WatchMessageBoxes());
        ASSERT_TRUE(PathExists(BuiltProgram()));
        DeleteFileA(ScriptPath().c_str());
        RemoveLeftovers();
    }

    void TearDown() override
    {
        ForgetRestartDeletions();
        // A warning box would keep a script waiting for ever.
        if (HWND box = WaitForDialog(kCaption, 0)) {
            ADD_FAILURE() << "a box is still open: " << MessageBoxText(box);
            PressButton(box, IDOK);
        }
        RemoveLeftovers();
        DeleteFileA(ScriptPath().c_str());
    }

    // Deletions left for the next restart by a test must not reach the prefix's next start.
    static void ForgetRestartDeletions()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "PendingFileRenameOperations");
            RegCloseKey(key);
        }
        DeleteFileA(WininitPath().c_str());
    }

    static std::string WininitPath()
    {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        return std::string(windows) + "\\wininit.ini";
    }

    // The deletions pending for the next restart, in their order: the NT family's list
    // (its "\??\" prefix removed), or the "NUL=" lines of wininit.ini's [rename] section.
    static std::vector<std::string> RestartDeletions()
    {
        std::vector<std::string> out;
        if (IsNtFamily()) {
            DWORD type = 0;
            std::string data;
            if (!ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", &type, &data))
                return out;
            std::vector<std::string> strings;
            size_t start = 0;
            for (size_t i = 0; i < data.size(); ++i)
                if (data[i] == '\0') {
                    strings.push_back(data.substr(start, i - start));
                    start = i + 1;
                }
            // Pairs of source and target; an empty target is a deletion.
            for (size_t i = 0; i + 1 < strings.size(); i += 2)
                if (strings[i + 1].empty() && !strings[i].empty())
                    out.push_back(strings[i].compare(0, 4, "\\??\\") == 0 ? strings[i].substr(4) : strings[i]);
        } else {
            std::istringstream lines(ReadFile(WininitPath()));
            std::string line;
            bool inRename = false;
            while (std::getline(lines, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (!line.empty() && line[0] == '[') inRename = line == "[rename]";
                else if (inRename && line.compare(0, 4, "NUL=") == 0) out.push_back(line.substr(4));
            }
        }
        return out;
    }

    static std::string LongPath(const std::string& path)
    {
        char out[MAX_PATH * 4];
        DWORD n = GetLongPathNameA(path.c_str(), out, sizeof out);
        return n && n < sizeof out ? std::string(out, n) : path;
    }

    // The product's registry entries and links of earlier runs go first, so that every
    // test starts from a registry without them.
    static void RemoveLeftovers()
    {
        OleInitialize(NULL);
        RemoveIntegration();
        OleUninitialize();
    }

    // An installation as the installer leaves it: the real uninstall.exe and a list file.
    void Install(const std::string& folder, const std::string& list)
    {
        MakeFolder(folder);
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), In(folder, "uninstall.exe").c_str(), FALSE));
        WriteFile(In(folder, "Uninstall.lst"), list);
    }

    // The set-up run: every choice applied from the installation folder.
    void Integrate(const std::string& folder)
    {
        std::string helper = folder + "\\install_helper.exe";
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\install_helper.exe").c_str(), helper.c_str(), FALSE));
        ProcessResult r = RunProcess("\"" + helper + "\"", folder, 60000);
        DeleteFileA(helper.c_str());
        ASSERT_TRUE(r.finished);
        ASSERT_EQ(0u, r.exitCode);
        ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver"));
        ASSERT_FALSE(ExistingLinks().empty());
    }

    // A box of that process, once one shows; NULL when the process ends or the time is up.
    static HWND WaitForBox(HANDLE process, DWORD timeoutMs)
    {
        DWORD pid = GetProcessId(process);
        DWORD start = GetTickCount();
        for (;;) {
            if (HWND box = FindAnyDialogOf(pid)) return box;
            if (WaitForSingleObject(process, 20) != WAIT_TIMEOUT || GetTickCount() - start >= timeoutMs)
                return FindAnyDialogOf(pid);
        }
    }

    static BoxSeen Answer(HWND box, int button)
    {
        BoxSeen seen;
        if (!box) return seen;
        seen.shown = true;
        seen.caption = WindowText(box);
        seen.text = MessageBoxText(box);
        seen.icon = MessageBoxIcon(box);
        PressButton(box, button);
        WaitForWindowGone(box, 5000);
        return seen;
    }

    // Starts the uninstaller with no switch from another folder, answers its confirmation
    // and, when a second box follows, presses OK on it. The process must end with 0.
    void RunUninstaller(const std::string& folder, int answer, BoxSeen* confirmation, BoxSeen* second = nullptr)
    {
        HANDLE process = StartProcess("\"" + In(folder, "uninstall.exe") + "\"", temp_.Path());
        ASSERT_TRUE(process);
        *confirmation = Answer(WaitForBox(process, 20000), answer);
        BoxSeen next = Answer(WaitForBox(process, answer == IDYES ? 3000 : 500), IDOK);
        if (second) *second = next;
        else EXPECT_FALSE(next.shown) << next.caption << ": " << next.text;
        ProcessResult r = FinishProcess(process, 60000);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(0u, r.exitCode);
    }

    // Runs the uninstaller quietly ("/uninstall /s"): it must show nothing and end with
    // the exit code given (2: nothing to uninstall).
    void RunQuietly(const std::string& folder, DWORD exitCode = 0)
    {
        HANDLE process = StartProcess("\"" + In(folder, "uninstall.exe") + "\" /uninstall /s", temp_.Path());
        ASSERT_TRUE(process);
        DWORD pid = GetProcessId(process);
        HWND shown = NULL;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT && GetTickCount() - start < 30000)
            if (!shown) shown = FindAnyDialogOf(pid);
        EXPECT_EQ(NULL, shown) << WindowText(shown) << ": " << MessageBoxText(shown);
        if (shown) PressButton(shown, IDNO);
        ProcessResult r = FinishProcess(process, 30000);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(exitCode, r.exitCode);
    }

    static void ExpectConfirmation(const BoxSeen& box)
    {
        EXPECT_TRUE(box.shown);
        EXPECT_EQ(kCaption, box.caption);
        EXPECT_EQ("Continue with uninstall Bramix", box.text);
        EXPECT_STREQ("question", IconStyleName(box.icon));
    }

    ScopedWindowsVersion family_{"uninstall.exe", nullptr};
    ScopedWindowsVersion helperFamily_{"install_helper.exe", nullptr};
    TempFolder temp_;
};

// The products files and a list with CRLF and LF line ends, trailing blanks, empty lines,
// a last line without its line end and folders listed before their files.
const char kProductList[] =
    "docs\r\n"
    "docs\\deep\r\n"
    "Bramix.exe\r\n"
    "docs\\manual.txt \t \r\n"
    "\r\n"
    "   \r\n"
    "docs\\deep\\notes.txt\n"
    "readme.txt\r\n"
    "qyxext.dll\r\n"
    "bramix.hlp\r\n"
    "\n"
    "qyxnew.dat\r\n"
    "zipnew.dat\r\n"
    "not-installed.txt\r\n"
    "uninstall.exe\r\n"
    "Qyx.txt";

void AddProductFiles(const std::string& folder)
{
    for (const char* name : {"Bramix.exe", "qyxext.dll", "bramix.hlp", "Qyx.txt", "readme.txt", "docs\\manual.txt",
                             "docs\\deep\\notes.txt", "bramix.gid", "bramix.fts"})
        WriteFileAt(folder + "\\" + name, name);
    SetFileAttributesA((folder + "\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((folder + "\\docs\\manual.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(UninstallTest, RemovesEverythingAndThenItself)
{
    std::string folder = temp_ / "Program Files\\Bramix";
    Install(folder, kProductList);
    AddProductFiles(folder);
    std::set<std::string> before = RegistrySnapshot();
    Integrate(folder);
    ASSERT_NE(before, RegistrySnapshot());

    BoxSeen confirmation;
    RunUninstaller(folder, IDYES, &confirmation);
    ExpectConfirmation(confirmation);

    // The process has ended: the registry and the links are done with.
    ExpectRegistryRestored(before, RegistrySnapshot());
    EXPECT_EQ(std::vector<std::string>{}, ExistingLinks());
    // Within a few seconds the script has removed the program, its folder and itself.
    EXPECT_TRUE(WaitUntilGone({folder, ScriptPath()})) << ::testing::PrintToString(Files(folder));
    EXPECT_TRUE(PathExists(temp_ / "Program Files"));
}

TEST_F(UninstallTest, QuietUninstallAsksNothing)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, kProductList);
    AddProductFiles(folder);
    std::set<std::string> before = RegistrySnapshot();
    Integrate(folder);

    RunQuietly(folder);
    ExpectRegistryRestored(before, RegistrySnapshot());
    EXPECT_EQ(std::vector<std::string>{}, ExistingLinks());
    EXPECT_TRUE(WaitUntilGone({folder, ScriptPath()})) << ::testing::PrintToString(Files(folder));
}

TEST_F(UninstallTest, QuietUninstallWithoutListShowsNothingAndChangesNothing)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, "");
    DeleteFileA((folder + "\\Uninstall.lst").c_str());
    AddProductFiles(folder);
    Integrate(folder);
    std::set<std::string> registry = RegistrySnapshot();
    std::vector<std::string> files = Files(folder);

    RunQuietly(folder, 2);
    EXPECT_EQ(registry, RegistrySnapshot());
    EXPECT_EQ(files, Files(folder));
    EXPECT_FALSE(PathExists(ScriptPath()));
}

TEST_F(UninstallTest, NoChangesNothing)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, kProductList);
    AddProductFiles(folder);
    Integrate(folder);
    std::set<std::string> registry = RegistrySnapshot();
    std::vector<std::string> files = Files(folder);
    std::vector<std::string> links = ExistingLinks();

    BoxSeen confirmation;
    RunUninstaller(folder, IDNO, &confirmation);
    ExpectConfirmation(confirmation);

    EXPECT_EQ(registry, RegistrySnapshot());
    EXPECT_EQ(files, Files(folder));
    EXPECT_EQ(links, ExistingLinks());
    EXPECT_FALSE(PathExists(ScriptPath()));
}

TEST_F(UninstallTest, MissingListIsReportedAndChangesNothing)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, "");
    DeleteFileA((folder + "\\Uninstall.lst").c_str());
    AddProductFiles(folder);
    Integrate(folder);
    std::set<std::string> registry = RegistrySnapshot();
    std::vector<std::string> files = Files(folder);
    std::vector<std::string> links = ExistingLinks();

    BoxSeen confirmation, error;
    RunUninstaller(folder, IDYES, &confirmation, &error);
    ExpectConfirmation(confirmation);
    EXPECT_TRUE(error.shown);
    EXPECT_EQ(kCaption, error.caption);
    EXPECT_EQ("Cannot open list file Uninstall.lst", error.text);
    EXPECT_STREQ("error", IconStyleName(error.icon));

    EXPECT_EQ(registry, RegistrySnapshot());
    EXPECT_EQ(files, Files(folder));
    EXPECT_EQ(links, ExistingLinks());
    EXPECT_FALSE(PathExists(ScriptPath()));
}

TEST_F(UninstallTest, TranslatedMessagesAreDataAndStayWithinTheirBuffer)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, "");
    DeleteFileA((folder + "\\Uninstall.lst").c_str());
    std::string module = ProgramFolder() + "\\uninstall_hostile_module\\qyxlng.dll";
    ASSERT_TRUE(CopyFileA(module.c_str(), (folder + "\\qyxlng.dll").c_str(), FALSE)) << module;

    BoxSeen confirmation, error;
    RunUninstaller(folder, IDYES, &confirmation, &error);
    EXPECT_EQ("%s%s%n Bramix", confirmation.caption);
    EXPECT_EQ("%n%s%d Continue?", confirmation.text);
    EXPECT_EQ("%s%s%n Bramix", error.caption);
    // The name goes in for the first "%s" only; the message is cut to its 200 bytes.
    std::string digits;
    for (int i = 0; i < 20; ++i) digits += "0123456789";
    std::string expected = "%d%x [Uninstall.lst] %s %n " + digits;
    EXPECT_EQ(expected.substr(0, 199), error.text);
    EXPECT_TRUE(PathExists(folder + "\\uninstall.exe"));
}

TEST_F(UninstallTest, NothingOutsideTheProgramFolderIsDeleted)
{
    std::string folder = temp_ / "Bramix";
    // Victims: beside the folder, in the drive's root, and behind a link in the folder.
    WriteFile(temp_ / "outside.txt", "outside");
    WriteFile(temp_ / "victim.txt", "victim");
    struct RootVictim {
        bool made = !PathExists("C:\\victim.txt");
        std::string content = made ? "root victim" : ReadFile("C:\\victim.txt");
        RootVictim()
        {
            if (made) WriteFile("C:\\victim.txt", content);
        }
        ~RootVictim()
        {
            if (made) DeleteFileA("C:\\victim.txt");
        }
    } rootVictim;
    MakeFolder(temp_ / "sentinel");
    WriteFile(temp_ / "sentinel\\inner.txt", "inner");
    MakeFolder(temp_ / "sentinel\\empty");
    // Removed through a link, or its attributes cleared through it, this would show.
    // (Wine shows a folder without write permission as read-only, and clearing the
    // attribute gives the permission back.)
    const std::string bare = temp_ / "bare sentinel";
    MakeFolder(bare);
    ASSERT_TRUE(RunUnix("Z:\\bin\\chmod 555 \"" + UnixPath(bare) + "\"",
                        [&] { return GetFileAttributesA(bare.c_str()) & FILE_ATTRIBUTE_READONLY; }));

    std::string list =
        "..\\outside.txt\r\n"
        "C:\\victim.txt\r\n"
        "\\victim.txt\r\n"
        "/victim.txt\r\n"
        "\\\\?\\C:\\victim.txt\r\n"
        "sub\\..\\..\\victim.txt\r\n"
        "sub/../../victim.txt\r\n"
        "docs\\..\\keep.txt\r\n"  // a ".." is never followed, even where it stays inside
        "link\\inner.txt\r\n"
        "link\\empty\r\n"
        "link\r\n"
        "bare link\r\n" +
        // An over-long line: cut into pieces, its tail would name "keep.txt".
        std::string(kListLineCapacity - 1, 'A') + "keep.txt\r\n" +
        "Bramix.exe\r\n"
        "sub\\data.txt\r\n"
        "sub\r\n"
        "docs\\manual.txt\r\n"
        "docs\r\n"
        "busy.txt\r\n"
        "uninstall.exe";
    Install(folder, list);
    for (const char* name : {"Bramix.exe", "sub\\data.txt", "docs\\manual.txt", "keep.txt"})
        WriteFileAt(folder + "\\" + name, name);
    // The user's own file keeps its folder.
    WriteFile(folder + "\\docs\\mine.txt", "mine");
    UnixLink link(folder + "\\link", temp_ / "sentinel");
    UnixLink bareLink(folder + "\\bare link", bare);
    ASSERT_TRUE(link.Made() && bareLink.Made());
    ASSERT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,
              GetFileAttributesA((folder + "\\link").c_str()) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

    // A file in use cannot go: the passes still end, and nothing is said about it.
    WriteFile(folder + "\\busy.txt", "busy");
    HANDLE busy = CreateFileA((folder + "\\busy.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);

    BoxSeen confirmation;
    RunUninstaller(folder, IDYES, &confirmation);
    ExpectConfirmation(confirmation);
    EXPECT_TRUE(WaitUntilGone({folder + "\\uninstall.exe", ScriptPath()}));
    CloseHandle(busy);

    EXPECT_EQ("outside", ReadFile(temp_ / "outside.txt"));
    EXPECT_EQ("victim", ReadFile(temp_ / "victim.txt"));
    EXPECT_EQ(rootVictim.content, ReadFile("C:\\victim.txt"));
    EXPECT_EQ((std::vector<std::string>{"empty\\", "inner.txt = inner"}), Files(temp_ / "sentinel"));
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY),
              GetFileAttributesA(bare.c_str()));
    // The rest of the list went; the link itself is gone too where the system can remove
    // a link as a link, and left where it would reach through it (Wine).
    std::vector<std::string> left = Files(folder);
    for (const char* link : {"link\\", "bare link\\"}) left.erase(std::remove(left.begin(), left.end(), link), left.end());
    EXPECT_EQ((std::vector<std::string>{"busy.txt = busy", "docs\\", "docs\\mine.txt = mine", "keep.txt = keep.txt"}), left);
}

// The passes skip what lies below a folder found missing, and nothing else: not an entry
// whose name merely begins with the folder's name, nor one below a folder that is there.
TEST_F(UninstallTest, EntriesOfMissingFoldersAndTheirNeighbours)
{
    std::string folder = temp_ / "Bramix";
    Install(folder,
            "Gone\\a.txt\r\n"
            "Gone2\\b.txt\r\n"
            "Gone\\deep\\c.txt\r\n"
            "Gonex.txt\r\n"
            "Gone\\d.txt\r\n"
            "Gone2\r\n"
            "Gone\\e.txt\r\n"
            "uninstall.exe");
    WriteFileAt(folder + "\\Gone2\\b.txt", "b");
    WriteFile(folder + "\\Gone2\\mine.txt", "mine");  // not listed: it keeps its folder
    WriteFile(folder + "\\Gonex.txt", "x");

    RunQuietly(folder);
    EXPECT_TRUE(WaitUntilGone({folder + "\\uninstall.exe", ScriptPath()}));
    EXPECT_EQ((std::vector<std::string>{"Gone2\\", "Gone2\\mine.txt = mine"}), Files(folder));
}

TEST_F(UninstallTest, ProgramStillInUseIsReportedByTheScript)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, "Bramix.exe\r\n");
    WriteFile(folder + "\\Bramix.exe", "program");
    HANDLE process = StartProcess("\"" + folder + "\\uninstall.exe\"", temp_.Path());
    ASSERT_TRUE(process);
    HWND box = WaitForBox(process, 20000);
    // Held without delete sharing, the file outlives the script's five attempts.
    HANDLE held = CreateFileA((folder + "\\uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ExpectConfirmation(Answer(box, IDYES));
    ProcessResult r = FinishProcess(process, 60000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);

    HWND warning = WaitForDialog(kCaption, 30000);
    BoxSeen seen = Answer(warning, IDOK);
    CloseHandle(held);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ("Uninstall completed\nYou should delete " + folder + "\\uninstall.exe manually", seen.text);
    EXPECT_TRUE(WaitUntilGone({ScriptPath()}));
    EXPECT_FALSE(PathExists(folder + "\\Bramix.exe"));
    EXPECT_TRUE(PathExists(folder + "\\uninstall.exe"));
}

TEST_F(UninstallTest, WithoutAnInterpreterTheProgramStays)
{
    std::string folder = temp_ / "Bramix";
    Install(folder, "Bramix.exe\r\n");
    WriteFile(folder + "\\Bramix.exe", "program");
    ScopedEnvironment comspec("COMSPEC", "");
    SetEnvironmentVariableA("COMSPEC", NULL);

    BoxSeen confirmation;
    RunUninstaller(folder, IDYES, &confirmation);
    ExpectConfirmation(confirmation);
    Sleep(3000);
    EXPECT_FALSE(PathExists(folder + "\\Bramix.exe"));
    EXPECT_TRUE(PathExists(folder + "\\uninstall.exe"));
    // The script was written, and nothing ran it. With no interpreter named, the 9x family
    // writes for its own one.
    std::string first = "\"" + folder + "\\uninstall.exe\" /wait\r\n";
    EXPECT_EQ(0u, ReadFile(ScriptPath()).find(IsNtFamily() ? first : "start /wait " + first));
}

TEST_F(UninstallTest, ProgramInTheRootOfADrive)
{
    MakeFolder(temp_ / "drive");
    MappedDrive drive(temp_ / "drive");
    if (drive.Root().empty()) GTEST_SKIP() << "no spare drive letter";
    const std::string root = drive.Root();
    ASSERT_TRUE(PathExists(root));
    Install(root, "Bramix.exe\r\ndocs\r\ndocs\\manual.txt\r\n..\\drive\\mine.txt\r\nuninstall.exe\r\n");
    WriteFile(root + "Bramix.exe", "program");
    WriteFileAt(root + "docs\\manual.txt", "manual");
    WriteFile(root + "mine.txt", "mine");

    BoxSeen confirmation;
    RunUninstaller(root, IDYES, &confirmation);
    ExpectConfirmation(confirmation);
    // The script's "rd" names the root, which stays.
    EXPECT_TRUE(WaitUntilGone({root + "uninstall.exe", ScriptPath()}));
    EXPECT_EQ((std::vector<std::string>{"mine.txt = mine"}), Files(temp_ / "drive"));
}

// Program folders whose names the command interpreter would read otherwise if the script
// held them as they stand. Each decoy is what a wrong reading would name instead.
struct OddFolder {
    const char* name;
    const char* decoy;  // null: none
    bool ansi1252;      // the name needs the Western code page
};

const OddFolder kOddFolders[] = {
    {"a%TEMP%b", nullptr, false},
    {"c%BRAMIX_UNSET%d", "cd", false},
    {"x!y!", "x", false},
    {"a&b^c(d)", nullptr, false},
    {"Pezu\xF1" "ero", "Pezu\xB1" "ero", true},  // 0xF1 read in code page 437 is U+00B1
    {"Euro\x80", nullptr, true},                 // code page 437 has no euro sign
};

TEST_F(UninstallTest, OddFolderNamesRemoveExactlyTheirOwnFiles)
{
    // The stand-in interpreter turns delayed expansion on, as a user's setting can.
    std::string log = temp_ / "interpreter.log";
    ScopedEnvironment comspec("COMSPEC", ProgramFolder() + "\\shim\\cmd.exe");
    ScopedEnvironment shimLog("BRAMIX_SHIM_LOG", log);
    ScopedEnvironment unset("BRAMIX_UNSET", "");
    SetEnvironmentVariableA("BRAMIX_UNSET", NULL);
    for (const OddFolder& odd : kOddFolders) {
        SCOPED_TRACE(odd.name);
        if (odd.ansi1252 && GetACP() != 1252) continue;
        std::string folder = temp_ / odd.name;
        Install(folder, "data.txt\r\nuninstall.exe\r\n");
        WriteFile(folder + "\\data.txt", "data");
        if (odd.decoy) {
            MakeFolder(temp_ / odd.decoy);
            WriteFile(temp_ / odd.decoy + "\\uninstall.exe", "decoy");
        }
        DeleteFileA(log.c_str());

        BoxSeen confirmation;
        RunUninstaller(folder, IDYES, &confirmation);
        EXPECT_TRUE(WaitUntilGone({folder, ScriptPath()}))
            << ::testing::PrintToString(Files(folder)) << "\nscript: " << ReadFile(ScriptPath())
            << "\ninterpreter: " << ReadFile(log);
        if (odd.decoy) {
            EXPECT_EQ("decoy", ReadFile(temp_ / odd.decoy + "\\uninstall.exe"));
        }
        std::string line = ReadFile(log);
        EXPECT_NE(std::string::npos, line.find("cmd.exe /d /v:off /c \"" + ScriptPath() + "\"")) << line;
    }
}

} // namespace

namespace {

TEST_F(UninstallTest, WhatIsInUseGoesAtTheNextRestart)
{
    std::string folder = temp_ / "Bramix";
    // The running program is listed too, as installers do: the script removes it, and a
    // deletion at the restart would hit a program installed there anew.
    Install(folder, "sub\r\nsub\\held.txt\r\nfree.txt\r\nuninstall.exe\r\n");
    WriteFileAt(folder + "\\sub\\held.txt", "held");
    WriteFileAt(folder + "\\free.txt", "free");
    std::string held = folder + "\\sub\\held.txt";
    HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);

    RunQuietly(folder);
    EXPECT_FALSE(PathExists(folder + "\\free.txt"));
    EXPECT_TRUE(PathExists(held));
    EXPECT_TRUE(WaitUntilGone({folder + "\\uninstall.exe", ScriptPath()}));

    std::vector<std::string> pending;
    for (const std::string& p : RestartDeletions()) pending.push_back(LongPath(p));
    std::vector<std::string> expected = {held};
    // Folders go after what they hold; the 9x family's list removes files only.
    if (IsNtFamily()) expected = {held, folder + "\\sub", folder};
    EXPECT_EQ(expected, pending);

    // The restart: the file is free again, and the list is carried out in its order.
    CloseHandle(open);
    for (const std::string& p : RestartDeletions()) {
        DWORD attributes = GetFileAttributesA(p.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            RemoveDirectoryA(p.c_str());
        else
            DeleteFileA(p.c_str());
    }
    EXPECT_FALSE(PathExists(held));
    if (IsNtFamily()) {
        EXPECT_FALSE(PathExists(folder));
    }
}

} // namespace

namespace {

bool InView(HKEY root, const char* path, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// On 64-bit Windows each build writes its own registry view: the x86_64 build the 64-bit
// one, the i686 build the 32-bit one (Wow6432Node), as the matching shell extension needs.
TEST_F(UninstallTest, EntriesLandInTheViewOfTheBuild)
{
    // Registry views exist only on the 64-bit NT family.
    if (!IsNtFamily()) GTEST_SKIP() << "no registry views on the 9x family";
    std::string folder = temp_ / "Bramix";
    Install(folder, "");
    Integrate(folder);
    const REGSAM own = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    const struct {
        const char* path;
        bool shared;  // a key that both views share (App Paths, since Windows 7)
    } entries[] = {
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver", false},
        {"Software\\Classes\\Bramix\\shell\\open\\command", false},
        {"Software\\Classes\\Bramix.ZIP\\shellex\\DropHandler", false},
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved", false},
        {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Bramix.exe", true},
    };
    for (const auto& e : entries) {
        EXPECT_TRUE(InView(HKEY_LOCAL_MACHINE, e.path, own)) << e.path;
        if (!e.shared) {
            EXPECT_FALSE(InView(HKEY_LOCAL_MACHINE, e.path, other)) << e.path << " also in the other view";
        }
    }
}

} // namespace
