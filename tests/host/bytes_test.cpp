// Host-only checks of byte-level code whose Windows tests need the system.
#include <gtest/gtest.h>
#include <string.h>
#include "base/array.h"
#include "base/path.h"
#include "registry/keypath.h"

namespace {

TEST(ExpandSettingsPath, Mapping)
{
    const struct {
        bool currentUser;
        const char* in;
        const char* out;
    } cases[] = {
        {true, "", "Software\\Bramix"},
        {true, "Setup", "Software\\Bramix\\Setup"},
        {true, "Setup\\MenuItems", "Software\\Bramix\\Setup\\MenuItems"},
        {true, "\\Software\\Other", "Software\\Other"},
        {false, "Bramix", "Bramix"},
        {false, "\\lead", "\\lead"},
    };
    for (const auto& c : cases) {
        char out[257];
        memset(out, 0x5A, sizeof out);
        EXPECT_TRUE(ExpandSettingsPath(c.currentUser, c.in, out, 256));
        EXPECT_STREQ(c.out, out);
        EXPECT_EQ(0x5A, (unsigned char)out[256]);
    }
}

TEST(ExpandSettingsPath, RefusesWhatDoesNotFit)
{
    char out[20];
    memset(out, 0x5A, sizeof out);
    EXPECT_FALSE(ExpandSettingsPath(true, "Setup\\MenuItems", out, 19));
    EXPECT_STREQ("", out) << "a cut path would name another key";
    EXPECT_EQ(0x5A, (unsigned char)out[19]);
    char exact[22];  // "Software\Bramix\Setup" and its terminator
    EXPECT_TRUE(ExpandSettingsPath(true, "Setup", exact, sizeof exact));
    EXPECT_FALSE(ExpandSettingsPath(true, "Setup", exact, sizeof exact - 1));
}

TEST(NameOfPath, LeadByteBeforeTerminator)
{
    unsigned char saved[257];
    memcpy(saved, LeadByteTable, sizeof saved);
    LeadByteTable[256] = 1;
    LeadByteTable[0x95] = 1;
    char path[4] = {'a', '\\', (char)0x95, '\0'};
    EXPECT_EQ(path + 2, NameOfPath(path));
    EXPECT_EQ(path + 2, LastCharOfPath(path));
    memcpy(LeadByteTable, saved, sizeof saved);
}

TEST(IsPlainFileName, Cases)
{
    unsigned char saved[257];
    memcpy(saved, LeadByteTable, sizeof saved);
    LeadByteTable[256] = 1;
    LeadByteTable[0x95] = 1;
    const struct {
        const char* name;
        bool plain;
    } cases[] = {
        {"Bramix help", true}, {"Handbuch f\xfcr QYX (100%)", true}, {"..", false}, {".", false},
        {"...", true},         {"", false},         {"..\\outside", false}, {"a/b", false},
        {"C:x", false},        {"\x95\x5C", true},  // a trail byte with the value of '\\'
    };
    for (const auto& c : cases) EXPECT_EQ(c.plain, IsPlainFileName(c.name)) << c.name;
    memcpy(LeadByteTable, saved, sizeof saved);
}

TEST(Array, GrowthRule)
{
    Array<int> a;
    a.Extend(0);
    EXPECT_EQ(nullptr, a.Items);
    EXPECT_EQ(0, a.Capacity);
    const int steps[][2] = {{1, 32}, {33, 72}, {73, 122}, {123, 184}, {185, 262}, {263, 359}, {360, 480}};
    int n = 0;
    for (const auto& s : steps) {
        while (n < s[0]) a.Append(n++);
        EXPECT_EQ(s[1], a.Capacity) << "after " << n << " elements";
    }
    for (int i = 0; i < n; ++i) ASSERT_EQ(i, a.Items[i]);
    Array<int> b;
    b.Extend(100);
    EXPECT_EQ(100, b.Capacity);
}

} // namespace
