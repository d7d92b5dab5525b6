#include <gtest/gtest.h>
#include <string.h>
#include "lang/textkey.h"

namespace {

TEST(MakeTextKey, WorkedKeys)
{
    const struct {
        char kind;
        const char* context;
        const char* text;
        const char* key;
    } cases[] = {
        {'s', nullptr, "Uninstall completed", "29b544f7"},
        {'$', "LTR", "LTR", "50a17ae8"},
        {'$', "SETUPDLG", "", "9b889d24"},
        {'$', "SETUPDLG", "OK", "a8604cfa"},
        {'s', "", "Uninstall completed", "29b544f7"},  // empty context = no context
    };
    for (const auto& c : cases) {
        char key[10];
        memset(key, 0x5A, sizeof key);
        MakeTextKey(key, c.kind, c.context, c.text);
        EXPECT_STREQ(c.key, key) << c.kind << " " << (c.context ? c.context : "(none)") << " " << c.text;
        EXPECT_EQ(0x5A, (unsigned char)key[9]) << "written past the key";
    }
}

TEST(AddToCrc, StandardCheckValue)
{
    // The CRC-32 check value of "123456789".
    EXPECT_EQ(0xCBF43926u, ~AddToCrc(0xFFFFFFFFu, "123456789", 9));
}

} // namespace
