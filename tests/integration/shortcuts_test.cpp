#include <gtest/gtest.h>
#include <shlobj.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "base/path.h"
#include "integration/integration.h"
#include "lang/resources.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"

namespace {

const std::vector<std::string> kGroupLinks = {"Bramix help.lnk", "Bramix.lnk", "Console QYX manual.lnk"};

std::string InProgramFolder(const std::string& name) { return ProgramFolder() + "\\" + name; }

SetupOptions Links(bool desktop, bool startMenu, bool group)
{
    SetupOptions o;
    memset(o.Flags, 0, sizeof o.Flags);
    o.Flags[kOptionDesktop] = desktop;
    o.Flags[kOptionStartMenu] = startMenu;
    o.Flags[kOptionProgramGroup] = group;
    return o;
}

void ExpectLink(const std::string& linkFile, const std::string& target)
{
    LinkContents link = ReadLink(linkFile);
    ASSERT_TRUE(link.loaded) << linkFile;
    EXPECT_EQ(target, link.path) << linkFile;
    EXPECT_EQ("Bramix", link.description) << linkFile;
    EXPECT_EQ("", link.arguments) << linkFile;
    EXPECT_EQ("", link.iconFile) << linkFile;
}

// The group's three links, each to its file in the program folder.
void ExpectGroup(const std::string& group, const std::string& help = "Bramix help",
                 const std::string& manual = "Console QYX manual")
{
    std::vector<std::string> names = {"Bramix.lnk", help + ".lnk", manual + ".lnk"};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, FolderNames(group));
    ExpectLink(group + "\\Bramix.lnk", InProgramFolder("Bramix.exe"));
    ExpectLink(group + "\\" + help + ".lnk", InProgramFolder("Bramix.hlp"));
    ExpectLink(group + "\\" + manual + ".lnk", InProgramFolder("Qyx.txt"));
}

class ShortcutsTest : public ::testing::Test {
protected:
    ShortcutsTest()
    {
        ProgramModule = ResourceModule = GetModuleHandleA(NULL);
        memset(groupOut_, 0x5A, sizeof groupOut_);
    }
    std::string DesktopLink() const { return box_.desktop + "\\Bramix.lnk"; }
    std::string StartMenuLink() const { return box_.startMenu + "\\Bramix.lnk"; }
    std::string Group() const { return box_.programs + "\\Bramix"; }
    std::string CommonGroup() const { return box_.commonPrograms + "\\Bramix"; }
    bool Untouched(const char* buffer, size_t size) const
    {
        for (size_t i = 0; i < size; ++i)
            if ((unsigned char)buffer[i] != 0x5A) return false;
        return true;
    }

    LinkSandbox box_;
    char groupOut_[kPathCapacity + 8];
};

TEST_F(ShortcutsTest, AllOnMakesBothLinksAndTheGroups)
{
    SetupOptions o = Links(true, true, true);
    SetShortcuts(&o, groupOut_);
    ExpectLink(DesktopLink(), InProgramFolder("Bramix.exe"));
    ExpectLink(StartMenuLink(), InProgramFolder("Bramix.exe"));
    ExpectGroup(Group());
    EXPECT_STREQ(Group().c_str(), groupOut_);
    EXPECT_EQ(0x5A, (unsigned char)groupOut_[Group().size() + 1]) << "written past the path";
    if (IsNtFamily())
        ExpectGroup(CommonGroup());
    else
        EXPECT_FALSE(PathExists(CommonGroup())) << "no group for all users on the 9x family";
}

TEST_F(ShortcutsTest, AllOffRemovesTheLinksAndTheGroupsWithTheUsersFiles)
{
    SetupOptions on = Links(true, true, true);
    SetShortcuts(&on, nullptr);
    WriteFile(Group() + "\\My notes.txt", "mine");
    MakeFolder(Group() + "\\More\\Deeper");
    WriteFile(Group() + "\\More\\Deeper\\file.txt", "mine too");
    if (!IsNtFamily()) {
        // Made by an earlier set-up on the NT family: the 9x family never looks there.
        MakeFolder(CommonGroup());
        WriteFile(CommonGroup() + "\\Bramix.lnk", "x");
    } else {
        WriteFile(CommonGroup() + "\\Shared notes.txt", "theirs");
    }

    SetupOptions off = Links(false, false, false);
    SetShortcuts(&off, groupOut_);
    EXPECT_FALSE(PathExists(DesktopLink()));
    EXPECT_FALSE(PathExists(StartMenuLink()));
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_EQ(!IsNtFamily(), PathExists(CommonGroup()));
    EXPECT_TRUE(Untouched(groupOut_, sizeof groupOut_)) << "the group path is reported only when made";
}

TEST_F(ShortcutsTest, AllOffWithNothingThereChangesNothing)
{
    const std::vector<std::string> before[4] = {FolderNames(box_.desktop), FolderNames(box_.startMenu),
                                                FolderNames(box_.programs), FolderNames(box_.commonPrograms)};
    SetupOptions off = Links(false, false, false);
    SetShortcuts(&off, groupOut_);
    EXPECT_EQ(before[0], FolderNames(box_.desktop));
    EXPECT_EQ(before[1], FolderNames(box_.startMenu));
    EXPECT_EQ(before[2], FolderNames(box_.programs));
    EXPECT_EQ(before[3], FolderNames(box_.commonPrograms));
    EXPECT_TRUE(Untouched(groupOut_, sizeof groupOut_));
}

TEST_F(ShortcutsTest, RunningTwiceOverwritesTheLinksAndReusesTheGroup)
{
    SetupOptions on = Links(true, true, true);
    SetShortcuts(&on, nullptr);
    WriteFile(Group() + "\\My notes.txt", "mine");
    WriteFile(DesktopLink(), "not a link any more");
    SetShortcuts(&on, nullptr);
    ExpectLink(DesktopLink(), InProgramFolder("Bramix.exe"));
    std::vector<std::string> names = kGroupLinks;
    names.push_back("My notes.txt");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, FolderNames(Group()));
    EXPECT_EQ("mine", ReadFile(Group() + "\\My notes.txt"));
}

TEST_F(ShortcutsTest, EachFlagGovernsItsOwnLinksOnly)
{
    const struct {
        bool desktop, startMenu, group;
    } cases[] = {{true, false, false}, {false, true, false}, {false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "desktop " << c.desktop << " start menu " << c.startMenu << " group "
                                        << c.group);
        // From nothing, and from everything: the same result.
        for (bool fromAll : {false, true}) {
            box_.RemoveProductLinks();
            if (fromAll) {
                SetupOptions all = Links(true, true, true);
                SetShortcuts(&all, nullptr);
            }
            SetupOptions o = Links(c.desktop, c.startMenu, c.group);
            SetShortcuts(&o, nullptr);
            EXPECT_EQ(c.desktop, PathExists(DesktopLink()));
            EXPECT_EQ(c.startMenu, PathExists(StartMenuLink()));
            EXPECT_EQ(c.group, PathExists(Group()));
            EXPECT_EQ(c.group && IsNtFamily(), PathExists(CommonGroup()));
        }
    }
}

TEST_F(ShortcutsTest, GroupLinksAreNamedInTheLanguageOfTheRun)
{
    ExtResource language;
    language.Load(GetModuleHandleA(NULL), InProgramFolder("integration_language\\any").c_str());
    ASSERT_TRUE(language.Loaded);
    SetupOptions o = Links(false, false, true);
    SetShortcuts(&o, nullptr);
    ExpectGroup(Group(), "Bramix Hilfe & Tipps", "Handbuch f\xFCr QYX (100%)");
}

TEST_F(ShortcutsTest, AFolderThatCannotBeLookedUpSkipsOnlyItsStep)
{
    // The per-user programs folder unknown: no group and no group path; the rest is made.
    box_.BreakFolder(HKEY_CURRENT_USER, "Programs");
    ASSERT_EQ("", SpecialFolder(CSIDL_PROGRAMS));
    SetupOptions on = Links(true, true, true);
    SetShortcuts(&on, groupOut_);
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_TRUE(Untouched(groupOut_, sizeof groupOut_));
    ExpectLink(DesktopLink(), InProgramFolder("Bramix.exe"));
    ExpectLink(StartMenuLink(), InProgramFolder("Bramix.exe"));
    if (IsNtFamily()) ExpectGroup(CommonGroup());
}

TEST_F(ShortcutsTest, UnknownStartMenuAndSharedProgramsSkipThoseSteps)
{
    box_.BreakFolder(HKEY_CURRENT_USER, "Start Menu");
    box_.BreakFolder(HKEY_LOCAL_MACHINE, "Common Programs");
    ASSERT_EQ("", SpecialFolder(CSIDL_STARTMENU));
    ASSERT_EQ("", SpecialFolder(CSIDL_COMMON_PROGRAMS));
    SetupOptions on = Links(true, true, true);
    SetShortcuts(&on, groupOut_);
    EXPECT_FALSE(PathExists(StartMenuLink()));
    EXPECT_FALSE(PathExists(CommonGroup()));
    ExpectLink(DesktopLink(), InProgramFolder("Bramix.exe"));
    ExpectGroup(Group());
    EXPECT_STREQ(Group().c_str(), groupOut_);
}

class CreateShortcutTest : public ::testing::Test {
protected:
    LinkSandbox box_;  // COM and a sandbox; the links go to a folder of the test
    TempFolder folder_;
};

TEST_F(CreateShortcutTest, IconAndArgumentsOnlyWhenGiven)
{
    const std::string target = folder_ / "Bramix.exe";
    ASSERT_TRUE(CreateShortcut(target.c_str(), (folder_ / "plain.lnk").c_str(), "Plain", nullptr, nullptr));
    LinkContents plain = ReadLink(folder_ / "plain.lnk");
    ASSERT_TRUE(plain.loaded);
    EXPECT_EQ(target, plain.path);
    EXPECT_EQ("Plain", plain.description);
    EXPECT_EQ("", plain.arguments);
    EXPECT_EQ("", plain.iconFile);

    const std::string icon = folder_ / "icons.dll";
    ASSERT_TRUE(CreateShortcut(target.c_str(), (folder_ / "full.lnk").c_str(), "Full", icon.c_str(), "-x \"a b\""));
    LinkContents full = ReadLink(folder_ / "full.lnk");
    ASSERT_TRUE(full.loaded);
    EXPECT_EQ("-x \"a b\"", full.arguments);
    EXPECT_EQ(icon, full.iconFile);
    EXPECT_EQ(0, full.iconIndex);
}

TEST_F(CreateShortcutTest, OddCharactersInPathsAreKept)
{
    // Blanks, '&', '%' and a letter of the ANSI code page beyond ASCII.
    const std::string odd = folder_ / "Program Files & Co 100% f\xFCr dich";
    MakeFolder(odd);
    const std::string target = odd + "\\Bramix %1 & more.exe";
    const std::string link = odd + "\\Gr\xFC\xDF & 50%.lnk";
    ASSERT_TRUE(CreateShortcut(target.c_str(), link.c_str(), "Bramix", nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"Gr\xFC\xDF & 50%.lnk"}), FolderNames(odd));
    LinkContents c = ReadLink(link);
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(target, c.path);
}

TEST_F(CreateShortcutTest, ALinkPathOf260CharactersOrMoreIsNotSaved)
{
    const std::string target = folder_ / "Bramix.exe";
    const std::string base = folder_.Path() + "\\";
    for (size_t length : {259u, 260u, 261u, 1000u}) {
        SCOPED_TRACE(length);
        std::string link = base + std::string(length - base.size() - 4, 'n') + ".lnk";
        if (length == 1000) link = base + std::string(200, 'a') + "\\" + std::string(length - base.size() - 205, 'b') + ".lnk";
        ASSERT_EQ(length, link.size());
        bool saved = CreateShortcut(target.c_str(), link.c_str(), "Bramix", nullptr, nullptr);
        EXPECT_EQ(length < 260, saved);
        EXPECT_EQ(length < 260, PathExists(link));
    }
    // Only the link that fitted exists: nothing was saved under a cut name.
    EXPECT_EQ(1u, FolderNames(folder_.Path()).size());
}

TEST_F(CreateShortcutTest, DeleteFolderTreeDeletesTheWholeFolderAndNothingElse)
{
    const std::string group = folder_ / "Group";
    const std::string sibling = folder_ / "Sibling";
    MakeFolder(group + "\\Sub\\Deeper");
    WriteFile(group + "\\a.lnk", "a");
    WriteFile(group + "\\Sub\\Deeper\\b.txt", "b");
    MakeFolder(sibling);
    WriteFile(sibling + "\\keep.txt", "keep");

    // A stale name right after the terminator must not become a second item to delete.
    std::vector<char> buffer(group.begin(), group.end());
    buffer.push_back('\0');
    buffer.insert(buffer.end(), sibling.begin(), sibling.end());
    buffer.push_back('\0');
    buffer.push_back('\0');
    EXPECT_TRUE(DeleteFolderTree(buffer.data()));
    EXPECT_FALSE(PathExists(group));
    EXPECT_EQ("keep", ReadFile(sibling + "\\keep.txt"));
    EXPECT_EQ('\0', buffer[group.size() + 1]);

    char missing[kPathCapacity + 1];
    memset(missing, 0x5A, sizeof missing);
    const std::string gone = folder_ / "Missing";
    memcpy(missing, gone.c_str(), gone.size() + 1);
    EXPECT_FALSE(DeleteFolderTree(missing));
    EXPECT_EQ(0x5A, (unsigned char)missing[gone.size() + 1]) << "nothing to delete, nothing written";
}

} // namespace
