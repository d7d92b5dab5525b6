// File associations: take-over with backups, give-back, volume extensions and ShellNew
// entries. Runs as three copies: the NT family, Windows 98 (4.10) and Windows Me (4.90).
#include <string.h>
#include <memory>
#include <string>
#include <vector>
#include "integration/assocdata.h"
#include "integration/integration.h"
#include "registry/registry.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"

namespace {

const unsigned char kQyxBytes[20] = {'Q', 'y', 'x', '!', 0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
                                     0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const unsigned char kZipBytes[22] = {'P', 'K', 0x05, 0x06};

const std::string kQyx(reinterpret_cast<const char*>(kQyxBytes), sizeof kQyxBytes);
const std::string kZip(reinterpret_cast<const char*>(kZipBytes), sizeof kZipBytes);

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }
std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// One value (or, with a null name, just a key) below a base key.
struct Entry {
    std::string sub;  // "" for the base key itself, else "\\ShellNew" and so on
    const char* name;
    DWORD type;
    std::string data;
};
using Entries = std::vector<Entry>;

Entry S(const std::string& sub, const char* name, const std::string& text) { return {sub, name, REG_SZ, Sz(text)}; }
Entry Key(const std::string& sub) { return {sub, nullptr, REG_NONE, ""}; }

void Apply(HKEY root, const std::string& base, const Entries& entries)
{
    for (const auto& e : entries) {
        if (e.name)
            WriteRaw(root, base + e.sub, e.name, e.type, e.data.data(), (DWORD)e.data.size());
        else
            CreateKey(root, base + e.sub);
    }
}

// A key tree with its own path taken out, so that trees of different keys compare.
std::string Tree(HKEY root, const std::string& path)
{
    std::string dump = DumpKey(root, path), out;
    size_t pos = 0;
    while (pos < dump.size()) {
        size_t end = dump.find('\n', pos);
        out += "~" + dump.substr(pos + path.size(), end - pos - path.size()) + "\n";
        pos = end + 1;
    }
    return out;
}

// The tree that entries would make, built in a scratch key of the registry.
std::string ExpectedTree(HKEY root, const Entries& entries)
{
    if (entries.empty()) return "";
    const std::string scratch = "ExpectedTreeScratch";
    Apply(root, scratch, entries);
    std::string tree = Tree(root, scratch);
    RegDeleteTreeA(root, scratch.c_str());
    return tree;
}

std::string Everything()
{
    return "HKCR:\n" + DumpKey(HKEY_CLASSES_ROOT, "") + "HKCU:\n" + DumpKey(HKEY_CURRENT_USER, "");
}

SetupOptions Record(std::initializer_list<int> types, bool shell)
{
    SetupOptions o = {};
    for (int t : types) o.Flags[t] = 1;
    o.Flags[kOptionShellExt] = shell ? 1 : 0;
    return o;
}

SetupOptions AllTypes(bool shell)
{
    SetupOptions o = Record({}, shell);
    for (int t = 0; t < kArchiveTypeCount; ++t) o.Flags[t] = 1;
    return o;
}

// Systems after 4.10 name a template file; 4.0 and 4.10 keep the template in the registry.
bool TemplateFiles()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return info.dwMajorVersion > 4 || info.dwMinorVersion > 10;
}

std::string TemplatePath(const char* name) { return ProgramFolder() + "\\" + name; }

std::string Volume(int n)
{
    char name[8];
    name[0] = '.';
    name[1] = 'q';
    name[2] = (char)('0' + n / 10);
    name[3] = (char)('0' + n % 10);
    name[4] = '\0';
    return name;
}

int VolumeKeys()
{
    int count = 0;
    for (int n = 0; n < 100; ++n) count += KeyExists(HKEY_CLASSES_ROOT, Volume(n)) ? 1 : 0;
    return count;
}

// Each test gets a fresh registry sandbox, and Reset gives it another; the template files
// that land beside this program are removed before and after.
class Associations : public ::testing::Test {
protected:
    void SetUp() override { RemoveTemplates(); }
    void TearDown() override { RemoveTemplates(); }
    void Reset()
    {
        sandbox_.reset();
        sandbox_.reset(new RegistrySandbox);
    }
    static void RemoveTemplates()
    {
        DeleteFileA(TemplatePath("qyxnew.dat").c_str());
        DeleteFileA(TemplatePath("zipnew.dat").c_str());
    }

    std::unique_ptr<RegistrySandbox> sandbox_{new RegistrySandbox};
};

// The copies of this program are told apart by their names; each must see its system.
TEST(TestCopies, RunOnTheirSystems)
{
    const std::string name = ProgramPath();
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    const unsigned version = info.dwMajorVersion * 100 + info.dwMinorVersion;
    if (name.size() > 7 && name.compare(name.size() - 7, 7, "_me.exe") == 0) {
        EXPECT_EQ(490u, version);
        EXPECT_FALSE(IsNtFamily());
    } else if (name.size() > 7 && name.compare(name.size() - 7, 7, "_9x.exe") == 0) {
        EXPECT_EQ(410u, version);
        EXPECT_FALSE(IsNtFamily());
    } else {
        EXPECT_TRUE(IsNtFamily());
    }
}

TEST(EmptyArchiveTemplates, NeitherSignatureIsStoredWholeInTheProgram)
{
    const std::string program = ReadFile(BuiltProgram());
    ASSERT_NE("<missing>", program);
    EXPECT_EQ(std::string::npos, program.find(kQyx.substr(0, 7)));
    EXPECT_EQ(std::string::npos, program.find(kZip.substr(0, 4)));
}

// Each prior state of an extension key, and what a take-over followed by a give-back
// leaves of it.
struct PriorState {
    const char* what;
    Entries key;     // the extension key before set-up
    Entries backup;  // "Setup\<extension>" under the settings key before set-up
    bool foreign;    // another program's: the key comes back byte for byte
    Entries after;   // otherwise, the key after the give-back (empty: no key)
};

std::vector<PriorState> PriorStates(int type)
{
    const bool ownsShellNew = type == 0 || type == 1;  // a take-over installed a ShellNew entry
    const char* own = type == 1 ? "Bramix.ZIP" : "Bramix";
    Entries emptied = {S("", "", "")};
    if (ownsShellNew) emptied.push_back(Key("\\ShellNew"));
    return {
        {"no key", {}, {}, false, {}},
        {"a key with no values", {Key("")}, {}, false, emptied},
        {"another program's type",
         {S("", "", "WinArc.Archive"), S("", "Content Type", "application/x-winarc"),
          S("", "PerceivedType", "compressed"), {"\\OpenWithProgids", "WinArc.Archive", REG_NONE, ""},
          S("\\ShellNew", "FileName", "C:\\Program Files\\WinArc\\empty.arc")},
         {}, true, {}},
        {"a ShellNew with only NullFile", {S("", "", "Other.Type"), S("\\ShellNew", "NullFile", "")}, {}, true, {}},
        {"Bramix's with an earlier backup",
         {S("", "", own)},
         {{"", "Exist", REG_DWORD, Dword(1)}, S("", "Type", "Old.Type"), S("", "Content", "application/x-old"),
          S("", "ShellNew", "C:\\Old\\template.old"), {"", "Set", REG_DWORD, Dword(1)}},
         false,
         {S("", "", "Old.Type"), S("", "Content Type", "application/x-old"),
          S("\\ShellNew", "FileName", "C:\\Old\\template.old")}},
        {"Bramix's without any backup",
         {S("", "", "bRaMiX"), S("", "Content Type", "application/x-stale"), S("\\ShellNew", "FileName", "C:\\stale.dat")},
         {}, false, {S("", "", ""), Key("\\ShellNew")}},
    };
}

TEST_F(Associations, TakeOverAndGiveBackRoundTrip)
{
    const struct {
        int type;
        const char* extension;
    } extensions[] = {{0, ".qyx"}, {1, ".zip"}, {4, ".lha"}, {9, ".tbz"}};
    for (const auto& x : extensions) {
        for (const auto& state : PriorStates(x.type)) {
            SCOPED_TRACE(std::string(x.extension) + ", " + state.what);
            Reset();
            const std::string backupKey = std::string("Software\\Bramix\\Setup\\") + x.extension;
            Apply(HKEY_CLASSES_ROOT, x.extension, state.key);
            Apply(HKEY_CURRENT_USER, backupKey, state.backup);
            const std::string keyBefore = Tree(HKEY_CLASSES_ROOT, x.extension);
            const std::string backupBefore = Tree(HKEY_CURRENT_USER, backupKey);
            const bool wasOwn = IsOwnAssociation(x.extension);

            const SetupOptions takeOver = Record({x.type}, true);
            SetAssociations(&takeOver);
            EXPECT_EQ(x.type == 1 ? "Bramix.ZIP" : "Bramix", ReadString(HKEY_CLASSES_ROOT, x.extension, ""));
            EXPECT_EQ("<missing>", ReadString(HKEY_CLASSES_ROOT, x.extension, "Content Type"));
            if (wasOwn) {
                EXPECT_EQ(backupBefore, Tree(HKEY_CURRENT_USER, backupKey)) << "the earlier backup stays";
            }
            std::string snapshot = Everything();
            SetAssociations(&takeOver);
            EXPECT_EQ(snapshot, Everything()) << "a second take-over changed something";

            const SetupOptions giveBack = Record({}, true);
            SetAssociations(&giveBack);
            const std::string expected = state.foreign ? keyBefore : ExpectedTree(HKEY_CLASSES_ROOT, state.after);
            EXPECT_EQ(expected, Tree(HKEY_CLASSES_ROOT, x.extension));
            snapshot = Everything();
            SetAssociations(&giveBack);
            EXPECT_EQ(snapshot, Everything()) << "a second give-back changed something";
        }
    }
}

// Other programs own ".zip", ".cab", ".iso" and ".tar"; nobody owns the rest. Taking over
// all twelve types and giving them back leaves the classes root as it was.
TEST_F(Associations, AllTwelveTypesComeBackToTheirOwners)
{
    Apply(HKEY_CLASSES_ROOT, "", {
        S(".zip", "", "WinArc.Zip"), S(".zip", "Content Type", "application/zip"),
        S(".zip\\ShellNew", "FileName", "C:\\Program Files\\WinArc\\new.zip"),
        S(".cab", "", "CabTool.Cab"), S(".cab", "Content Type", "application/vnd.ms-cab-compressed"),
        S(".cab\\ShellNew", "NullFile", ""),
        S(".iso", "", "Burner.Image"), S(".iso", "Content Type", "application/x-iso9660-image"),
        S(".iso\\ShellNew", "FileName", "C:\\Burner\\blank.iso"), S(".iso\\ShellNew", "ItemName", "Disc image"),
        S(".tar", "", "TarTool.Tar"), S(".tar", "Content Type", "application/x-tar"),
        S(".tar\\ShellNew", "NullFile", ""),
        S(".txt", "", "txtfile"), S("WinArc.Zip\\shell\\open\\command", "", "winarc.exe \"%1\""),
    });
    const std::string before = DumpKey(HKEY_CLASSES_ROOT, "");
    ASSERT_NE(std::string::npos, before.find("WinArc.Zip\\shell\\open\\command"));
    const char* foreign[] = {".zip", ".cab", ".iso", ".tar"};

    const SetupOptions all = AllTypes(true);
    SetAssociations(&all);
    int extensions = 0;
    for (int t = 0; t < kArchiveTypeCount; ++t) {
        const char* cursor = ArchiveTypes[t].Extensions;
        char e[32];
        while (NextExtension(&cursor, e, sizeof e)) {
            ++extensions;
            EXPECT_TRUE(IsOwnAssociation(e)) << e;
            bool wasForeign = false;
            for (const char* f : foreign) wasForeign |= strcmp(f, e) == 0;
            const std::string backup = std::string("Setup\\") + e;
            EXPECT_EQ(wasForeign ? 1u : 0u, GetRegDword(backup.c_str(), "Exist", 7)) << e;
        }
    }
    EXPECT_EQ(19, extensions);
    EXPECT_EQ("CabTool.Cab", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.cab", "Type"));
    EXPECT_EQ("*", ReadString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.tar", "ShellNew"));
    EXPECT_EQ(IsNtFamily() ? 30 : 100, VolumeKeys());

    const SetupOptions allClear = {};  // what the uninstall passes
    SetAssociations(&allClear);
    EXPECT_EQ(before, DumpKey(HKEY_CLASSES_ROOT, ""));
}

TEST_F(Associations, UnchosenTypesOfOtherOwnersAreNotTouched)
{
    Apply(HKEY_CLASSES_ROOT, "", {
        S(".zip", "", "WinArc.Zip"), S(".zip", "Content Type", "application/zip"),
        S(".zip\\ShellNew", "FileName", "C:\\new.zip"), S(".qyx", "", "Other.Qyx"), S(".q00", "", "Other.Qyx"),
        Key(".lha"),
    });
    WriteString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Type", "Old.Zip");
    const std::string before = Everything();
    const SetupOptions none = Record({}, true);
    SetAssociations(&none);
    EXPECT_EQ(before, Everything());
}

// What the take-over keeps of the previous owner, read into fixed buffers: values that
// do not fit read as absent, values of other types as their raw bytes.
TEST_F(Associations, BackupOfThePreviousOwner)
{
    const std::string longType(600, 't');
    const struct {
        const char* what;
        Entries key;
        Entries backup;
    } cases[] = {
        {"no key", {}, {{"", "Exist", REG_DWORD, Dword(0)}, S("", "Type", ""), S("", "Content", ""), S("", "ShellNew", "")}},
        {"file name",
         {S("", "", "A.Type"), S("", "Content Type", "a/b"), S("\\ShellNew", "FileName", "C:\\t.cab"),
          S("\\ShellNew", "NullFile", "")},
         {{"", "Exist", REG_DWORD, Dword(1)}, S("", "Type", "A.Type"), S("", "Content", "a/b"), S("", "ShellNew", "C:\\t.cab")}},
        {"empty file name and NullFile",
         {S("\\ShellNew", "FileName", ""), S("\\ShellNew", "NullFile", "")},
         {{"", "Exist", REG_DWORD, Dword(1)}, S("", "Type", ""), S("", "Content", ""), S("", "ShellNew", "*")}},
        {"NullFile too long for its probe",
         {S("", "", "A.Type"), S("\\ShellNew", "NullFile", "1234567890")},
         {{"", "Exist", REG_DWORD, Dword(1)}, S("", "Type", "A.Type"), S("", "Content", ""), S("", "ShellNew", "")}},
        {"values too long, unterminated or of other types",
         {S("", "", longType), {"", "Content Type", REG_DWORD, Dword(0x00636261)},
          {"\\ShellNew", "FileName", REG_SZ, "C:\\open"}},
         {{"", "Exist", REG_DWORD, Dword(1)}, S("", "Type", ""), S("", "Content", "abc"), S("", "ShellNew", "C:\\open")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        Apply(HKEY_CLASSES_ROOT, ".cab", c.key);
        const SetupOptions cab = Record({2}, true);
        SetAssociations(&cab);
        EXPECT_EQ(ExpectedTree(HKEY_CURRENT_USER, c.backup), Tree(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.cab"));
    }
}

TEST_F(Associations, VolumeExtensionsGoWithTheOwnFormat)
{
    WriteString(HKEY_CLASSES_ROOT, ".q07", "", "Other.Volume");
    WriteString(HKEY_CLASSES_ROOT, ".q07", "Content Type", "application/x-other");
    const SetupOptions qyx = Record({0}, false);
    SetAssociations(&qyx);
    const int taken = IsNtFamily() ? 30 : 100;
    EXPECT_EQ(taken, VolumeKeys());
    for (int n = 0; n < taken; ++n) {
        EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, Volume(n), "")) << n;
        EXPECT_EQ("<missing>", ReadString(HKEY_CLASSES_ROOT, Volume(n), "Content Type")) << n;
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Volume(taken)));

    // The give-back visits all 100, whatever the system took: they get the backup's owner,
    // or go when there is none.
    const struct {
        Entries backup;
        const char* type;  // null: every volume key deleted
        const char* content;
    } cases[] = {
        {{{"", "Exist", REG_DWORD, Dword(0)}}, nullptr, nullptr},
        {{S("", "Type", "Old.Qyx"), S("", "Content", "application/x-old")}, "Old.Qyx", "application/x-old"},
        {{S("", "Type", "Old.Qyx")}, "Old.Qyx", nullptr},
        {{S("", "Type", "BRAMIX")}, nullptr, nullptr},
        {{{"", "Exist", REG_DWORD, Dword(0)}, S("", "Type", "Old.Qyx")}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        Reset();
        WriteString(HKEY_CLASSES_ROOT, ".qyx", "", "Bramix");
        for (int n : {0, 29, 30, 99}) WriteString(HKEY_CLASSES_ROOT, Volume(n), "", "Bramix");
        Apply(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.qyx", c.backup);
        const SetupOptions none = Record({}, false);
        SetAssociations(&none);
        EXPECT_EQ(c.type ? 100 : 0, VolumeKeys()) << (c.type ? c.type : "(none)");
        for (int n = 0; c.type && n < 100; ++n) {
            EXPECT_EQ(c.type, ReadString(HKEY_CLASSES_ROOT, Volume(n), "")) << n;
            EXPECT_EQ(c.content ? c.content : "<missing>", ReadString(HKEY_CLASSES_ROOT, Volume(n), "Content Type")) << n;
        }
    }
}

TEST_F(Associations, ShellNewEntriesByVersion)
{
    WriteString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "C:\\old.zip");
    WriteString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Command", "old.exe");
    const SetupOptions own = Record({0, 1, 2}, true);
    SetAssociations(&own);
    if (TemplateFiles()) {
        const std::string qyx = TemplatePath("qyxnew.dat"), zip = TemplatePath("zipnew.dat");
        EXPECT_EQ(ExpectedTree(HKEY_CLASSES_ROOT, {S("", "FileName", qyx)}), Tree(HKEY_CLASSES_ROOT, ".qyx\\ShellNew"));
        EXPECT_EQ(ExpectedTree(HKEY_CLASSES_ROOT, {S("", "FileName", zip)}), Tree(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
        EXPECT_EQ(kQyx, ReadFile(qyx));
        EXPECT_EQ(kZip, ReadFile(zip));
    } else {
        EXPECT_EQ(ExpectedTree(HKEY_CLASSES_ROOT, {{"", "Data", REG_BINARY, kQyx}}), Tree(HKEY_CLASSES_ROOT, ".qyx\\ShellNew"));
        EXPECT_EQ(ExpectedTree(HKEY_CLASSES_ROOT, {{"", "Data", REG_BINARY, kZip}}), Tree(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
        EXPECT_FALSE(PathExists(TemplatePath("qyxnew.dat")));
        EXPECT_FALSE(PathExists(TemplatePath("zipnew.dat")));
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".cab\\ShellNew"));
}

TEST_F(Associations, AnExistingTemplateFileIsNotRewritten)
{
    if (!TemplateFiles()) GTEST_SKIP() << "this version keeps the templates in the registry";
    WriteFile(TemplatePath("zipnew.dat"), "kept as it is");
    const SetupOptions own = Record({0, 1}, true);
    SetAssociations(&own);
    EXPECT_EQ("kept as it is", ReadFile(TemplatePath("zipnew.dat")));
    EXPECT_EQ(TemplatePath("zipnew.dat"), ReadString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName"));
    WriteFile(TemplatePath("qyxnew.dat"), "changed since");
    SetAssociations(&own);
    EXPECT_EQ("changed since", ReadFile(TemplatePath("qyxnew.dat")));
}

TEST_F(Associations, WithoutShellIntegrationShellNewIsLeftAlone)
{
    Apply(HKEY_CLASSES_ROOT, ".zip", {S("", "", "WinArc.Zip"), S("\\ShellNew", "FileName", "C:\\new.zip"),
                                      S("\\ShellNew", "ItemName", "Archive")});
    const std::string shellNew = DumpKey(HKEY_CLASSES_ROOT, ".zip\\ShellNew");
    const SetupOptions own = Record({0, 1}, false);
    SetAssociations(&own);
    EXPECT_EQ(shellNew, DumpKey(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qyx\\ShellNew"));
    EXPECT_FALSE(PathExists(TemplatePath("qyxnew.dat")));
    EXPECT_FALSE(PathExists(TemplatePath("zipnew.dat")));
}

// The give-back restores the previous owner's ShellNew value and removes Bramix's own
// entries, the template file name and the template data; other values stay.
TEST_F(Associations, GiveBackOfShellNewValues)
{
    CompleteTemplateSignatures();
    const std::string ownFile = TemplatePath("zipnew.dat");
    const struct {
        const char* what;
        Entries shellNew;
        const char* backup;
        Entries after;
    } cases[] = {
        {"own file name", {S("", "FileName", ownFile)}, "", {Key("")}},
        {"own data", {{"", "Data", REG_BINARY, kZip}}, "C:\\new.zip", {S("", "FileName", "C:\\new.zip")}},
        {"own data and file name", {{"", "Data", REG_BINARY, kZip}, S("", "FileName", ownFile)}, "*", {S("", "NullFile", "")}},
        {"another program's data", {{"", "Data", REG_BINARY, "\x01\x02"}}, "", {{"", "Data", REG_BINARY, "\x01\x02"}}},
        {"the other format's data", {{"", "Data", REG_BINARY, kQyx}}, "", {{"", "Data", REG_BINARY, kQyx}}},
        {"a longer data value", {{"", "Data", REG_BINARY, kZip + std::string(1, '\0')}}, "",
         {{"", "Data", REG_BINARY, kZip + std::string(1, '\0')}}},
        {"other values", {S("", "FileName", ownFile), S("", "Command", "x.exe")}, "*",
         {S("", "Command", "x.exe"), S("", "NullFile", "")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        WriteString(HKEY_CLASSES_ROOT, ".zip", "", "Bramix.ZIP");
        Apply(HKEY_CLASSES_ROOT, ".zip\\ShellNew", c.shellNew);
        WriteString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Type", "Old.Zip");
        WriteString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "ShellNew", c.backup);
        const SetupOptions none = Record({}, true);
        SetAssociations(&none);
        EXPECT_EQ("Old.Zip", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
        EXPECT_EQ(ExpectedTree(HKEY_CLASSES_ROOT, c.after), Tree(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
    }
}

} // namespace
