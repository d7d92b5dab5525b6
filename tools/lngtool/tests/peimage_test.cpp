#include <gtest/gtest.h>
#include <string.h>
#include "peimage.h"
#include "testutil.h"

namespace {

class ModuleTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        image = ReadBytes(GetParam());
        ASSERT_FALSE(image.empty()) << GetParam();
    }
    std::vector<unsigned char> image;
};

TEST_P(ModuleTest, ListsEveryResourceWithItsData)
{
    std::vector<ResourceData> resources;
    char error[200] = "";
    ASSERT_TRUE(ReadResources(image.data(), image.size(), &resources, error, sizeof error)) << error;
    // Three string blocks (1, 319, 320) and four dialogs, one of them numbered.
    int strings = 0, dialogs = 0;
    for (const ResourceData& r : resources) {
        ASSERT_TRUE(r.type.isNumber);
        strings += r.type.number == 6;
        dialogs += r.type.number == 5;
        EXPECT_GE(r.bytes, image.data());
        EXPECT_LE(r.bytes + r.size, image.data() + image.size());
    }
    EXPECT_EQ(3, strings);
    EXPECT_EQ(4, dialogs);

    const ResourceData* plain = FindNamedResource(resources, 5, "PLAINDLG");
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(0x409, plain->language);
    EXPECT_NE(nullptr, FindNamedResource(resources, 5, "extdlg"));  // names compare without case
    EXPECT_EQ(nullptr, FindNamedResource(resources, 6, "PLAINDLG"));
    EXPECT_EQ(nullptr, FindNamedResource(resources, 5, "MISSING"));
}

// Every prefix of the file and every single damaged byte must be read safely (the
// sanitizers watch): either refused with a reason or read within the image.
TEST_P(ModuleTest, DamagedImagesAreReadSafely)
{
    std::vector<ResourceData> resources;
    char error[200];
    for (size_t length = 0; length < image.size(); ++length) {
        std::vector<unsigned char> cut(image.begin(), image.begin() + (long)length);
        error[0] = '\0';
        if (!ReadResources(cut.data(), cut.size(), &resources, error, sizeof error)) {
            EXPECT_NE('\0', error[0]) << "no reason at length " << length;
        } else {
            for (const ResourceData& r : resources) ASSERT_LE(r.bytes + r.size, cut.data() + cut.size());
        }
    }
    std::vector<unsigned char> damaged = image;
    const unsigned char patterns[] = {0x00, 0xFF, 0x7F, 0x80};
    for (size_t at = 0; at < damaged.size(); ++at) {
        unsigned char keep = damaged[at];
        for (unsigned char p : patterns) {
            damaged[at] = p;
            if (!ReadResources(damaged.data(), damaged.size(), &resources, error, sizeof error)) continue;
            for (const ResourceData& r : resources) ASSERT_LE(r.bytes + r.size, damaged.data() + damaged.size());
        }
        damaged[at] = keep;
    }
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, ModuleTest, ::testing::ValuesIn(FixtureModules()));

TEST(ReadResources, RefusesWhatIsNoPeImage)
{
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* reason;
    } cases[] = {
        {"empty", {}, "no MZ header"},
        {"text", std::vector<unsigned char>(100, 'x'), "no MZ header"},
        {"MZ only", [] { std::vector<unsigned char> b(100, 0); b[0] = 'M'; b[1] = 'Z'; return b; }(), "no PE signature"},
    };
    for (const auto& c : cases) {
        std::vector<ResourceData> resources;
        char error[200] = "";
        EXPECT_FALSE(ReadResources(c.bytes.data(), c.bytes.size(), &resources, error, sizeof error)) << c.name;
        EXPECT_NE(nullptr, strstr(error, c.reason)) << c.name << ": " << error;
    }
}

} // namespace
