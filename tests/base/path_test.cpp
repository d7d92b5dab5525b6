#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "base/path.h"
#include "base/system.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"

namespace {

// Shift-JIS characters whose trail byte has the value of '\' (0x5C).
#define SJIS_HYO "\x95\x5C"
#define SJIS_SO "\x83\x5C"

// Runs a test with LeadByteTable built for a given code page, then restores the
// process's own table.
class LeadBytes {
public:
    explicit LeadBytes(UINT codePage)
    {
        memcpy(saved_, LeadByteTable, sizeof saved_);
        CPINFO info;
        LeadByteTable[256] = (GetCPInfo(codePage, &info) && info.MaxCharSize > 1) ? 1 : 0;
        for (int v = 0; v < 256; ++v) LeadByteTable[v] = IsDBCSLeadByteEx(codePage, (BYTE)v) ? 1 : 0;
    }
    ~LeadBytes() { memcpy(LeadByteTable, saved_, sizeof saved_); }

private:
    unsigned char saved_[257];
};

struct NameCase {
    const char* path;
    const char* name;  // expected name part
};

void CheckNames(const NameCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const char* p = cases[i].path;
        const char* name = NameOfPath(p);
        ASSERT_TRUE(name >= p && name <= p + strlen(p)) << "outside the path: " << p;
        EXPECT_STREQ(cases[i].name, name) << "path " << p;
    }
}

TEST(NameOfPath, SingleByte)
{
    LeadBytes sbcs(1252);
    const NameCase cases[] = {
        {"C:\\dir\\file.txt", "file.txt"}, {"dir/sub/file", "file"}, {"C:file", "file"},
        {"C:", ""},                        {"file", "file"},         {"dir\\", ""},
        {"", ""},                          {"a\\b/c", "c"},          {"\\\\server\\share", "share"},
    };
    CheckNames(cases, sizeof cases / sizeof cases[0]);
    const char* empty = "";
    EXPECT_EQ(empty, NameOfPath(empty));
    const char* driveOnly = "C:";
    EXPECT_EQ(driveOnly + 2, NameOfPath(driveOnly));
}

TEST(NameOfPath, DoubleByteTrailByteIsNoSeparator)
{
    LeadBytes sjis(932);
    ASSERT_EQ(1, LeadByteTable[256]);
    const NameCase cases[] = {
        {"C:\\" SJIS_HYO "dir\\name", "name"},
        {"C:\\dir\\" SJIS_HYO, SJIS_HYO},
        {"C:\\" SJIS_SO SJIS_HYO, SJIS_SO SJIS_HYO},
        {SJIS_HYO, SJIS_HYO},
        // A drive designator counts only after a single-byte first character.
        {"\x95:x", "\x95:x"},
        // A lead byte right before the terminator does not step over it.
        {"a\\\x95", "\x95"},
    };
    CheckNames(cases, sizeof cases / sizeof cases[0]);
}

TEST(LastCharOfPath, Cases)
{
    LeadBytes sjis(932);
    const char* empty = "";
    EXPECT_EQ(empty, LastCharOfPath(empty));
    const char* ab = "ab";
    EXPECT_EQ(ab + 1, LastCharOfPath(ab));
    const char* dbcs = "a" SJIS_HYO;
    EXPECT_EQ(dbcs + 1, LastCharOfPath(dbcs)) << "the lead byte of the last character";
    const char* cut = "ab\x95";
    EXPECT_EQ(cut + 2, LastCharOfPath(cut));
}

TEST(AppendBackslash, Cases)
{
    LeadBytes sjis(932);
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"C:\\", "C:\\"},
        {"C:\\dir", "C:\\dir\\"},
        {"C:/dir/", "C:/dir/\\"},
        {"C:\\" SJIS_HYO, "C:\\" SJIS_HYO "\\"},  // the trail byte is not a backslash
    };
    for (const auto& c : cases) {
        char buffer[kPathCapacity + 1];
        memset(buffer, 0x5A, sizeof buffer);
        strcpy(buffer, c.in);  // test set-up into a buffer known to be large enough
        EXPECT_TRUE(AppendBackslash(buffer));
        EXPECT_STREQ(c.out, buffer) << "in " << c.in;
        EXPECT_EQ(0x5A, (unsigned char)buffer[kPathCapacity]);
    }
}

TEST(AppendBackslash, RefusesWhenFull)
{
    char buffer[6];
    memset(buffer, 0x5A, sizeof buffer);
    memcpy(buffer, "abcd", 5);
    EXPECT_FALSE(AppendBackslash(buffer, 5));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(0x5A, (unsigned char)buffer[5]);
    EXPECT_TRUE(AppendBackslash(buffer, 6));
    EXPECT_STREQ("abcd\\", buffer);
}

TEST(TrimTrailingBlanks, Cases)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"line\r\n", "line"}, {" \t \r\n", ""}, {"a b", "a b"}, {"  lead", "  lead"},
        {"", ""},             {"x\t", "x"},     {"\n", ""},
    };
    for (const auto& c : cases) {
        char buffer[32];
        strcpy(buffer, c.in);
        EXPECT_EQ(buffer, TrimTrailingBlanks(buffer));
        EXPECT_STREQ(c.out, buffer) << "in \"" << c.in << "\"";
    }
}

TEST(CompareTextNoCase, Results)
{
    EXPECT_EQ(0, CompareTextNoCase("combobox", "COMBOBOX"));
    EXPECT_EQ(-1, CompareTextNoCase("a", "b"));
    EXPECT_EQ(1, CompareTextNoCase("b", "A"));
}

TEST(WinNtMajorVersion, FollowsTheFamily)
{
    int major = WinNtMajorVersion();
    if (IsNtFamily())
        EXPECT_GE(major, 4);
    else
        EXPECT_EQ(0, major);
    EXPECT_EQ(major, WinNtMajorVersion());
}

TEST(ModuleSiblingPath, NamesAFileInTheProgramFolder)
{
    char out[kPathCapacity + 1];
    memset(out, 0x5A, sizeof out);
    ASSERT_TRUE(ModuleSiblingPath("qyxlng.dll", out));
    EXPECT_EQ(ProgramFolder() + "\\qyxlng.dll", std::string(out));
    EXPECT_EQ(0x5A, (unsigned char)out[kPathCapacity]);

    std::string longName(kPathCapacity, 'n');
    EXPECT_FALSE(ModuleSiblingPath(longName.c_str(), out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0x5A, (unsigned char)out[kPathCapacity]);
}

TEST(LaunchProcess, MissingProgram)
{
    typedef BOOL(WINAPI * CountFn)(HANDLE, PDWORD);
    CountFn count = (CountFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount");
    DWORD before = 0, after = 0;
    if (count) count(GetCurrentProcess(), &before);
    char line[] = "C:\\no\\such\\program.exe";
    EXPECT_FALSE(LaunchProcess(line, NULL, 0));
    if (count) {
        count(GetCurrentProcess(), &after);
        EXPECT_EQ(before, after) << "a handle was left open";
    }
}

TEST(LaunchProcess, StartsAndWaits)
{
    TempFolder folder;
    char line[kPathCapacity];
    std::string command = "cmd.exe /c echo started> \"" + (folder / "mark.txt") + "\"";
    ASSERT_LT(command.size(), sizeof line);
    strcpy(line, command.c_str());
    EXPECT_TRUE(LaunchProcess(line, folder.Path().c_str(), 10000));
    EXPECT_EQ("started\r\n", ReadFile(folder / "mark.txt"));
}

// Under code page 932 the table built at start-up is a double-byte one.
TEST(LeadByteTable, BuiltFromTheProcessCodePage)
{
    if (GetACP() != 932) {
        EXPECT_EQ(0, LeadByteTable[256]) << "code page " << GetACP();
        return;
    }
    EXPECT_EQ(1, LeadByteTable[256]);
    EXPECT_EQ(1, LeadByteTable[0x95]);
    EXPECT_EQ(0, LeadByteTable['\\']);
    EXPECT_STREQ("name", NameOfPath("C:\\" SJIS_HYO "\\name"));
    EXPECT_STREQ(SJIS_HYO "dir", NameOfPath("C:\\" SJIS_HYO "dir"));
}

} // namespace
