// The list reader and the checks that keep listed entries inside the program folder.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "base/path.h"
#include "uninstall/listfile.h"

namespace {

const char kPoison = '\xCC';

class ListReaderTest : public ::testing::Test {
protected:
    // Every entry of a list with that content, read with a line buffer of capacity bytes;
    // the bytes after the buffer must stay untouched.
    std::vector<std::string> Entries(const std::string& content, size_t capacity = kListLineCapacity)
    {
        FILE* file = tmpfile();
        EXPECT_NE(nullptr, file);
        if (file) {
            EXPECT_EQ(content.size(), fwrite(content.data(), 1, content.size(), file));
            rewind(file);
        }
        std::vector<std::string> out;
        if (!file) return out;
        std::vector<char> buffer(capacity + 16, kPoison);
        ListReader reader(file);
        while (reader.NextEntry(buffer.data(), capacity)) {
            out.push_back(buffer.data());
            for (size_t i = capacity; i < buffer.size(); ++i) EXPECT_EQ(kPoison, buffer[i]) << i;
        }
        // A second pass reads the same entries.
        EXPECT_TRUE(reader.Rewind());
        size_t again = 0;
        while (reader.NextEntry(buffer.data(), capacity)) {
            if (again < out.size()) {
                EXPECT_EQ(out[again], buffer.data());
            }
            ++again;
        }
        EXPECT_EQ(out.size(), again);
        fclose(file);
        return out;
    }
};

using Strings = std::vector<std::string>;

TEST_F(ListReaderTest, YieldsTheTrimmedNonEmptyLines)
{
    EXPECT_EQ((Strings{"Bramix.exe", "  lead.txt", "sub\\file.txt", "last"}),
              Entries("Bramix.exe\r\n  lead.txt \t \r\n\r\n\n \t\r\nsub\\file.txt\nlast"));
    EXPECT_EQ(Strings{}, Entries(""));
    EXPECT_EQ(Strings{}, Entries("\r\n \n\t"));
    EXPECT_EQ(Strings{"only"}, Entries("only"));
    EXPECT_EQ(Strings{"cr"}, Entries("cr\r"));
}

TEST_F(ListReaderTest, SkipsALineLongerThanTheBufferWhole)
{
    // The tail of a cut line would be an entry of its own: "victim.txt" here.
    std::string longName(3000, 'A');
    EXPECT_EQ((Strings{"before", "after"}),
              Entries("before\r\n" + longName + "\\victim.txt\r\nafter\r\n"));
    EXPECT_EQ((Strings{"after"}), Entries(longName + "\\victim.txt\r\nafter"));
    EXPECT_EQ(Strings{}, Entries(longName + "victim.txt"));

    // The limit: capacity - 1 bytes of entry. Blanks beyond it are trimmed anyway.
    std::string fits(kListLineCapacity - 1, 'b');
    EXPECT_EQ((Strings{fits, "next"}), Entries(fits + "\r\nnext"));
    EXPECT_EQ((Strings{fits}), Entries(fits + "   \t\r\n"));
    EXPECT_EQ((Strings{"next"}), Entries(fits + "c\r\nnext"));
    EXPECT_EQ((Strings{"next"}), Entries(fits + "  c\r\nnext"));
}

TEST_F(ListReaderTest, SmallBufferKeepsItsBounds)
{
    EXPECT_EQ((Strings{"1234567", "ok"}), Entries("1234567\r\n12345678\r\nok\n123456789", 8));
    EXPECT_EQ((Strings{"1234567"}), Entries("1234567   \r\n", 8));
}

TEST_F(ListReaderTest, SkipsALineWithANulByte)
{
    // Cut at the NUL, "Bramix.exe\0.bak" would delete "Bramix.exe".
    EXPECT_EQ((Strings{"keep.txt"}), Entries(std::string("Bramix.exe\0.bak\r\nkeep.txt\r\n", 27)));
}

struct EntryCase {
    const char* entry;
    bool relative;
};

const EntryCase kEntryCases[] = {
    {"Bramix.exe", true},
    {"sub\\file.txt", true},
    {"sub/file.txt", true},
    {" leading blank", true},
    {"name.with.dots", true},
    {"x..y\\...z", true},
    {".\\here.txt", true},
    {"a%TEMP%b\\x!y!\\a&b^c(d)", true},
    {"Pezu\xf1" "ero\\f.txt", true},
    {"", false},
    {"\\victim.txt", false},
    {"/victim.txt", false},
    {"\\\\server\\share\\victim.txt", false},
    {"//server/share/victim.txt", false},
    {"C:\\victim.txt", false},
    {"C:victim.txt", false},
    {"file.txt:stream", false},
    {"..", false},
    {"..\\outside.txt", false},
    {"../outside.txt", false},
    {"sub\\..\\..\\victim.txt", false},
    {"sub/../../victim.txt", false},
    {"sub\\..", false},
    {"sub\\..\\", false},
    {"...\\victim.txt", false},
    {". .\\victim.txt", false},
    {".. \\victim.txt", false},
    {"tab\tinside", false},
    {"bell\x07", false},
    {"line\rend", false},
};

TEST(ListEntryTest, OnlyPlainRelativeEntriesPass)
{
    for (const EntryCase& c : kEntryCases)
        EXPECT_EQ(c.relative, IsRelativeEntry(c.entry)) << "\"" << c.entry << "\"";
}

TEST(ListEntryTest, ScansDoubleByteCharactersWhole)
{
    // Shift-JIS: 0x83 0x5C is one character whose second byte is a backslash.
    unsigned char saved[257];
    memcpy(saved, LeadByteTable, sizeof saved);
    memset(LeadByteTable, 0, sizeof LeadByteTable);
    for (int b = 0x81; b <= 0x9F; ++b) LeadByteTable[b] = 1;
    for (int b = 0xE0; b <= 0xFC; ++b) LeadByteTable[b] = 1;
    LeadByteTable[256] = 1;
    EXPECT_TRUE(IsRelativeEntry("\x83\\..\\name.txt"));   // the component is "\x83\\.."
    EXPECT_FALSE(IsRelativeEntry("\x83\\\\..\\name.txt"));
    EXPECT_FALSE(IsRelativeEntry("\x83\\:name"));
    EXPECT_FALSE(IsRelativeEntry("\x81:name"));  // no character has ':' as its second byte
    EXPECT_FALSE(IsRelativeEntry("\x81\x01"));
    memcpy(LeadByteTable, saved, sizeof saved);
}

struct BelowCase {
    const char* path;
    const char* folder;
    bool below;
};

TEST(ListEntryTest, FullPathMustLieStrictlyBelowTheFolder)
{
    const BelowCase cases[] = {
        {"C:\\Program Files\\Bramix\\Bramix.exe", "C:\\Program Files\\Bramix\\", true},
        {"C:\\Program Files\\Bramix\\sub\\x", "C:\\Program Files\\Bramix\\", true},
        {"C:\\Program Files\\Bramix\\", "C:\\Program Files\\Bramix\\", false},
        {"C:\\Program Files\\Bramix", "C:\\Program Files\\Bramix\\", false},
        {"C:\\Program Files\\Bramix2\\x", "C:\\Program Files\\Bramix\\", false},
        {"C:\\Program Files\\victim.txt", "C:\\Program Files\\Bramix\\", false},
        {"C:\\x", "C:\\", true},
        {"D:\\x", "C:\\", false},
        {"C:\\Bramix\\x", "C:\\Bramix", false},  // a folder must end in a backslash
        {"x", "", false},
    };
    for (const BelowCase& c : cases) EXPECT_EQ(c.below, LiesBelowFolder(c.path, c.folder)) << c.path;
}

TEST(ProgramFolderTest, CutsTheNameAndKeepsADriveRoot)
{
    struct Case {
        const char* program;
        const char* folder;  // null: no folder
    } cases[] = {
        {"C:\\Program Files\\Bramix\\uninstall.exe", "C:\\Program Files\\Bramix"},
        {"C:\\uninstall.exe", "C:\\"},
        {"\\\\server\\share\\uninstall.exe", "\\\\server\\share"},
        {"\\uninstall.exe", nullptr},
        {"uninstall.exe", nullptr},
        {"C:uninstall.exe", nullptr},
    };
    for (const Case& c : cases) {
        char folder[64];
        memset(folder, kPoison, sizeof folder);
        bool ok = ProgramFolderOf(c.program, folder, sizeof folder);
        EXPECT_EQ(c.folder != nullptr, ok) << c.program;
        EXPECT_STREQ(c.folder ? c.folder : "", folder) << c.program;
        EXPECT_EQ(kPoison, folder[strlen(folder) + 1]) << c.program;
    }
}

TEST(ProgramFolderTest, RefusesAFolderThatDoesNotFit)
{
    const char* program = "C:\\Bramix\\uninstall.exe";  // folder "C:\Bramix": 9 bytes
    char folder[16];
    memset(folder, kPoison, sizeof folder);
    EXPECT_TRUE(ProgramFolderOf(program, folder, 10));
    EXPECT_STREQ("C:\\Bramix", folder);
    memset(folder, kPoison, sizeof folder);
    EXPECT_FALSE(ProgramFolderOf(program, folder, 9));
    EXPECT_STREQ("", folder);
    EXPECT_EQ(kPoison, folder[9]);
}

} // namespace
