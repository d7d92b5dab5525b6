// The whole uninstaller under faults of its surroundings: a temporary folder it cannot
// write to, a listed file another program holds open, a list of many deep entries. Each
// run is quiet ("/uninstall /s"): it must show nothing, end with 0 and harm nothing else.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "support/process.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "uninstall/script_text.h"

namespace {

std::string TempPath()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return temp;
}


const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kRestartDeletions[] = "PendingFileRenameOperations";

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hadRestartDeletions_ = ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, kRestartDeletions, &restartType_,
                                         &restartDeletions_);
        ASSERT_TRUE(WatchMessageBoxes());
        script_ = TempPath() + SELF_REMOVAL_SCRIPT_NAME;
        DeleteFileA(script_.c_str());
        folder_ = temp_ / "Bramix";
        MakeFolder(folder_);
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), (folder_ + "\\uninstall.exe").c_str(), FALSE));
    }
    void TearDown() override
    {
        DeleteFileA(script_.c_str());
        // What a run left for the next restart must not reach the prefix's next start.
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (hadRestartDeletions_)
            RegSetValueExA(key, kRestartDeletions, 0, restartType_, (const BYTE*)restartDeletions_.data(),
                           (DWORD)restartDeletions_.size());
        else
            RegDeleteValueA(key, kRestartDeletions);
        RegCloseKey(key);
    }

    // Runs the installed uninstaller quietly, for at most limitMs; returns how long it ran.
    DWORD RunQuietly(DWORD limitMs = 120000)
    {
        HANDLE process = StartProcess("\"" + folder_ + "\\uninstall.exe\" /uninstall /s", temp_.Path());
        EXPECT_TRUE(process);
        if (!process) return 0;
        DWORD pid = GetProcessId(process);
        HWND shown = NULL;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT && GetTickCount() - start < limitMs)
            if (!shown) shown = FindAnyDialogOf(pid);
        EXPECT_EQ(NULL, shown) << WindowText(shown) << ": " << MessageBoxText(shown);
        if (shown) PressButton(shown, IDOK);
        ProcessResult r = FinishProcess(process, 30000);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(0u, r.exitCode);
        return r.elapsedMs;
    }

    TempFolder temp_;
    std::string folder_;
    std::string script_;
    bool hadRestartDeletions_ = false;
    DWORD restartType_ = 0;
    std::string restartDeletions_;
};

TEST_F(FaultTest, UnwritableTemporaryFolderLeavesTheProgramAndItsFolder)
{
    // A missing folder, and a file where the folder should be.
    std::string blocker = temp_ / "not-a-folder";
    WriteFile(blocker, "x");
    for (const std::string& temp : {temp_ / "missing\\deeper", blocker}) {
        SCOPED_TRACE(temp);
        WriteFile(folder_ + "\\Uninstall.lst", "Bramix.exe\r\n");
        WriteFile(folder_ + "\\Bramix.exe", "program");
        {
            ScopedEnvironment tmp("TMP", temp), tempVariable("TEMP", temp);
            RunQuietly();
        }
        Sleep(1000);
        EXPECT_FALSE(PathExists(folder_ + "\\Bramix.exe"));  // the list was still worked off
        EXPECT_TRUE(PathExists(folder_ + "\\uninstall.exe"));
        EXPECT_FALSE(PathExists(temp + "\\" SELF_REMOVAL_SCRIPT_NAME));
        EXPECT_FALSE(PathExists(script_));
        EXPECT_EQ("x", ReadFile(blocker));
    }
}

TEST_F(FaultTest, AListedFileHeldOpenStaysAndTheRestGoes)
{
    WriteFile(folder_ + "\\Uninstall.lst", "held.dat\r\nfree.dat\r\nuninstall.exe\r\n");
    WriteFile(folder_ + "\\held.dat", "held");
    WriteFile(folder_ + "\\free.dat", "free");
    HANDLE held = CreateFileA((folder_ + "\\held.dat").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD elapsed = RunQuietly();
    EXPECT_LT(elapsed, 30000u);
    EXPECT_FALSE(PathExists(folder_ + "\\free.dat"));
    EXPECT_TRUE(PathExists(folder_ + "\\held.dat"));
    // The script still removes the program; the folder stays for the file it holds.
    EXPECT_TRUE(WaitUntilGone({folder_ + "\\uninstall.exe"}));
    EXPECT_TRUE(PathExists(folder_ + "\\held.dat"));
    CloseHandle(held);
}

TEST_F(FaultTest, ManyDeepEntriesListedParentsFirstAllGo)
{
    // Twenty-five folders one inside the other, five files in each, every folder listed before
    // what it holds: each pass can remove one folder level only.
    const int depth = 25;
    std::string list, relative;
    std::vector<std::string> files;
    for (int level = 0; level < depth; ++level) {
        relative += (level ? "\\d" : "d") + std::to_string(level % 10);
        MakeFolder(folder_ + "\\" + relative);
        list += relative + "\r\n";
    }
    std::string walk;
    for (int level = 0; level < depth; ++level) {
        walk += (level ? "\\d" : "d") + std::to_string(level % 10);
        for (int i = 0; i < 5; ++i) {
            std::string file = walk + "\\f" + std::to_string(i) + ".txt";
            WriteFile(folder_ + "\\" + file, "x");
            list += file + "\r\n";
        }
    }
    list += "uninstall.exe\r\n";
    WriteFile(folder_ + "\\Uninstall.lst", list);
    DWORD elapsed = RunQuietly();
    EXPECT_LT(elapsed, 90000u);  // one pass per level, not one per entry and level
    EXPECT_FALSE(PathExists(folder_ + "\\d0"));
    EXPECT_FALSE(PathExists(folder_ + "\\Uninstall.lst"));
    EXPECT_TRUE(WaitUntilGone({folder_}));
}

TEST_F(FaultTest, AHundredThousandEntriesTwentyDeepAllGo)
{
    // Fifty branches of twenty folders one inside the other, 99 files in each folder: 100,000
    // entries with the program, each folder listed before what it holds. Each pass removes
    // one folder level, so the run takes twenty-odd passes over the whole list.
    const int branches = 50, depth = 20, filesPerFolder = 99;
    std::string list;
    list.reserve(4 * 1024 * 1024);
    for (int b = 0; b < branches; ++b) {
        std::string relative = "b" + std::to_string(b);
        for (int level = 0; level < depth; ++level) {
            if (level) relative += "\\l" + std::to_string(level);
            ASSERT_TRUE(CreateDirectoryA((folder_ + "\\" + relative).c_str(), NULL)) << relative;
            list += relative + "\r\n";
            for (int f = 0; f < filesPerFolder; ++f) {
                std::string file = relative + "\\f" + std::to_string(f);
                HANDLE h = CreateFileA((folder_ + "\\" + file).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
                ASSERT_NE(INVALID_HANDLE_VALUE, h) << file;
                CloseHandle(h);
                list += file + "\r\n";
            }
        }
    }
    list += "uninstall.exe\r\n";
    WriteFile(folder_ + "\\Uninstall.lst", list);

    // A bound far above the passes' need, and far below what one pass per entry would take.
    RunQuietly(600000);
    for (int b = 0; b < branches; ++b) EXPECT_FALSE(PathExists(folder_ + "\\b" + std::to_string(b))) << b;
    EXPECT_FALSE(PathExists(folder_ + "\\Uninstall.lst"));
    EXPECT_TRUE(WaitUntilGone({folder_}));
}

} // namespace
