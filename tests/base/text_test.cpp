#include <gtest/gtest.h>
#include <string.h>
#include "base/text.h"

namespace {

const unsigned char kPoison = 0x5A;

TEST(CopyText, FitsAndCuts)
{
    char buffer[8];
    memset(buffer, kPoison, sizeof buffer);
    EXPECT_TRUE(CopyText(buffer, 5, "abcd"));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(kPoison, (unsigned char)buffer[5]);

    memset(buffer, kPoison, sizeof buffer);
    EXPECT_FALSE(CopyText(buffer, 5, "abcde"));
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(kPoison, (unsigned char)buffer[5]);

    EXPECT_FALSE(CopyText(buffer, 0, "x"));
    EXPECT_TRUE(CopyTextPart(buffer, 8, "abcdef", 3));
    EXPECT_STREQ("abc", buffer);
}

TEST(AppendText, FitsAndCuts)
{
    char buffer[8];
    memset(buffer, kPoison, sizeof buffer);
    strcpy(buffer, "ab");
    EXPECT_TRUE(AppendText(buffer, 6, "cde"));
    EXPECT_STREQ("abcde", buffer);
    EXPECT_FALSE(AppendText(buffer, 6, "f"));
    EXPECT_STREQ("abcde", buffer);
    EXPECT_EQ(kPoison, (unsigned char)buffer[6]);

    char unterminated[4] = {'x', 'y', 'z', 'w'};
    EXPECT_FALSE(AppendText(unterminated, 4, "q"));
    EXPECT_EQ('\0', unterminated[3]);
}

TEST(FormatText, Conversions)
{
    const struct {
        const char* expected;
        bool ok;
        int capacity;
    } unused = {"", true, 0};
    (void)unused;
    char buffer[64];
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%08x", 0x29b544f7u));
    EXPECT_STREQ("29b544f7", buffer);
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%08x", 0x1u));
    EXPECT_STREQ("00000001", buffer);
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, ".q%02d", 7));
    EXPECT_STREQ(".q07", buffer);
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "\"%s\" \"%%1\"", "C:\\a b\\Bramix.exe"));
    EXPECT_STREQ("\"C:\\a b\\Bramix.exe\" \"%1\"", buffer);
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%d|%u|%X|%c", -42, 42u, 0xABu, 'z'));
    EXPECT_STREQ("-42|42|AB|z", buffer);

    char small[6];
    memset(small, kPoison, sizeof small);
    EXPECT_FALSE(FormatText(small, 5, "%s%s", "abc", "def"));
    EXPECT_STREQ("abcd", small);
    EXPECT_EQ(kPoison, (unsigned char)small[5]);
}

TEST(InsertArgument, PatternIsData)
{
    char buffer[64];
    EXPECT_TRUE(InsertArgument(buffer, sizeof buffer, "You should delete %s manually", "C:\\x.exe"));
    EXPECT_STREQ("You should delete C:\\x.exe manually", buffer);
    // Only the first "%s" takes the argument; every other byte is copied as it stands.
    EXPECT_TRUE(InsertArgument(buffer, sizeof buffer, "%d %s %s %n %%", "A"));
    EXPECT_STREQ("%d A %s %n %%", buffer);
    EXPECT_TRUE(InsertArgument(buffer, sizeof buffer, "no placeholder", "A"));
    EXPECT_STREQ("no placeholder", buffer);

    char small[8];
    memset(small, kPoison, sizeof small);
    EXPECT_FALSE(InsertArgument(small, 7, "[%s]", "argument"));
    EXPECT_STREQ("[argum", small);
    EXPECT_EQ(kPoison, (unsigned char)small[7]);
}

TEST(EqualNoCaseAscii, PrefixAndWhole)
{
    EXPECT_TRUE(EqualNoCaseAscii("/SETUPX", "/setup", 6));
    EXPECT_FALSE(EqualNoCaseAscii("/set", "/setup", 6));
    EXPECT_TRUE(EqualTextNoCaseAscii("Bramix.ZIP", "bramix.zip"));
    EXPECT_FALSE(EqualTextNoCaseAscii("Bramix", "Bramix.ZIP"));
}

} // namespace
