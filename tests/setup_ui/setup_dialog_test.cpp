// The set-up dialog and the context-menu items dialog, worked as a user would.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "driver/globals.h"
#include "lang/resources.h"
#include "resources/resource.h"
#include "setup_ui/dialog_script.h"
#include "setup_ui/import_hook.h"
#include "setup_ui/setup_dialogs.h"
#include "support/sandbox.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"

namespace {

const char kCaption[] = "Bramix Setup";
const char kItemsCaption[] = "Context menu items";
const char kSettings[] = "Software\\Bramix";
const char kMenuItems[] = "Software\\Bramix\\Setup\\MenuItems";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver";
const int kTypeIds[12] = {5101, 5102, 5103, 5104, 5105, 5106, 5107, 5108, 5109, 5110, 5111, 5112};
const char* const kTypeKeys[11] = {".qyx", ".zip", ".cab", ".arj", ".lzh", ".ace",
                                   ".tar", ".gz",  ".uue", ".bz2", ".jar"};
const char* const kItemNames[9] = {"ExtrTo", "ExtrHere", "Extr", "ExtrSep", "OpenSFX",
                                   "AddTo", "AddArc", "EmailArc", "EmailOpt"};

// The registry sandboxed, the links in the prefix's own folders and removed afterwards.
class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramModule = ResourceModule = GetModuleHandleA(NULL);
        richEdit_ = LoadLibraryA("riched32.dll");
        DialogIcon = LoadIconA(ResourceModule, "QYXICON");
        SilentMode = false;
        ProgramGroupFolder[0] = '\0';
        // OK applies, and the association step makes its templates beside the program,
        // which here is the folder that all tests share.
        for (int i = 0; i < 2; ++i) templateWasThere_[i] = PathExists(Template(i));
        // Another program owns ".iso", as on most machines.
        WriteString(HKEY_CLASSES_ROOT, ".iso", "", "OtherIsoTool");
    }
    void TearDown() override
    {
        SilentMode = false;
        if (richEdit_) FreeLibrary(richEdit_);
        for (int i = 0; i < 2; ++i)
            if (!templateWasThere_[i]) DeleteFileA(Template(i).c_str());
    }

    static std::string Template(int i) { return ProgramFolder() + (i ? "\\zipnew.dat" : "\\qyxnew.dat"); }

    INT_PTR Run(const std::function<void(HWND)>& script)
    {
        return RunDialogScripted("SETUPDLG", SetupDialogProc, kCaption, script);
    }

    // Opens the context-menu items dialog from the set-up dialog.
    static HWND OpenItems(HWND setup)
    {
        PressButton(setup, IDC_SETUP_CONTEXTITEMS);
        HWND items = WaitForDialog(kItemsCaption, 5000, GetCurrentProcessId());
        EXPECT_TRUE(items != NULL) << "the context-menu items dialog did not open";
        return items;
    }

    static std::string Settings(const std::string& key, const char* name)
    {
        DWORD type = 0;
        std::string data;
        if (!ReadValue(HKEY_CURRENT_USER, std::string(kSettings) + key, name, &type, &data)) return "missing";
        if (type != REG_DWORD || data.size() != 4) return "not a REG_DWORD";
        return std::to_string(*(const DWORD*)data.data());
    }

    std::string Group() const { return box_.programs + "\\Bramix"; }

    LinkSandbox box_;
    HMODULE richEdit_ = NULL;
    bool templateWasThere_[2] = {};
};

// What the eighteen boxes show: the twelve archive types, then 5113 to 5118.
struct Marks {
    std::string types;      // "1" or "0" for 5101..5112
    std::string interface;  // for 5113..5118
};

Marks ReadMarks(HWND dialog)
{
    Marks m;
    for (int id = 5101; id <= 5112; ++id) m.types += Checked(dialog, id) ? '1' : '0';
    for (int id = 5113; id <= 5118; ++id) m.interface += Checked(dialog, id) ? '1' : '0';
    return m;
}

const char kExplanation[] =
    "   These options control integration of Bramix into Windows. The first group of options allows to "
    "choose archive types to handle by Bramix. The second group selects places to put links to Bramix "
    "executable. And the last group controls integration into Windows shell. Shell integration provides "
    "handy facilities like \"Extract\" item in archive context menus, so usually there is no reason to "
    "disable it.\r\n"
    "   Press \"Help\" button to read more detailed description of these options.";

const ControlSpec kSetupLayout[] = {
    {1, PushButton, "OK", 111, 209, 50, 14},
    {0xFFFF, GroupBox, "Associate Bramix with", 7, 5, 127, 132},
    {5101, CheckBox, "&QYX", 16, 21, 37, 12},
    {5102, CheckBox, "&ZIP", 16, 33, 37, 12},
    {5103, CheckBox, "CAB", 16, 45, 37, 12},
    {5104, CheckBox, "ARJ", 16, 57, 37, 12},
    {5105, CheckBox, "LZH", 16, 69, 37, 12},
    {5106, CheckBox, "ACE", 16, 81, 37, 12},
    {5107, CheckBox, "TAR", 80, 21, 37, 12},
    {5108, CheckBox, "GZip", 80, 33, 37, 12},
    {5109, CheckBox, "UUE", 80, 45, 37, 12},
    {5110, CheckBox, "BZ2", 80, 57, 37, 12},
    {5111, CheckBox, "JAR", 80, 69, 37, 12},
    {5112, CheckBox, "ISO", 80, 81, 37, 12},
    {0xFFFF, EtchedLine, "", 8, 114, 127, 1},
    {5119, PushButton, "Select &all", 16, 119, 50, 14},
    {0xFFFF, GroupBox, "Interface", 140, 5, 184, 57},
    {5113, CheckBox, "Put Bramix to &Desktop", 148, 19, 170, 12},
    {5114, CheckBox, "Put Bramix to &Start Menu", 148, 31, 170, 12},
    {5115, CheckBox, "Create Bramix &program group", 148, 43, 170, 12},
    {5116, CheckBox, "&Integrate Bramix into shell", 148, 78, 170, 12},
    {0xFFFF, GroupBox, "Shell integration", 140, 65, 184, 72},
    {5117, CheckBox, "Cascaded con&text menus", 148, 90, 170, 12},
    {5118, CheckBox, "Ico&ns in context menus", 148, 102, 170, 12},
    {9, PushButton, "Help", 169, 209, 50, 14},
    {0xFFFF, GroupBox, "", 7, 139, 317, 63},
    {5120, RichEdit, kExplanation, 12, 147, 306, 50},
    {5121, PushButton, "&Context menu items...", 148, 119, 100, 14},
};

const ControlSpec kItemsLayout[] = {
    {0xFFFF, GroupBox, "Choose items to display in Explorer context menus", 7, 7, 229, 130},
    {101, CheckBox, "Extr&act files...", 16, 21, 210, 12},
    {102, CheckBox, "E&xtract Here", 16, 33, 210, 12},
    {103, CheckBox, "&Extract to <folder>", 16, 45, 210, 12},
    {104, CheckBox, "Extract each archive to &separate folder", 16, 57, 210, 12},
    {105, CheckBox, "Open with Bramix (for SFX archives)", 16, 69, 210, 12},
    {106, CheckBox, "&Add to archive...", 16, 81, 210, 12},
    {107, CheckBox, "Add &to <archive name>", 16, 93, 210, 12},
    {108, CheckBox, "Compress to <archive name> and email", 16, 105, 210, 12},
    {109, CheckBox, "Compress and email...", 16, 117, 210, 12},
    {1, DefaultButton, "OK", 35, 144, 50, 14},
    {2, PushButton, "Cancel", 97, 144, 50, 14},
    {9, PushButton, "Help", 158, 144, 50, 14},
};

const DWORD kFrame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST_F(SetupDialog, TemplatesOfBothDialogs)
{
    ExpectTemplate("SETUPDLG", kFrame | DS_CENTER, kCaption, 331, 228, kSetupLayout,
                   sizeof kSetupLayout / sizeof kSetupLayout[0]);
    ExpectTemplate("CONTEXTITEMS", kFrame, kItemsCaption, 243, 164, kItemsLayout,
                   sizeof kItemsLayout / sizeof kItemsLayout[0]);
}

TEST_F(SetupDialog, LayoutOfBothDialogs)
{
    Run([&](HWND setup) {
        ExpectLayout(setup, kCaption, 331, 228, kSetupLayout, sizeof kSetupLayout / sizeof kSetupLayout[0]);
        EXPECT_EQ((LRESULT)DialogIcon, SendMessageA(setup, WM_GETICON, ICON_BIG, 0));
        EXPECT_TRUE(DialogIcon != NULL);
        // Centred on the screen's work area.
        RECT window, work;
        GetWindowRect(setup, &window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 1);
        EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 1);

        HWND items = OpenItems(setup);
        if (!items) return;
        ExpectLayout(items, kItemsCaption, 243, 164, kItemsLayout, sizeof kItemsLayout / sizeof kItemsLayout[0]);
        EXPECT_EQ(setup, GetWindow(items, GW_OWNER));
        // Its client area 42, 45 dialog units into the owner's.
        RECT at = DialogUnits(items, 42, 45, 0, 0);
        POINT wanted = {at.left, at.top}, client = {0, 0};
        ClientToScreen(setup, &wanted);
        ClientToScreen(items, &client);
        EXPECT_EQ(wanted.x, client.x);
        EXPECT_EQ(wanted.y, client.y);
        PressButton(items, IDCANCEL);
        WaitForWindowGone(items, 5000);
        PressKey(setup, VK_ESCAPE);
    });
}

TEST_F(SetupDialog, FirstRunShowsTheDefaults)
{
    Marks marks;
    bool menuBoxesEnabled = false;
    Run([&](HWND d) {
        marks = ReadMarks(d);
        menuBoxesEnabled = Enabled(d, IDC_SETUP_CASCADED) && Enabled(d, IDC_SETUP_MENUICONS);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ("111111111110", marks.types) << "ISO is off while another program owns it";
    EXPECT_EQ("001101", marks.interface);
    EXPECT_TRUE(menuBoxesEnabled);
}

TEST_F(SetupDialog, ShowsTheSavedChoices)
{
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Set", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.cab", "Set", 5);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.jar", "Set", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Desktop", 1);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Programs", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "ShellExt", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "CascadedMenu", 1);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "MenuIcons", 0);
    // ".iso" is Bramix's own now: its box follows the (absent) "Set", on.
    WriteString(HKEY_CLASSES_ROOT, ".iso", "", "bramix.ZIP");
    Marks marks;
    bool cascadedEnabled = true, iconsEnabled = true;
    Run([&](HWND d) {
        marks = ReadMarks(d);
        cascadedEnabled = Enabled(d, IDC_SETUP_CASCADED);
        iconsEnabled = Enabled(d, IDC_SETUP_MENUICONS);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ("101111111101", marks.types);
    EXPECT_EQ("100010", marks.interface);
    EXPECT_FALSE(cascadedEnabled);
    EXPECT_FALSE(iconsEnabled);
}

TEST_F(SetupDialog, ShellBoxGreysTheMenuBoxesAndKeepsTheirMarks)
{
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "CascadedMenu", 1);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "MenuIcons", 0);
    INT_PTR result = Run([&](HWND d) {
        Click(d, IDC_SETUP_SHELLEXT);
        EXPECT_FALSE(Checked(d, IDC_SETUP_SHELLEXT));
        EXPECT_FALSE(Enabled(d, IDC_SETUP_CASCADED));
        EXPECT_FALSE(Enabled(d, IDC_SETUP_MENUICONS));
        EXPECT_EQ("001010", ReadMarks(d).interface) << "the marks of the grey boxes stay";
        Click(d, IDC_SETUP_SHELLEXT);
        EXPECT_TRUE(Enabled(d, IDC_SETUP_CASCADED));
        EXPECT_TRUE(Enabled(d, IDC_SETUP_MENUICONS));
        EXPECT_EQ("001110", ReadMarks(d).interface);
        // Off again and confirmed: the grey boxes are saved all the same.
        Click(d, IDC_SETUP_SHELLEXT);
        Click(d, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("0", Settings("\\Setup", "ShellExt"));
    EXPECT_EQ("1", Settings("\\Setup", "CascadedMenu"));
    EXPECT_EQ("0", Settings("\\Setup", "MenuIcons"));
}

TEST_F(SetupDialog, SelectAllChecksTheTwelveArchiveTypesOnly)
{
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.qyx", "Set", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.uue", "Set", 0);
    Marks before, after;
    Run([&](HWND d) {
        before = ReadMarks(d);
        Click(d, IDC_SETUP_SELECTALL);
        after = ReadMarks(d);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ("011111110110", before.types);
    EXPECT_EQ("111111111111", after.types);
    EXPECT_EQ(before.interface, after.interface);
}

TEST_F(SetupDialog, OkSavesWhatTheBoxesShow)
{
    INT_PTR result = Run([&](HWND d) {
        Click(d, 5102);               // ZIP off
        Click(d, 5112);               // ISO on: not remembered
        Click(d, IDC_SETUP_DESKTOP);  // on
        Click(d, IDC_SETUP_PROGRAMS); // off
        Click(d, IDC_SETUP_MENUICONS);
        Click(d, IDOK);
    });
    EXPECT_EQ(1, result);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(i == 1 ? "0" : "1", Settings(std::string("\\Setup\\") + kTypeKeys[i], "Set")) << kTypeKeys[i];
    EXPECT_EQ("missing", Settings("\\Setup\\.iso", "Set")) << "the ISO choice is not remembered";
    EXPECT_EQ("1", Settings("\\Setup\\Links", "Desktop"));
    EXPECT_EQ("0", Settings("\\Setup\\Links", "StartMenu"));
    EXPECT_EQ("0", Settings("\\Setup\\Links", "Programs"));
    EXPECT_EQ("1", Settings("\\Setup", "ShellExt"));
    EXPECT_EQ("0", Settings("\\Setup", "CascadedMenu"));
    EXPECT_EQ("0", Settings("\\Setup", "MenuIcons"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuItems)) << "the items are the other dialog's";
    // And applied: ".iso" too, though its choice is not remembered.
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".qyx", ""));
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".iso", ""));
    EXPECT_EQ("OtherIsoTool", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.iso", "Type"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zip"));
    EXPECT_TRUE(PathExists(box_.desktop + "\\Bramix.lnk"));
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_EQ('\0', ProgramGroupFolder[0]) << "no group, nothing to open";
    EXPECT_EQ(ProgramPath(), ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
}

TEST_F(SetupDialog, CancelSavesAndAppliesNothing)
{
    const struct {
        const char* how;
        void (*cancel)(HWND);
    } ways[] = {
        {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
        {"close box", [](HWND d) { PressCloseBox(d); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        std::string classes = DumpKey(HKEY_CLASSES_ROOT, "");
        std::string machine = DumpKey(HKEY_LOCAL_MACHINE, "");
        INT_PTR result = Run([&](HWND d) {
            Click(d, 5101);
            Click(d, IDC_SETUP_STARTMENU);
            way.cancel(d);
        });
        EXPECT_EQ(0, result);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
        EXPECT_EQ(classes, DumpKey(HKEY_CLASSES_ROOT, ""));
        EXPECT_EQ(machine, DumpKey(HKEY_LOCAL_MACHINE, ""));
        EXPECT_EQ('\0', ProgramGroupFolder[0]);
        EXPECT_FALSE(PathExists(Group()));
    }
}

TEST_F(SetupDialog, SilentModeConfirmsTheChoicesUnseen)
{
    struct Case {
        const char* name;
        bool saved;  // a previous run saved its choices
        const char* zip;
        const char* desktop;
        const char* programs;
        const char* icons;
    } cases[] = {
        {"first run: the defaults", false, "1", "0", "1", "1"},
        {"the saved choices", true, "0", "1", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettings);
        if (c.saved) {
            WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Set", 0);
            WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Desktop", 1);
            WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Programs", 0);
            WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "MenuIcons", 0);
        }
        SilentMode = true;
        bool shown = true;
        INT_PTR result = RunDialogUnattended("SETUPDLG", SetupDialogProc, &shown);
        SilentMode = false;
        EXPECT_EQ(1, result);
        EXPECT_FALSE(shown) << "silent mode showed the dialog";
        EXPECT_EQ("1", Settings("\\Setup\\.qyx", "Set"));
        EXPECT_EQ(c.zip, Settings("\\Setup\\.zip", "Set"));
        EXPECT_EQ(c.desktop, Settings("\\Setup\\Links", "Desktop"));
        EXPECT_EQ("0", Settings("\\Setup\\Links", "StartMenu"));
        EXPECT_EQ(c.programs, Settings("\\Setup\\Links", "Programs"));
        EXPECT_EQ("1", Settings("\\Setup", "ShellExt"));
        EXPECT_EQ("0", Settings("\\Setup", "CascadedMenu"));
        EXPECT_EQ(c.icons, Settings("\\Setup", "MenuIcons"));
        // Applied as well.
        EXPECT_EQ(!c.saved, ReadString(HKEY_CLASSES_ROOT, ".zip", "") == "Bramix.ZIP");
        EXPECT_EQ("OtherIsoTool", ReadString(HKEY_CLASSES_ROOT, ".iso", ""));
        EXPECT_EQ(!c.saved, PathExists(Group()));
        EXPECT_EQ(c.saved ? "" : Group(), std::string(ProgramGroupFolder));
        EXPECT_EQ(ProgramPath(), ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
        box_.RemoveProductLinks();
        ProgramGroupFolder[0] = '\0';
    }
}

TEST_F(SetupDialog, ContextItemsShowTheStoredValues)
{
    WriteDword(HKEY_CURRENT_USER, kMenuItems, "ExtrHere", 0);
    WriteDword(HKEY_CURRENT_USER, kMenuItems, "AddArc", 5);
    WriteDword(HKEY_CURRENT_USER, kMenuItems, "EmailOpt", 0);
    std::string marks;
    Run([&](HWND setup) {
        HWND items = OpenItems(setup);
        if (!items) return;
        for (int id = 101; id <= 109; ++id) marks += Checked(items, id) ? '1' : '0';
        PressKey(items, VK_ESCAPE);
        EXPECT_TRUE(WaitForWindowGone(items, 5000));
        EXPECT_TRUE(IsWindow(setup)) << "Escape closed the items dialog only";
        PressKey(setup, VK_ESCAPE);
    });
    EXPECT_EQ("101111110", marks);
    // Cancel wrote nothing: the odd value stays as it was.
    EXPECT_EQ("5", Settings("\\Setup\\MenuItems", "AddArc"));
    EXPECT_EQ("missing", Settings("\\Setup\\MenuItems", "ExtrTo"));
}

TEST_F(SetupDialog, ContextItemsAreStoredAtOnceAndKeptWhenSetupIsCancelled)
{
    WriteDword(HKEY_CURRENT_USER, kMenuItems, "AddArc", 5);
    INT_PTR result = Run([&](HWND setup) {
        HWND items = OpenItems(setup);
        if (!items) return;
        Click(items, 101);
        Click(items, 105);
        Click(items, IDOK);
        EXPECT_TRUE(WaitForWindowGone(items, 5000));
        PressKey(setup, VK_ESCAPE);
    });
    EXPECT_EQ(0, result);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(i == 0 || i == 4 ? "0" : "1", Settings("\\Setup\\MenuItems", kItemNames[i])) << kItemNames[i];
    EXPECT_EQ("missing", Settings("\\Setup", "ShellExt")) << "the cancelled set-up saved nothing";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links"));
}

// Counts the help requests that reach a dialog's window.
std::map<HWND, int> g_helpRequests;
std::map<HWND, WNDPROC> g_originalProcs;

LRESULT CALLBACK CountHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP) ++g_helpRequests[window];
    return CallWindowProcA(g_originalProcs[window], window, message, wParam, lParam);
}

void WatchHelp(HWND dialog)
{
    // Entries made before the window can use them: the dialog's thread only reads them.
    g_helpRequests[dialog] = 0;
    g_originalProcs[dialog] = (WNDPROC)GetWindowLongPtrA(dialog, GWLP_WNDPROC);
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)CountHelp);
}

TEST_F(SetupDialog, F1InTheItemsDialogStaysThere)
{
    // The help requests are counted; the help engine itself is not started.
    ImportHook help("user32.dll", "WinHelpA", (void*)RecordHelp);
    g_helpRequests.clear();
    g_originalProcs.clear();
    int setupHelp = -1, itemsHelp = -1, setupAfterItems = -1;
    Run([&](HWND setup) {
        WatchHelp(setup);
        PressKey(setup, VK_F1);
        WaitUntil([&] { return g_helpRequests[setup] > 0; }, 2000);
        setupHelp = g_helpRequests[setup];
        HWND items = OpenItems(setup);
        if (!items) return;
        WatchHelp(items);
        PressKey(items, VK_F1);
        WaitUntil([&] { return g_helpRequests[items] > 0; }, 2000);
        Sleep(200);
        itemsHelp = g_helpRequests[items];
        setupAfterItems = g_helpRequests[setup];
        PressButton(items, IDCANCEL);
        WaitForWindowGone(items, 5000);
        PressKey(setup, VK_ESCAPE);
    });
    EXPECT_EQ(1, setupHelp);
    EXPECT_EQ(1, itemsHelp);
    EXPECT_EQ(1, setupAfterItems) << "F1 in the items dialog reached the set-up dialog";
}

TEST_F(SetupDialog, HelpButtonAndF1OpenEachDialogsTopic)
{
    g_helpCalls.clear();
    ImportHook help("user32.dll", "WinHelpA", (void*)RecordHelp);
    ASSERT_TRUE(help.Installed());
    HWND setupWindow = NULL, itemsWindow = NULL;
    Run([&](HWND setup) {
        setupWindow = setup;
        Click(setup, IDHELP_BUTTON);
        PressKey(setup, VK_F1);
        WaitUntil([&] { return g_helpCalls.size() >= 2; }, 2000);
        HWND items = OpenItems(setup);
        if (!items) return;
        itemsWindow = items;
        PressKey(items, VK_F1);
        WaitUntil([&] { return g_helpCalls.size() >= 3; }, 2000);
        Click(items, IDHELP_BUTTON);
        Sleep(200);
        PressButton(items, IDCANCEL);
        WaitForWindowGone(items, 5000);
        PressKey(setup, VK_ESCAPE);
    });
    const struct {
        HWND owner;
        ULONG_PTR topic;
    } expected[] = {{setupWindow, 268}, {setupWindow, 268}, {itemsWindow, 310}, {itemsWindow, 310}};
    ASSERT_EQ(4u, g_helpCalls.size()) << "F1 in the items dialog must not reach its owner";
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].owner, g_helpCalls[i].owner);
        EXPECT_EQ("bramix.hlp", g_helpCalls[i].file);
        EXPECT_EQ((UINT)HELP_CONTEXT, g_helpCalls[i].command);
        EXPECT_EQ(expected[i].topic, g_helpCalls[i].data);
    }
}

} // namespace
