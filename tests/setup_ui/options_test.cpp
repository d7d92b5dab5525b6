// The set-up choices: the archive-type and context-menu tables, the ownership test, and
// loading and saving under the settings key.
#include <string.h>
#include <string>
#include "registry/registry.h"
#include "setup_ui/options.h"
#include "support/sandbox.h"

namespace {

const unsigned char kPoison = 0x77;
const char* const kSettings = "Software\\Bramix";

TEST(SetupTables, ArchiveTypes)
{
    const struct {
        int id;
        const char* label;
        const char* group;
        const char* first;
        bool saved;
    } expected[kArchiveTypeCount] = {
        {5101, "&QYX", ".qyx", ".qyx", true},
        {5102, "&ZIP", ".zip", ".zip", true},
        {5103, "CAB", ".cab", ".cab", true},
        {5104, "ARJ", ".arj", ".arj", true},
        {5105, "LZH", ".lzh.lha", ".lzh", true},
        {5106, "ACE", ".ace", ".ace", true},
        {5107, "TAR", ".tar", ".tar", true},
        {5108, "GZip", ".gz.tgz", ".gz", true},
        {5109, "UUE", ".uue.xxe.uu", ".uue", true},
        {5110, "BZ2", ".bz2.tbz2.bz.tbz", ".bz2", true},
        {5111, "JAR", ".jar", ".jar", true},
        {5112, "ISO", ".iso", ".iso", false},
    };
    for (int i = 0; i < kArchiveTypeCount; ++i) {
        EXPECT_EQ(expected[i].id, ArchiveTypes[i].CheckBoxId) << i;
        EXPECT_STREQ(expected[i].label, ArchiveTypes[i].Label) << i;
        EXPECT_STREQ(expected[i].group, ArchiveTypes[i].Extensions) << i;
        EXPECT_STREQ(expected[i].first, ArchiveTypes[i].FirstExtension) << i;
        EXPECT_EQ(expected[i].saved, ArchiveTypes[i].SetSaved) << i;
    }
}

TEST(SetupTables, ContextMenuItems)
{
    const struct {
        int id;
        const char* name;
        const char* label;
    } expected[kContextMenuItemCount] = {
        {101, "ExtrTo", "Extr&act files..."},
        {102, "ExtrHere", "E&xtract Here"},
        {103, "Extr", "&Extract to <folder>"},
        {104, "ExtrSep", "Extract each archive to &separate folder"},
        {105, "OpenSFX", "Open with Bramix (for SFX archives)"},
        {106, "AddTo", "&Add to archive..."},
        {107, "AddArc", "Add &to <archive name>"},
        {108, "EmailArc", "Compress to <archive name> and email"},
        {109, "EmailOpt", "Compress and email..."},
    };
    for (int i = 0; i < kContextMenuItemCount; ++i) {
        EXPECT_EQ(expected[i].id, ContextMenuItems[i].ControlId) << i;
        EXPECT_STREQ(expected[i].name, ContextMenuItems[i].ValueName) << i;
        EXPECT_STREQ(expected[i].label, ContextMenuItems[i].Label) << i;
    }
    EXPECT_STREQ("Setup\\MenuItems", ContextMenuItemsKey);
    EXPECT_EQ(1u, (unsigned)kContextMenuItemDefault);
}

using Options = SandboxedTest;

TEST_F(Options, IsOwnAssociationAcceptsOnlyTheProductTypes)
{
    const struct {
        DWORD type;
        std::string data;
        bool own;
    } cases[] = {
        {REG_SZ, std::string("Bramix", 7), true},
        {REG_SZ, std::string("bRAMIX.zip", 11), true},
        {REG_SZ, std::string("Bramix", 6), true},  // stored without its terminator
        {REG_SZ, std::string("Bramix.REV", 11), false},
        {REG_SZ, std::string("Bramix ", 8), false},
        {REG_SZ, std::string("WinArc.Zip", 11), false},
        {REG_SZ, std::string("", 1), false},
        {REG_DWORD, std::string("Bram", 4), false},
        // "Bramix" followed by so many blanks that the value does not fit 80 bytes.
        {REG_SZ, std::string("Bramix") + std::string(80, ' ') + std::string(1, '\0'), false},
        {REG_SZ, std::string("Bramix\0xyz", 11), true},  // the text ends at its first NUL
    };
    for (const auto& c : cases) {
        WriteRaw(HKEY_CLASSES_ROOT, ".zip", "", c.type, c.data.data(), (DWORD)c.data.size());
        EXPECT_EQ(c.own, IsOwnAssociation(".zip")) << c.data;
    }
    EXPECT_FALSE(IsOwnAssociation(".arj"));
    CreateKey(HKEY_CLASSES_ROOT, ".arj");
    WriteString(HKEY_CLASSES_ROOT, ".arj", "Content Type", "Bramix");
    EXPECT_FALSE(IsOwnAssociation(".arj"));
}

SetupOptions Poisoned()
{
    SetupOptions o;
    memset(&o, kPoison, sizeof o);
    return o;
}

TEST_F(Options, DefaultsWithoutASettingsKey)
{
    SetupOptions o = Poisoned();
    LoadSetupOptions(&o);
    for (int i = 0; i < kArchiveTypeCount; ++i) EXPECT_EQ(1, o.Flags[i]) << i;
    for (int i = 12; i < 20; ++i) EXPECT_EQ(kPoison, o.Flags[i]) << "reserved slot " << i;
    const unsigned char interface[6] = {0, 0, 1, 1, 0, 1};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(interface[k], o.Flags[20 + k]) << 20 + k;
    EXPECT_EQ("", DumpKey(HKEY_CURRENT_USER, kSettings)) << "loading writes nothing";
}

// ISO starts unchecked when another program owns ".iso"; when it is Bramix's, or nobody's,
// it follows "Set" with the default on.
TEST_F(Options, IsoFollowsItsOwner)
{
    const struct {
        const char* owner;  // null: no ".iso" key
        int set;            // -1: no "Set" value
        unsigned char checked;
    } cases[] = {
        {nullptr, -1, 1},
        {"", -1, 1},
        {"Burner.Image", -1, 0},
        {"Burner.Image", 1, 0},
        {"Bramix", -1, 1},
        {"BRAMIX.ZIP", -1, 1},
        {"bramix", 0, 0},
        {"Bramix", 7, 1},
        {nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".iso");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.iso");
        if (c.owner) WriteString(HKEY_CLASSES_ROOT, ".iso", "", c.owner);
        if (c.set >= 0) WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.iso", "Set", (DWORD)c.set);
        SetupOptions o = Poisoned();
        LoadSetupOptions(&o);
        EXPECT_EQ(c.checked, o.Flags[11]) << (c.owner ? c.owner : "(no key)") << " Set " << c.set;
    }
}

TEST_F(Options, StoredValuesLoadAsOnOrOff)
{
    const char* firsts[] = {".qyx", ".zip", ".cab", ".arj", ".lzh", ".ace", ".tar", ".gz", ".uue", ".bz2", ".jar", ".iso"};
    for (int i = 0; i < kArchiveTypeCount; ++i)
        WriteDword(HKEY_CURRENT_USER, std::string("Software\\Bramix\\Setup\\") + firsts[i], "Set", i % 2 ? 0 : 5);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Desktop", 2);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "StartMenu", 1);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\Links", "Programs", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "ShellExt", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "CascadedMenu", 9);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "MenuIcons", 0);
    SetupOptions o = Poisoned();
    LoadSetupOptions(&o);
    for (int i = 0; i < kArchiveTypeCount; ++i) EXPECT_EQ(i % 2 ? 0 : 1, o.Flags[i]) << i;
    const unsigned char interface[6] = {1, 1, 0, 0, 1, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(interface[k], o.Flags[20 + k]) << 20 + k;
}

// The REG_DWORD 0 or 1 under the settings key, as DumpKey lists it.
std::string Flag(const std::string& key, const std::string& name, bool on)
{
    return std::string(kSettings) + "\\" + key + " [" + name + "] type 4 = " + (on ? "01" : "00") + " 00 00 00\n";
}

TEST_F(Options, SaveWritesEveryChoiceButIso)
{
    for (int pattern = 0; pattern < 2; ++pattern) {
        SetupOptions o = Poisoned();
        for (int i = 0; i < kArchiveTypeCount; ++i) o.Flags[i] = (unsigned char)((i + pattern) % 2);
        for (int k = 0; k < 6; ++k) o.Flags[20 + k] = (unsigned char)((k + pattern + 1) % 2);
        SaveSetupOptions(&o);

        // The expected tree, in DumpKey's sorted order.
        std::string expected = std::string(kSettings) + "\n" + kSettings + "\\Setup\n";
        const char* firsts[] = {".ace", ".arj", ".bz2", ".cab", ".gz", ".jar", ".lzh", ".qyx", ".tar", ".uue", ".zip"};
        const int index[] = {5, 3, 9, 2, 7, 10, 4, 0, 6, 8, 1};
        expected += Flag("Setup", "CascadedMenu", o.Flags[24]);
        expected += Flag("Setup", "MenuIcons", o.Flags[25]);
        expected += Flag("Setup", "ShellExt", o.Flags[23]);
        for (int j = 0; j < 11; ++j) {
            expected += std::string(kSettings) + "\\Setup\\" + firsts[j] + "\n";
            expected += Flag(std::string("Setup\\") + firsts[j], "Set", o.Flags[index[j]]);
        }
        expected += std::string(kSettings) + "\\Setup\\Links\n";
        expected += Flag("Setup\\Links", "Desktop", o.Flags[20]);
        expected += Flag("Setup\\Links", "Programs", o.Flags[22]);
        expected += Flag("Setup\\Links", "StartMenu", o.Flags[21]);
        EXPECT_EQ(expected, DumpKey(HKEY_CURRENT_USER, kSettings)) << "pattern " << pattern;

        // Loaded back: the same choices, except that ISO is derived anew (on, nobody owns it).
        SetupOptions back = Poisoned();
        LoadSetupOptions(&back);
        for (int i = 0; i < 11; ++i) EXPECT_EQ(o.Flags[i], back.Flags[i]) << i;
        EXPECT_EQ(1, back.Flags[11]);
        for (int k = 20; k < 26; ++k) EXPECT_EQ(o.Flags[k], back.Flags[k]) << k;
    }
}

TEST_F(Options, SaveWritesAnyNonZeroFlagAsOne)
{
    SetupOptions o = {};
    o.Flags[0] = 5;
    o.Flags[kOptionMenuIcons] = 0xFF;
    SaveSetupOptions(&o);
    EXPECT_EQ(1u, GetRegDword("Setup\\.qyx", "Set", 7));
    EXPECT_EQ(1u, GetRegDword("Setup", "MenuIcons", 7));
    EXPECT_EQ(0u, GetRegDword("Setup\\.zip", "Set", 7));
}

} // namespace
