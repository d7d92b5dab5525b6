// The registry access layer, run on both Windows families inside a registry sandbox.
#include <string.h>
#include <string>
#include "registry/registry.h"
#include "support/sandbox.h"

namespace {

const char kPoison = 0x5A;

using RegistryLayer = SandboxedTest;

// A settings path whose expansion is one byte too long for a key-path buffer of
// `capacity`, and the settings path that a cut expansion would name instead.
void OverlongSettingsPath(size_t capacity, std::string* path, std::string* cutPath)
{
    const size_t prefix = strlen("Software\\Bramix\\");
    std::string p = std::string(120, 'k') + "\\";
    p += std::string(capacity - prefix - p.size(), 'k');  // expansion: capacity chars, no room for NUL
    *path = p;
    *cutPath = p.substr(0, p.size() - 1);
}

TEST(ExpandKeyPath, MapsOntoTheSettingsKeyUnderCurrentUserOnly)
{
    const struct {
        HKEY root;
        const char* path;
        const char* expanded;
    } cases[] = {
        {HKEY_CURRENT_USER, "", "Software\\Bramix"},
        {HKEY_CURRENT_USER, "Setup", "Software\\Bramix\\Setup"},
        {HKEY_CURRENT_USER, "Setup\\MenuItems", "Software\\Bramix\\Setup\\MenuItems"},
        {HKEY_CURRENT_USER, "\\Software\\Other", "Software\\Other"},
        {HKEY_CURRENT_USER, "\\", ""},
        {HKEY_CLASSES_ROOT, "Bramix", "Bramix"},
        {HKEY_CLASSES_ROOT, "\\Bramix", "\\Bramix"},
        {HKEY_LOCAL_MACHINE, "", ""},
    };
    for (const auto& c : cases) {
        char out[257];
        memset(out, kPoison, sizeof out);
        EXPECT_TRUE(ExpandKeyPath(c.root, c.path, out, 256)) << c.path;
        EXPECT_STREQ(c.expanded, out) << c.path;
        EXPECT_EQ(kPoison, out[256]);
    }
}

TEST(ExpandKeyPath, RefusesAnExpansionThatDoesNotFit)
{
    std::string path, cut;
    OverlongSettingsPath(256, &path, &cut);
    char out[257];
    memset(out, kPoison, sizeof out);
    // The cut path, one character shorter, just fits.
    EXPECT_TRUE(ExpandKeyPath(HKEY_CURRENT_USER, cut.c_str(), out, 256));
    EXPECT_EQ(255u, strlen(out));
    EXPECT_FALSE(ExpandKeyPath(HKEY_CURRENT_USER, path.c_str(), out, 256));
    EXPECT_STREQ("", out);
    EXPECT_EQ(kPoison, out[256]);
    std::string other(256, 'c');
    EXPECT_FALSE(ExpandKeyPath(HKEY_CLASSES_ROOT, other.c_str(), out, 256));
    EXPECT_STREQ("", out);
}

TEST_F(RegistryLayer, WritersStoreTheirTypesAndCreateMissingParents)
{
    SetRegString(HKEY_CLASSES_ROOT, "A\\B\\C", "", "text");
    SetRegString(HKEY_CLASSES_ROOT, "A\\B\\C", "Empty", "");
    SetRegString("Setup", "Name", "settings");
    SetRegDword("Setup\\MenuItems", "ExtrTo", 0x01020304);
    SetRegDword(HKEY_LOCAL_MACHINE, "Numbers", "Zero", 0);
    const unsigned char bytes[] = {0x00, 0xFF, 0x10};
    SetRegBinary(HKEY_CLASSES_ROOT, "Bin", "Data", bytes, sizeof bytes);
    SetRegBinary(HKEY_CLASSES_ROOT, "Bin", "None", bytes, 0);

    const struct {
        HKEY root;
        const char* path;
        const char* name;
        DWORD type;
        std::string data;
    } expected[] = {
        {HKEY_CLASSES_ROOT, "A\\B\\C", "", REG_SZ, std::string("text", 5)},
        {HKEY_CLASSES_ROOT, "A\\B\\C", "Empty", REG_SZ, std::string("", 1)},
        {HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "Name", REG_SZ, std::string("settings", 9)},
        {HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\MenuItems", "ExtrTo", REG_DWORD, std::string("\x04\x03\x02\x01", 4)},
        {HKEY_LOCAL_MACHINE, "Numbers", "Zero", REG_DWORD, std::string(4, '\0')},
        {HKEY_CLASSES_ROOT, "Bin", "Data", REG_BINARY, std::string("\x00\xFF\x10", 3)},
        {HKEY_CLASSES_ROOT, "Bin", "None", REG_BINARY, std::string()},
    };
    for (const auto& e : expected) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadValue(e.root, e.path, e.name, &type, &data)) << e.path << " " << e.name;
        EXPECT_EQ(e.type, type) << e.path << " " << e.name;
        EXPECT_EQ(e.data, data) << e.path << " " << e.name;
    }
    // Nothing but the default value and "Empty" in the created key, and no stray keys.
    EXPECT_EQ("A\\B\\C\nA\\B\\C [Empty] type 1 = 00\nA\\B\\C [] type 1 = 74 65 78 74 00\n",
              DumpKey(HKEY_CLASSES_ROOT, "A\\B\\C"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Setup"));
}

TEST_F(RegistryLayer, GetRegStringAlwaysEndsWithinTheDestination)
{
    const DWORD kSize = 8;
    WriteString(HKEY_CLASSES_ROOT, "K", "Fits", "1234567");  // 8 bytes with its terminator
    WriteString(HKEY_CLASSES_ROOT, "K", "Larger", "12345678");
    WriteString(HKEY_CLASSES_ROOT, "K", "Empty", "");
    WriteDword(HKEY_CLASSES_ROOT, "K", "Number", 0x00434241);
    WriteDword(HKEY_CLASSES_ROOT, "K", "Full", 0x44434241);
    WriteRaw(HKEY_CLASSES_ROOT, "K", "Open", REG_SZ, "abc", 3);           // no terminator
    WriteRaw(HKEY_CLASSES_ROOT, "K", "OpenFull", REG_SZ, "abcdefgh", 8);  // no room for one
    WriteRaw(HKEY_CLASSES_ROOT, "K", "Bytes", REG_BINARY, "xy\0z", 4);
    WriteRaw(HKEY_CLASSES_ROOT, "K", "Nothing", REG_BINARY, "", 0);
    CreateKey(HKEY_CLASSES_ROOT, "NoValues");

    const struct {
        const char* key;
        const char* name;
        const char* def;
        bool stored;
        std::string result;
    } cases[] = {
        {"Missing", "", "dflt", false, "dflt"},
        {"NoValues", "", "dflt", false, "dflt"},
        {"K", "Absent", "dflt", false, "dflt"},
        {"K", "Fits", "dflt", true, "1234567"},
        {"K", "Larger", "dflt", false, "dflt"},
        {"K", "Empty", "dflt", true, ""},
        {"K", "Number", "dflt", true, "ABC"},       // the raw bytes of a number
        {"K", "Full", "dflt", true, "ABCD"},
        {"K", "Open", "dflt", true, "abc"},         // terminated for the caller
        {"K", "OpenFull", "dflt", false, "dflt"},   // refused rather than cut
        {"K", "Bytes", "dflt", true, "xy"},
        {"K", "Nothing", "dflt", true, ""},
        {"K", "Larger", "default too long", false, "default"},  // the default is cut to fit
    };
    for (const auto& c : cases) {
        char dest[kSize + 1];
        memset(dest, kPoison, sizeof dest);
        EXPECT_EQ(c.stored, GetRegString(HKEY_CLASSES_ROOT, c.key, c.name, dest, c.def, kSize)) << c.name;
        ASSERT_NE(nullptr, memchr(dest, 0, kSize)) << c.name << ": not terminated";
        EXPECT_EQ(c.result, std::string(dest)) << c.name;
        EXPECT_EQ(kPoison, dest[kSize]) << c.name << ": written past the destination";
    }
    // A REG_DWORD read as text keeps its four raw bytes.
    char raw[9];
    memset(raw, kPoison, sizeof raw);
    EXPECT_TRUE(GetRegString(HKEY_CLASSES_ROOT, "K", "Number", raw, "", 8));
    EXPECT_EQ(0, memcmp(raw, "ABC\0", 4));
}

TEST_F(RegistryLayer, GetRegStringSettingsFormReadsBelowTheSettingsKey)
{
    WriteString(HKEY_CURRENT_USER, "Software\\Bramix\\Setup\\.zip", "Type", "Other.Zip");
    WriteString(HKEY_CURRENT_USER, "Setup\\.zip", "Type", "outside");
    char dest[32];
    EXPECT_TRUE(GetRegString("Setup\\.zip", "Type", dest, "", sizeof dest));
    EXPECT_STREQ("Other.Zip", dest);
    EXPECT_TRUE(GetRegString("\\Setup\\.zip", "Type", dest, "", sizeof dest));
    EXPECT_STREQ("outside", dest);
}

TEST_F(RegistryLayer, GetRegDwordReadsNumbersOrTheDefault)
{
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "Zero", 0);
    WriteDword(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "Five", 5);
    WriteRaw(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "Short", REG_BINARY, "\x34\x12", 2);
    WriteRaw(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", "Long", REG_BINARY, "12345678", 8);
    WriteDword(HKEY_CLASSES_ROOT, "Numbers", "Seven", 7);
    EXPECT_EQ(0u, GetRegDword("Setup", "Zero", 1));
    EXPECT_EQ(5u, GetRegDword("Setup", "Five", 1));
    EXPECT_EQ(9u, GetRegDword("Setup", "Missing", 9));
    EXPECT_EQ(9u, GetRegDword("Nowhere", "Zero", 9));
    EXPECT_EQ(0x1234u, GetRegDword("Setup", "Short", 9));  // the missing bytes read as zero
    EXPECT_EQ(9u, GetRegDword("Setup", "Long", 9));
    EXPECT_EQ(7u, GetRegDword(HKEY_CLASSES_ROOT, "Numbers", "Seven", 1));
}

TEST_F(RegistryLayer, GetRegBinaryReportsTheCountRead)
{
    WriteRaw(HKEY_CLASSES_ROOT, "K", "Data", REG_BINARY, "a\0b", 3);
    unsigned char dest[5];
    memset(dest, kPoison, sizeof dest);
    DWORD size = 4;
    EXPECT_TRUE(GetRegBinary(HKEY_CLASSES_ROOT, "K", "Data", dest, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(0, memcmp(dest, "a\0b", 3));
    EXPECT_EQ(kPoison, (char)dest[4]);
    size = 2;
    EXPECT_FALSE(GetRegBinary(HKEY_CLASSES_ROOT, "K", "Data", dest, &size));
    EXPECT_EQ(0u, size);
    size = 4;
    EXPECT_FALSE(GetRegBinary(HKEY_CLASSES_ROOT, "K", "Missing", dest, &size));
    EXPECT_EQ(0u, size);
}

TEST_F(RegistryLayer, DeleteRegValueRemovesOneValueOnly)
{
    WriteString(HKEY_CLASSES_ROOT, ".zip", "", "Other");
    WriteString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/zip");
    CreateKey(HKEY_CLASSES_ROOT, ".zip\\ShellNew");
    DeleteRegValue(HKEY_CLASSES_ROOT, ".zip", "");
    EXPECT_EQ(".zip\n.zip [Content Type] type 1 = 61 70 70 6c 69 63 61 74 69 6f 6e 2f 7a 69 70 00\n.zip\\ShellNew\n",
              DumpKey(HKEY_CLASSES_ROOT, ".zip"));
    DeleteRegValue(HKEY_CLASSES_ROOT, "Missing", "");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Missing"));
}

TEST_F(RegistryLayer, RegKeyPresentAnswersWhetherTheKeyOpensForQuery)
{
    CreateKey(HKEY_CLASSES_ROOT, "Empty");
    EXPECT_TRUE(RegKeyPresent(HKEY_CLASSES_ROOT, "Empty"));
    EXPECT_FALSE(RegKeyPresent(HKEY_CLASSES_ROOT, "Missing"));
    EXPECT_FALSE(RegKeyPresent(HKEY_CLASSES_ROOT, "Empty\\Missing"));
    CreateKey(HKEY_CURRENT_USER, "Software\\Bramix\\Setup");
    EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, "Setup"));
    EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, ""));
}

TEST_F(RegistryLayer, DeleteRegKeyIsOneDeletionCall)
{
    CreateKey(HKEY_CLASSES_ROOT, "Leaf");
    CreateKey(HKEY_CLASSES_ROOT, "Parent\\Child");
    DeleteRegKey(HKEY_CLASSES_ROOT, "Leaf");
    DeleteRegKey(HKEY_CLASSES_ROOT, "Parent");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Leaf"));
    // Only the 9x family's deletion call takes the subkeys with it.
    EXPECT_EQ(IsNtFamily(), KeyExists(HKEY_CLASSES_ROOT, "Parent\\Child"));
}

TEST_F(RegistryLayer, DeletionsRefuseAPathThatNamesTheRoot)
{
    CreateKey(HKEY_CLASSES_ROOT, "Keep");
    CreateKey(HKEY_CURRENT_USER, "Keep");
    DeleteRegKey(HKEY_CLASSES_ROOT, "");
    DeleteRegTree(HKEY_CLASSES_ROOT, "");
    DeleteRegKey(HKEY_CURRENT_USER, "\\");
    DeleteRegTree(HKEY_CURRENT_USER, "\\");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Keep"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Keep"));
}

// Three levels of three subkeys each, with values, below "Tree".
void MakeTree(HKEY root, const std::string& base)
{
    for (const char* a : {"a", "b", "c"})
        for (const char* b : {"1", "2", "3"})
            for (const char* c : {"x", "y", "z"}) {
                std::string path = base + "\\" + a + "\\" + b + "\\" + c;
                WriteString(root, path, "v", path);
            }
    WriteString(root, base, "", "top");
}

TEST_F(RegistryLayer, DeleteRegTreeRemovesEveryLevelAndNothingBeside)
{
    MakeTree(HKEY_CLASSES_ROOT, "Tree");
    CreateKey(HKEY_CLASSES_ROOT, "TreeSibling\\Child");
    DeleteRegTree(HKEY_CLASSES_ROOT, "Tree");
    EXPECT_EQ("", DumpKey(HKEY_CLASSES_ROOT, "Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TreeSibling\\Child"));
    DeleteRegTree(HKEY_CLASSES_ROOT, "Missing");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TreeSibling\\Child"));
}

TEST_F(RegistryLayer, DeleteRegTreeOfTheSettingsKeyStopsThere)
{
    MakeTree(HKEY_CURRENT_USER, "Software\\Bramix");
    CreateKey(HKEY_CURRENT_USER, "Software\\Other");
    CreateKey(HKEY_CURRENT_USER, "Software\\BramixOther");
    DeleteRegTree(HKEY_CURRENT_USER, "");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Bramix"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Other"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\BramixOther"));
}

// A subkey name of 200 characters cannot be enumerated into the layer's name buffer, so
// no pass can delete it. The 9x family's single deletion call removes it all the same;
// on the NT family the passes delete what they can reach, and the unreachable key stays
// with its ancestors.
TEST_F(RegistryLayer, DeleteRegTreeOnEachFamily)
{
    const std::string longName(200, 'n');
    CreateKey(HKEY_CLASSES_ROOT, "Tree\\Held\\" + longName);
    CreateKey(HKEY_CLASSES_ROOT, "Tree\\Held\\Aaa\\Deeper");  // enumerated before the long name
    MakeTree(HKEY_CLASSES_ROOT, "Tree\\Other");
    DeleteRegTree(HKEY_CLASSES_ROOT, "Tree");
    if (IsNtFamily()) {
        EXPECT_EQ("Tree\nTree\\Held\nTree\\Held\\" + longName + "\n", DumpKey(HKEY_CLASSES_ROOT, "Tree"));
    } else {
        EXPECT_EQ("", DumpKey(HKEY_CLASSES_ROOT, "Tree"));
    }
}

TEST_F(RegistryLayer, OverlongPathsAreRefusedNotCut)
{
    std::string path, cut;
    OverlongSettingsPath(256, &path, &cut);
    // The key that a cut expansion would name holds a value of its own.
    WriteString(HKEY_CURRENT_USER, "Software\\Bramix\\" + cut, "v", "cut key");
    const std::string before = DumpKey(HKEY_CURRENT_USER, "Software");

    SetRegString(path.c_str(), "v", "written");
    SetRegDword(path.c_str(), "n", 1);
    SetRegBinary(HKEY_CURRENT_USER, path.c_str(), "b", "x", 1);
    DeleteRegValue(HKEY_CURRENT_USER, path.c_str(), "v");
    DeleteRegKey(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(before, DumpKey(HKEY_CURRENT_USER, "Software"));

    char dest[33];
    memset(dest, kPoison, sizeof dest);
    EXPECT_FALSE(GetRegString(path.c_str(), "v", dest, "dflt", 32));
    EXPECT_STREQ("dflt", dest);
    EXPECT_EQ(kPoison, dest[32]);
    EXPECT_EQ(3u, GetRegDword(path.c_str(), "v", 3));
    EXPECT_FALSE(RegKeyPresent(HKEY_CURRENT_USER, path.c_str()));
    EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, cut.c_str()));

    // The tree deletion has a buffer of 200 bytes.
    std::string treePath, treeCut;
    OverlongSettingsPath(200, &treePath, &treeCut);
    CreateKey(HKEY_CURRENT_USER, "Software\\Bramix\\" + treeCut + "\\sub");
    DeleteRegTree(HKEY_CURRENT_USER, treePath.c_str());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Bramix\\" + treeCut + "\\sub"));
    DeleteRegTree(HKEY_CURRENT_USER, treeCut.c_str());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Bramix\\" + treeCut));
}

} // namespace

namespace {

// A key whose access list grants nothing can still be reopened by its owner to change
// that list.
void SetKeyAccess(HKEY root, const char* path, bool open)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, path, 0, WRITE_DAC, &key));
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, open ? NULL : &acl, FALSE);
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd));
    RegCloseKey(key);
}

TEST_F(RegistryLayer, RegKeyPresentIsFalseForAKeyThatDeniesQuery)
{
    if (!IsNtFamily()) GTEST_SKIP() << "the 9x family has no access lists on keys";
    CreateKey(HKEY_CLASSES_ROOT, "Closed");
    SetKeyAccess(HKEY_CLASSES_ROOT, "Closed", false);
    EXPECT_FALSE(RegKeyPresent(HKEY_CLASSES_ROOT, "Closed"));
    SetKeyAccess(HKEY_CLASSES_ROOT, "Closed", true);
    EXPECT_TRUE(RegKeyPresent(HKEY_CLASSES_ROOT, "Closed"));
}

} // namespace
