// The real uninstall.exe in an installation folder of the test's own: "/setup" through
// its dialogs, silently, twice, and the uninstall that undoes it. These runs use the
// prefix's real registry and special folders; whatever a failed run leaves is removed.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include "integration/integration.h"
#include "setup_ui/dialog_script.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "uninstall/uninstall.h"

namespace {

const char kSettings[] = "Software\\Bramix";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Bramix.exe";
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char kClsid[] = "{B41DB860-8EE4-11D2-9906-E49FADC173CA}";
const char* const kExtensions[] = {".qyx", ".zip", ".cab", ".arj", ".lzh", ".lha", ".ace", ".tar", ".gz", ".tgz",
                                   ".uue", ".xxe", ".uu", ".bz2", ".tbz2", ".bz", ".tbz", ".jar", ".iso", ".rev"};

// Everything of the registry that set-up or uninstall may touch, as one text; without
// the shell's standard classes, whose emptied handler keys the uninstall leaves.
std::string ProductRegistry(bool withStandardClasses = true)
{
    std::string out;
    for (const char* e : kExtensions) out += DumpKey(HKEY_CLASSES_ROOT, e);
    for (int n = 0; n < 100; ++n) {
        char name[8] = {'.', 'q', (char)('0' + n / 10), (char)('0' + n % 10), 0};
        out += DumpKey(HKEY_CLASSES_ROOT, name);
    }
    for (const char* k : {"Bramix", "Bramix.ZIP", "Bramix.REV"}) out += DumpKey(HKEY_CLASSES_ROOT, k);
    out += DumpKey(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid);
    if (withStandardClasses)
        for (const char* k : {"*\\shellex", "Folder\\shellex", "Directory\\shellex", "Drive\\shellex",
                              "exefile\\shellex"})
            out += DumpKey(HKEY_CLASSES_ROOT, k);
    out += "approved: " + ReadString(HKEY_LOCAL_MACHINE, kApproved, kClsid) + "\n";
    out += DumpKey(HKEY_LOCAL_MACHINE, kUninstallKey) + DumpKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
    out += DumpKey(HKEY_CURRENT_USER, kSettings);
    return out;
}

struct Links {
    std::string desktop, startMenu, programs, commonPrograms;
    Links()
        : desktop(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Bramix.lnk"),
          startMenu(SpecialFolder(CSIDL_STARTMENU) + "\\Bramix.lnk"),
          programs(SpecialFolder(CSIDL_PROGRAMS) + "\\Bramix"),
          commonPrograms(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Bramix")
    {
    }
    std::string State() const
    {
        std::string out;
        for (const std::string* f : {&desktop, &startMenu}) out += *f + (PathExists(*f) ? " present\n" : " absent\n");
        for (const std::string* g : {&programs, &commonPrograms}) {
            out += *g + ":";
            for (const std::string& name : FolderNames(*g)) out += " " + name;
            out += PathExists(*g) ? "\n" : " absent\n";
        }
        return out;
    }
};

class SetupRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(NULL);
        RemoveLeftovers();
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), program_.c_str(), FALSE));
        for (const char* f : {"Bramix.exe", "qyxext.dll", "bramix.hlp", "Qyx.txt", "license.txt", "order.txt"})
            WriteFile(folder_ / f, std::string("sample ") + f + "\r\n");
        WriteFile(folder_ / "Uninstall.lst",
                  "Bramix.exe\r\nqyxext.dll\r\nbramix.hlp\r\nQyx.txt\r\nlicense.txt\r\norder.txt\r\n"
                  "qyxnew.dat\r\nzipnew.dat\r\nuninstall.exe\r\n");
        // Another program owns ".zip" (with a content type and a "New" entry) and ".iso".
        WriteString(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
        WriteString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-zip-compressed");
        WriteString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "otherzip-empty.zip");
        WriteString(HKEY_CLASSES_ROOT, ".iso", "", "OtherDisc.Image");
        before_ = ProductRegistry();
        beforeOwn_ = ProductRegistry(false);
        linksBefore_ = links_.State();
    }

    void TearDown() override
    {
        RemoveLeftovers();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".zip");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".iso");
        CoUninitialize();
    }

    // What an earlier failed run may have left: undone the way the uninstaller does it.
    void RemoveLeftovers()
    {
        if (KeyExists(HKEY_CURRENT_USER, kSettings) || KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey) ||
            KeyExists(HKEY_CLASSES_ROOT, "Bramix"))
            RemoveIntegration();
        // And whatever that did not reach.
        for (const char* e : kExtensions) {
            std::string type = ReadString(HKEY_CLASSES_ROOT, e, "");
            if (type == "Bramix" || type == "Bramix.ZIP" || type == "Bramix.REV") RegDeleteTreeA(HKEY_CLASSES_ROOT, e);
        }
        for (int n = 0; n < 100; ++n) {
            char name[8] = {'.', 'q', (char)('0' + n / 10), (char)('0' + n % 10), 0};
            RegDeleteTreeA(HKEY_CLASSES_ROOT, name);
        }
        for (const char* k : {"Bramix", "Bramix.ZIP", "Bramix.REV"}) RegDeleteTreeA(HKEY_CLASSES_ROOT, k);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsid).c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettings);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPathsKey);
        for (const std::string* g : {&links_.programs, &links_.commonPrograms}) DeleteTree(*g);
        DeleteFileA(links_.desktop.c_str());
        DeleteFileA(links_.startMenu.c_str());
    }

    HANDLE Start(const std::string& arguments)
    {
        return StartProcess("\"" + program_ + "\" " + arguments, folder_.Path());
    }

    // "/setup /s": ends by itself without a window that waits; closes the group's window.
    void SilentSetup()
    {
        HANDLE process = Start("/setup /s");
        ASSERT_TRUE(process);
        DWORD pid = GetProcessId(process);
        HWND shown = NULL;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT && GetTickCount() - start < 30000)
            if (!shown) shown = FindAnyDialogOf(pid);
        EXPECT_EQ(NULL, shown) << "silent set-up showed \"" << WindowText(shown) << "\"";
        if (shown) PressButton(shown, IDCANCEL);
        ProcessResult r = FinishProcess(process, 30000);
        EXPECT_TRUE(r.finished) << "silent set-up waited for something";
        EXPECT_EQ(0u, r.exitCode);
        EXPECT_TRUE(CloseFolderWindow(links_.programs, 10000)) << "the program group was not opened";
    }

    // Runs the uninstall entry's command, confirms, and waits for the folder to go.
    void Uninstall()
    {
        std::string command = ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
        ASSERT_EQ(program_, command);
        HANDLE process = StartProcess(command, "");
        ASSERT_TRUE(process);
        HWND box = WaitForDialog("Uninstall Bramix", 20000, GetProcessId(process));
        ASSERT_TRUE(box != NULL) << "no confirmation";
        EXPECT_EQ("Continue with uninstall Bramix", MessageBoxText(box));
        PressButton(box, IDYES);
        EXPECT_TRUE(FinishProcess(process, 30000).finished);
        EXPECT_TRUE(WaitUntil([&] { return !PathExists(folder_.Path()); }, 30000))
            << "the installation folder is still there";
        EXPECT_EQ(NULL, WaitForDialog("Uninstall Bramix", 500)) << "a warning was shown";
    }

    ScopedWindowsVersion family_{"uninstall.exe", nullptr};
    TempFolder folder_;
    std::string program_ = folder_ / "uninstall.exe";
    Links links_;
    std::string before_, beforeOwn_, linksBefore_;
};

TEST_F(SetupRun, SilentSetupTwiceThenUninstall)
{
    SilentSetup();
    std::string first = ProductRegistry();
    std::string firstLinks = links_.State();
    // The defaults of a first run: ZIP taken over with a backup, ISO left to its owner.
    EXPECT_EQ("Bramix.ZIP", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
    EXPECT_EQ("OtherZip.Archive", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Type"));
    EXPECT_EQ("OtherDisc.Image", ReadString(HKEY_CLASSES_ROOT, ".iso", ""));
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".qyx", ""));
    EXPECT_EQ(folder_ / "qyxext.dll",
              ReadString(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid + "\\InProcServer32", ""));
    EXPECT_EQ(folder_.Path(), ReadString(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"));
    EXPECT_FALSE(PathExists(links_.desktop));
    EXPECT_TRUE(PathExists(links_.programs + "\\Bramix.lnk"));
    EXPECT_EQ(IsNtFamily(), PathExists(links_.commonPrograms + "\\Bramix.lnk"));

    SilentSetup();
    EXPECT_EQ(first, ProductRegistry()) << "a second silent set-up changed the registry";
    EXPECT_EQ(firstLinks, links_.State());

    Uninstall();
    if (HasFatalFailure()) return;
    // Everything is gone and the earlier owners are back; what stays are the shell's
    // handler keys of the standard classes, emptied, which the shell ignores.
    EXPECT_EQ(beforeOwn_, ProductRegistry(false));
    for (const char* k : {"*\\shellex\\ContextMenuHandlers\\Bramix", "Folder\\shellex\\DragDropHandlers\\Bramix",
                          "Drive\\shellex\\DragDropHandlers\\Bramix"})
        EXPECT_EQ("<missing>", ReadString(HKEY_CLASSES_ROOT, k, "")) << k;
    EXPECT_EQ("OtherZip.Archive", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
    EXPECT_EQ("application/x-zip-compressed", ReadString(HKEY_CLASSES_ROOT, ".zip", "Content Type"));
    EXPECT_EQ("otherzip-empty.zip", ReadString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName"));
    EXPECT_EQ("OtherDisc.Image", ReadString(HKEY_CLASSES_ROOT, ".iso", ""));
    for (const char* k : {"Bramix", "Bramix.ZIP", "Bramix.REV", ".rev", ".qyx", ".q00", ".cab"})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey));
    EXPECT_EQ("<missing>", ReadString(HKEY_LOCAL_MACHINE, kApproved, kClsid));
    EXPECT_EQ(linksBefore_, links_.State());
}

TEST_F(SetupRun, EscapeAppliesNothingAndShowsNoCompletion)
{
    HANDLE process = Start("/setup");
    ASSERT_TRUE(process);
    DWORD pid = GetProcessId(process);
    HWND setup = WaitForDialog("Bramix Setup", 20000, pid);
    ASSERT_TRUE(setup != NULL);
    EXPECT_EQ("&Context menu items...", ControlText(setup, 5121));
    // Choices changed, then cancelled.
    Click(setup, 5112);
    Click(setup, 5113);
    PressKey(setup, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(setup, 10000));
    EXPECT_EQ(NULL, WaitForDialog("Bramix Setup", 1000, pid)) << "a completion dialog followed";
    ProcessResult r = FinishProcess(process, 10000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_EQ(before_, ProductRegistry());
    EXPECT_EQ(linksBefore_, links_.State());
}

TEST_F(SetupRun, InteractiveSetupThroughBothDialogs)
{
    HANDLE process = Start("/setup");
    ASSERT_TRUE(process);
    DWORD pid = GetProcessId(process);
    HWND setup = WaitForDialog("Bramix Setup", 20000, pid);
    ASSERT_TRUE(setup != NULL);
    EXPECT_FALSE(Checked(setup, 5112)) << "ISO belongs to another program";
    Click(setup, 5112);                 // ISO on
    Click(setup, 5115);                 // no program group
    PressButton(setup, IDOK);
    EXPECT_TRUE(WaitForWindowGone(setup, 20000));
    HWND done = WaitForDialog("Bramix Setup", 20000, pid);
    ASSERT_TRUE(done != NULL) << "no completion dialog";
    EXPECT_EQ(folder_.Path(), ControlText(done, 5101));
    PressKey(done, VK_ESCAPE);
    ProcessResult r = FinishProcess(process, 20000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".iso", ""));
    EXPECT_EQ("OtherDisc.Image", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.iso", "Type"));
    EXPECT_FALSE(PathExists(links_.programs)) << "no group was chosen";
    EXPECT_FALSE(CloseFolderWindow(links_.programs, 1000, false)) << "a folder was opened without a group";

    Uninstall();
    if (HasFatalFailure()) return;
    EXPECT_EQ(beforeOwn_, ProductRegistry(false));
    EXPECT_EQ(linksBefore_, links_.State());
}

} // namespace
