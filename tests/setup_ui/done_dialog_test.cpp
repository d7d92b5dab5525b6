// The completion dialog, worked as a user would.
#include <gtest/gtest.h>
#include <vector>
#include "driver/globals.h"
#include "lang/resources.h"
#include "resources/resource.h"
#include "setup_ui/dialog_script.h"
#include "setup_ui/import_hook.h"
#include "setup_ui/setup_dialogs.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"

namespace {

const char kCaption[] = "Bramix Setup";

std::string FakeProgram() { return ProgramFolder() + "\\fake_program.exe"; }

void CopyFakeTo(const std::string& path) { ASSERT_TRUE(CopyFileA(FakeProgram().c_str(), path.c_str(), FALSE)) << path; }

// The first line a fake program noted, without its "run " ("" until it was started).
std::string StartedAs(const std::string& program)
{
    std::string log = ReadFile(program + ".log");
    if (log.compare(0, 4, "run ") != 0) return "";
    return log.substr(4, log.find('\n') - 4);
}

bool Ended(const std::string& program) { return ReadFile(program + ".log").find("\nend\n") != std::string::npos; }

class DoneDialog : public SandboxedTest {
protected:
    void SetUp() override
    {
        ProgramModule = ResourceModule = GetModuleHandleA(NULL);
        DialogIcon = LoadIconA(ResourceModule, "QYXICON");
        HeadingFont = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                                  "MS Sans Serif");
        SilentMode = false;
        GetCurrentDirectoryA(sizeof savedFolder_, savedFolder_);
        g_helpCalls.clear();
        SetEnvironmentVariableA("BRAMIX_FAKE_SLEEP_MS", NULL);
    }
    void TearDown() override
    {
        SilentMode = false;
        SetCurrentDirectoryA(savedFolder_);
        DeleteObject(HeadingFont);
        SetEnvironmentVariableA("BRAMIX_FAKE_SLEEP_MS", NULL);
    }

    INT_PTR Run(const std::function<void(HWND)>& script)
    {
        return RunDialogScripted("DONEDLG", DoneDialogProc, kCaption, script);
    }

    // The shell opens text files and web addresses with a fake program of the folder.
    std::string RegisterViewer(const TempFolder& folder)
    {
        std::string viewer = folder / "viewer.exe";
        CopyFakeTo(viewer);
        std::string command = "\"" + viewer + "\" \"%1\"";
        WriteString(HKEY_CLASSES_ROOT, ".txt", "", "BramixTestText");
        WriteString(HKEY_CLASSES_ROOT, "BramixTestText\\shell\\open\\command", "", command);
        WriteString(HKEY_CLASSES_ROOT, "https", "", "URL:HyperText Transfer Protocol with Privacy");
        WriteString(HKEY_CLASSES_ROOT, "https", "URL Protocol", "");
        WriteString(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", "", command);
        return viewer;
    }

    char savedFolder_[MAX_PATH];
};

const ControlSpec kDoneLayout[] = {
    {1, PushButton, "Done", 140, 209, 50, 14},
    {0xFFFF, LeftText, "Bramix has been successfully installed to the folder", 17, 14, 146, 8},
    {5101, LeftText, "", 164, 14, 150, 8},
    {0xFFFF, LeftText, "Use \"Settings...\" command from the Bramix \"Options\" menu for further customization.", 17,
     33, 297, 16},
    {0xFFFF, LeftText, "If you installed Bramix for the first time, do not forget to read online help.", 17, 53,
     297, 16},
    {5108, LeftText,
     "Bramix is shareware: you may try it free of charge for 40 days. To go on using it after that, please buy "
     "a license; the license text and the price list tell you how.",
     17, 74, 297, 22},
    {5109, LeftText, "New versions of Bramix appear from time to time. Press \"Home page\" to get the latest one.",
     17, 101, 297, 16},
    {0xFFFF, GroupBox, "", 8, 2, 314, 125},
    {5102, PushButton, "&Run Bramix", 11, 134, 60, 14},
    {5103, PushButton, "Read &help", 74, 134, 60, 14},
    {5104, PushButton, "View &license", 136, 134, 60, 14},
    {5105, PushButton, "&Price list", 198, 134, 60, 14},
    {5106, PushButton, "Ho&me page", 259, 134, 60, 14},
    {0xFFFF, GroupBox, "", 8, 152, 314, 50},
    {5107, CentredText, "Thank you for using Bramix !", 17, 173, 297, 8},
};
const size_t kDoneCount = sizeof kDoneLayout / sizeof kDoneLayout[0];

TEST_F(DoneDialog, Template)
{
    ExpectTemplate("DONEDLG", DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kCaption, 331, 228,
                   kDoneLayout, kDoneCount);
}

TEST_F(DoneDialog, ShowsTheInstallationFolderWithIconAndHeading)
{
    TempFolder folder;
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    std::vector<ControlSpec> layout(kDoneLayout, kDoneLayout + kDoneCount);
    layout[2].text = folder.Path().c_str();
    INT_PTR result = Run([&](HWND d) {
        ExpectLayout(d, kCaption, 331, 228, layout.data(), layout.size());
        EXPECT_EQ((LRESULT)DialogIcon, SendMessageA(d, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ((LRESULT)HeadingFont, SendDlgItemMessageA(d, IDC_DONE_THANKS, WM_GETFONT, 0, 0));
        EXPECT_NE((LRESULT)HeadingFont, SendDlgItemMessageA(d, IDC_DONE_NOTE, WM_GETFONT, 0, 0));
        Click(d, IDOK);
    });
    EXPECT_EQ(1, result);
}

TEST_F(DoneDialog, EveryWayOutEndsWithOne)
{
    const struct {
        const char* how;
        void (*close)(HWND);
    } ways[] = {
        {"Done", [](HWND d) { Click(d, IDOK); }},
        {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
        {"close box", [](HWND d) { PressCloseBox(d); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        EXPECT_EQ(1, Run([&](HWND d) { way.close(d); }));
    }
}

TEST_F(DoneDialog, SilentModeEndsUnseenAndStartsNothing)
{
    TempFolder folder;
    CopyFakeTo(folder / "Bramix.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    ImportHook help("user32.dll", "WinHelpA", (void*)RecordHelp);
    SilentMode = true;
    bool shown = true;
    EXPECT_EQ(1, RunDialogUnattended("DONEDLG", DoneDialogProc, &shown));
    EXPECT_FALSE(shown);
    Sleep(300);
    EXPECT_EQ("", StartedAs(folder / "Bramix.exe"));
    EXPECT_TRUE(g_helpCalls.empty());
}

TEST_F(DoneDialog, RunStartsBramixOfTheFolderAndDoesNotWait)
{
    // A folder with a blank, and beside it a program named like its first word: an
    // unquoted command line would start that one instead.
    TempFolder root;
    std::string folder = root / "my apps";
    MakeFolder(folder);
    CopyFakeTo(folder + "\\Bramix.exe");
    CopyFakeTo(root / "my.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    SetEnvironmentVariableA("BRAMIX_FAKE_SLEEP_MS", "2000");
    DWORD clickMs = 0;
    INT_PTR result = Run([&](HWND d) {
        DWORD start = GetTickCount();
        Click(d, IDC_DONE_RUN);
        clickMs = GetTickCount() - start;
        EXPECT_TRUE(IsWindow(d)) << "the dialog stays open";
        Click(d, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_LT(clickMs, 1000u) << "the dialog waited for Bramix";
    std::string bramix = folder + "\\Bramix.exe";
    EXPECT_TRUE(WaitUntil([&] { return StartedAs(bramix) != ""; }, 5000));
    EXPECT_FALSE(Ended(bramix)) << "Bramix was still running when the dialog went on";
    EXPECT_EQ("\"" + bramix + "\"", StartedAs(bramix));
    EXPECT_NE(std::string::npos, ReadFile(bramix + ".log").find("\nin " + folder + "\n"));
    EXPECT_EQ("", StartedAs(root / "my.exe"));
    EXPECT_TRUE(WaitUntil([&] { return Ended(bramix); }, 10000));
    SetCurrentDirectoryA(savedFolder_);
}

TEST_F(DoneDialog, LicencePriceListAndHomePageOpenWithTheShell)
{
    TempFolder folder;
    std::string viewer = RegisterViewer(folder);
    WriteFile(folder / "license.txt", "licence\r\n");
    WriteFile(folder / "order.txt", "prices\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const struct {
        int button;
        std::string opened;
    } cases[] = {
        {IDC_DONE_LICENSE, folder / "license.txt"},
        {IDC_DONE_PRICES, folder / "order.txt"},
        {IDC_DONE_HOMEPAGE, "https://www.bramix.example/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opened);
        DeleteFileA((viewer + ".log").c_str());
        EXPECT_EQ(1, Run([&](HWND d) {
                      Click(d, c.button);
                      EXPECT_TRUE(IsWindow(d)) << "the dialog stays open";
                      Click(d, IDOK);
                  }));
        EXPECT_TRUE(WaitUntil([&] { return Ended(viewer); }, 10000));
        EXPECT_EQ("\"" + viewer + "\" \"" + c.opened + "\"", StartedAs(viewer));
    }
}

TEST_F(DoneDialog, DriveRootGetsNoSecondBackslash)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string drive = std::string(windows, 3);  // "C:\"
    std::string bramix = drive + "Bramix.exe", licence = drive + "license.txt";
    ASSERT_FALSE(PathExists(bramix)) << "a Bramix of someone else's is in the way";
    ASSERT_FALSE(PathExists(licence));
    TempFolder folder;
    std::string viewer = RegisterViewer(folder);
    CopyFakeTo(bramix);
    WriteFile(licence, "licence\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA(drive.c_str()));
    EXPECT_EQ(1, Run([&](HWND d) {
                  EXPECT_EQ(drive, ControlText(d, IDC_DONE_FOLDER));
                  Click(d, IDC_DONE_RUN);
                  Click(d, IDC_DONE_LICENSE);
                  Click(d, IDOK);
              }));
    EXPECT_TRUE(WaitUntil([&] { return Ended(bramix) && Ended(viewer); }, 10000));
    EXPECT_EQ("\"" + bramix + "\"", StartedAs(bramix));
    EXPECT_EQ("\"" + viewer + "\" \"" + licence + "\"", StartedAs(viewer));
    SetCurrentDirectoryA(savedFolder_);
    DeleteFileA(bramix.c_str());
    DeleteFileA((bramix + ".log").c_str());
    DeleteFileA(licence.c_str());
}

TEST_F(DoneDialog, ReadHelpOpensTheHelpContentsAndF1Nothing)
{
    ImportHook help("user32.dll", "WinHelpA", (void*)RecordHelp);
    ASSERT_TRUE(help.Installed());
    HWND shown = NULL;
    Run([&](HWND d) {
        shown = d;
        PressKey(d, VK_F1);
        Sleep(300);
        EXPECT_TRUE(g_helpCalls.empty()) << "the completion dialog has no help topic";
        Click(d, IDC_DONE_HELP);
        EXPECT_TRUE(IsWindow(d)) << "the dialog stays open";
        Click(d, IDOK);
    });
    ASSERT_EQ(1u, g_helpCalls.size());
    EXPECT_EQ(shown, g_helpCalls[0].owner);
    EXPECT_EQ("bramix.hlp", g_helpCalls[0].file);
    EXPECT_EQ((UINT)HELP_FINDER, g_helpCalls[0].command);
    EXPECT_EQ(0u, g_helpCalls[0].data);
}

} // namespace
