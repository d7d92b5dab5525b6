#include <gtest/gtest.h>
#include <stdint.h>
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

// The byte-wise rule, for comparison with the table's eight-bytes-a-step loop.
uint32_t ByteWiseCrc(uint32_t value, const unsigned char* p, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        value ^= p[i];
        for (int k = 0; k < 8; ++k) value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
    }
    return value;
}

TEST(AddToCrc, EightBytesAStepGiveTheByteWiseResult)
{
    unsigned char data[160];
    uint32_t seed = 12345;
    for (unsigned char& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = (unsigned char)(seed >> 16);
    }
    // Every length around the step size, from every alignment, and split in two calls.
    for (size_t offset = 0; offset < 8; ++offset) {
        for (size_t length = 0; length <= 40; ++length) {
            uint32_t expected = ByteWiseCrc(0xFFFFFFFFu, data + offset, length);
            EXPECT_EQ(expected, AddToCrc(0xFFFFFFFFu, data + offset, (uint32_t)length)) << offset << "+" << length;
            for (size_t split = 0; split <= length; split += 3) {
                uint32_t v = AddToCrc(0xFFFFFFFFu, data + offset, (uint32_t)split);
                v = AddToCrc(v, data + offset + split, (uint32_t)(length - split));
                ASSERT_EQ(expected, v) << offset << "+" << length << " split at " << split;
            }
        }
    }
    EXPECT_EQ(ByteWiseCrc(0x12345678u, data, sizeof data), AddToCrc(0x12345678u, data, sizeof data));
}

} // namespace
