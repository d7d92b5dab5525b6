// The real uninstall.exe, run in an installation folder of the test's own.
#include <gtest/gtest.h>
#include <string>
#include "support/process.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "uninstall/uninstall.h"

namespace {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), program_.c_str(), FALSE)) << BuiltProgram();
        // An installation whose list would be deleted if an uninstall ran.
        WriteFile(folder_ / "Uninstall.lst", "keep.txt\r\n");
        WriteFile(folder_ / "keep.txt", "data");
        ASSERT_TRUE(WatchMessageBoxes());
    }

    void UseModule(const char* name)
    {
        std::string from = ProgramFolder() + "\\" + name + "\\qyxlng.dll";
        ASSERT_TRUE(CopyFileA(from.c_str(), (folder_ / "qyxlng.dll").c_str(), FALSE)) << from;
    }

    HANDLE Start(const std::string& arguments)
    {
        return StartProcess("\"" + program_ + "\" " + arguments, folder_.Path());
    }

    // Runs the program and checks that it ends with 0 without showing any window.
    void ExpectQuietRun(const std::string& arguments)
    {
        HANDLE process = Start(arguments);
        ASSERT_TRUE(process) << arguments;
        DWORD pid = GetProcessId(process);
        HWND shown = NULL;
        DWORD start = GetTickCount();
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT && GetTickCount() - start < 5000)
            if (!shown) shown = FindAnyDialogOf(pid);
        EXPECT_EQ(NULL, shown) << "\"" << arguments << "\" showed \"" << WindowText(shown) << "\"";
        if (shown) PressButton(shown, IDCANCEL);
        ProcessResult r = FinishProcess(process, 10000);
        EXPECT_TRUE(r.finished) << arguments;
        EXPECT_EQ(0u, r.exitCode) << arguments;
        EXPECT_TRUE(PathExists(folder_ / "keep.txt")) << "\"" << arguments << "\" uninstalled";
    }

    // Runs "/warning", answers its box and returns caption, text and icon.
    void Warning(std::string* caption, std::string* text, IconStyle* icon)
    {
        HANDLE process = Start("/warning");
        ASSERT_TRUE(process);
        HWND box = NULL;
        DWORD start = GetTickCount();
        while (!box && GetTickCount() - start < 10000) {
            box = FindAnyDialogOf(GetProcessId(process));
            if (!box) Sleep(20);
        }
        ASSERT_TRUE(box) << "no message box";
        *caption = WindowText(box);
        *text = MessageBoxText(box);
        *icon = MessageBoxIcon(box);
        PressButton(box, IDOK);
        ProcessResult r = FinishProcess(process, 10000);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(0u, r.exitCode);
    }

    ScopedWindowsVersion family_{"uninstall.exe", nullptr};
    TempFolder folder_;
    std::string program_ = folder_ / "uninstall.exe";
};

TEST_F(ProgramTest, WaitSleepsTwoSeconds)
{
    HANDLE process = Start("/wait");
    ASSERT_TRUE(process);
    DWORD pid = GetProcessId(process);
    ProcessResult r = FinishProcess(process, 10000);
    EXPECT_TRUE(r.finished);
    EXPECT_GE(r.elapsedMs, 1900u);
    EXPECT_LT(r.elapsedMs, 6000u);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_EQ(NULL, FindAnyDialogOf(pid));
}

TEST_F(ProgramTest, WaitOutlastsASlowUninstall)
{
    // The uninstalling instance is still ending after the two seconds.
    HANDLE running = CreateMutexA(NULL, TRUE, kUninstallRunningName);
    ASSERT_TRUE(running);
    HANDLE process = Start("/wait");
    ASSERT_TRUE(process);
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(process, 4000));
    ReleaseMutex(running);
    ProcessResult r = FinishProcess(process, 10000);
    EXPECT_TRUE(r.finished);
    EXPECT_LT(r.elapsedMs, 5000u);
    EXPECT_EQ(0u, r.exitCode);
    CloseHandle(running);
}

TEST_F(ProgramTest, SwitchesThatDoNothing)
{
    const char* lines[] = {"/s", "/clean", "/warn", "/s ", "/CLEAN /s", "/unknown", "/setup /wai"};
    for (const char* line : lines) ExpectQuietRun(line);
}

TEST_F(ProgramTest, WarningNamesTheProgram)
{
    std::string caption, text;
    IconStyle icon;
    Warning(&caption, &text, &icon);
    EXPECT_EQ("Uninstall Bramix", caption);
    EXPECT_EQ("Uninstall completed\nYou should delete " + program_ + " manually", text);
    EXPECT_STREQ("information", IconStyleName(icon));
}

TEST_F(ProgramTest, WarningTakesTextsFromTheLanguageModule)
{
    UseModule("german_module");
    std::string caption, text;
    IconStyle icon;
    Warning(&caption, &text, &icon);
    EXPECT_EQ("Bramix entfernen", caption);
    // The module lacks string 5106: it comes from the executable.
    EXPECT_EQ("Entfernen abgeschlossen\nYou should delete " + program_ + " manually", text);
}

TEST_F(ProgramTest, WarningTreatsTranslatedTextsAsData)
{
    UseModule("hostile_module");
    std::string caption, text;
    IconStyle icon;
    Warning(&caption, &text, &icon);
    EXPECT_EQ("%s%s%s%n", caption);
    // The path goes in for the first "%s" only, and the message is cut at 511 bytes.
    std::string first = text.substr(0, text.find('\n'));
    EXPECT_EQ(0u, first.find("%d%x%s 0123"));
    std::string second = text.substr(text.find('\n') + 1);
    EXPECT_EQ(0u, second.find(program_ + " %s %n %d 0123")) << second;
    EXPECT_EQ(511u, text.size());
}

} // namespace
