// The byte-level data of the file associations: the empty-archive templates and the
// cutting of extension groups.
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>
#include "integration/assocdata.h"
#include "lang/textkey.h"

namespace {

const unsigned char kQyxBytes[20] = {'Q', 'y', 'x', '!', 0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
                                     0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const unsigned char kZipBytes[22] = {'P', 'K', 0x05, 0x06};

TEST(EmptyArchiveTemplates, HoldTheEmptyArchivesOnceCompleted)
{
    // The header check of the product's format: the low 16 bits of the CRC-32 of bytes 9..19.
    uint32_t crc = ~AddToCrc(0xFFFFFFFFu, kQyxBytes + 9, 11);
    EXPECT_EQ(crc & 0xFF, kQyxBytes[7]);
    EXPECT_EQ((crc >> 8) & 0xFF, kQyxBytes[8]);
    CompleteTemplateSignatures();
    EXPECT_EQ(0, memcmp(kQyxBytes, EmptyQyxTemplate, kEmptyQyxSize));
    EXPECT_EQ(0, memcmp(kZipBytes, EmptyZipTemplate, kEmptyZipSize));
}

TEST(NextExtension, CutsAGroupAtEveryDotAfterTheFirstCharacter)
{
    const struct {
        const char* group;
        size_t capacity;
        std::vector<std::string> parts;
    } cases[] = {
        {".qyx", 32, {".qyx"}},
        {".lzh.lha", 32, {".lzh", ".lha"}},
        {".uue.xxe.uu", 32, {".uue", ".xxe", ".uu"}},
        {".bz2.tbz2.bz.tbz", 32, {".bz2", ".tbz2", ".bz", ".tbz"}},
        {"", 32, {}},
        {".toolong.ab", 5, {"", ".ab"}},  // passed over, never cut
    };
    for (const auto& c : cases) {
        std::vector<std::string> parts;
        const char* cursor = c.group;
        char out[33];
        memset(out, 0x5A, sizeof out);
        while (NextExtension(&cursor, out, c.capacity)) {
            parts.push_back(out);
            ASSERT_LT(parts.size(), 10u);
        }
        EXPECT_EQ(c.parts, parts) << c.group;
        EXPECT_EQ(0x5A, out[c.capacity]) << c.group;
    }
}

} // namespace
