#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "lang/resources.h"
#include "resources/resource.h"
#include "support/tempfolder.h"

namespace {

// The module path handed to ExtResource::Load: any file name in that folder will do.
std::string ModuleFolder(const char* folder)
{
    return ProgramFolder() + "\\" + folder + "\\any.name";
}

class ExtResourceTest : public ::testing::Test {
protected:
    void TearDown() override { TheExtResource.Unload(); }
    HMODULE self_ = GetModuleHandleA(NULL);
};

TEST_F(ExtResourceTest, WithoutModuleTheExecutableServes)
{
    TheExtResource.Load(self_, nullptr);  // no qyxlng.dll beside the test program
    EXPECT_FALSE(TheExtResource.Loaded);
    EXPECT_EQ(self_, ResourceModule);
    EXPECT_EQ(self_, ProgramModule);
    EXPECT_STREQ("Uninstall Bramix", GetString(IDS_UNINSTALL_CAPTION));
    EXPECT_STREQ("Cannot open list file %s", GetString(IDS_NO_LIST_FILE));
    EXPECT_STRNE("", GetString(IDS_HOME_PAGE));
}

TEST_F(ExtResourceTest, ModuleServesStringsAndIconExecutableTheRest)
{
    TheExtResource.Load(self_, ModuleFolder("german_module").c_str());
    ASSERT_TRUE(TheExtResource.Loaded);
    EXPECT_NE(self_, ResourceModule);
    EXPECT_EQ(self_, ProgramModule);
    EXPECT_STREQ("Bramix entfernen", GetString(IDS_UNINSTALL_CAPTION));
    EXPECT_STREQ("Bramix Archivierer", GetString(IDS_DISPLAY_NAME));
    // An id the module lacks comes from the executable.
    EXPECT_STREQ("Continue with uninstall Bramix", GetString(IDS_CONFIRM_UNINSTALL));
    // The dialog icon is looked up in the resource module.
    EXPECT_TRUE(FindResourceA(ResourceModule, "QYXICON", MAKEINTRESOURCEA(14))) << "icon group in the module";
    EXPECT_TRUE(LoadIconA(ResourceModule, "QYXICON"));
}

TEST_F(ExtResourceTest, UnloadBringsTheExecutableBack)
{
    TheExtResource.Load(self_, ModuleFolder("german_module").c_str());
    ASSERT_TRUE(TheExtResource.Loaded);
    std::string path = ProgramFolder() + "\\german_module\\qyxlng.dll";
    TheExtResource.Unload();
    EXPECT_FALSE(TheExtResource.Loaded);
    EXPECT_EQ(ProgramModule, ResourceModule);
    EXPECT_EQ(NULL, GetModuleHandleA(path.c_str())) << "the module is still loaded";
    TheExtResource.Unload();  // a second call does nothing
    EXPECT_EQ(ProgramModule, ResourceModule);
    EXPECT_STREQ("Uninstall Bramix", GetString(IDS_UNINSTALL_CAPTION));
}

TEST_F(ExtResourceTest, SecondLoadReleasesTheFirstModule)
{
    std::string german = ProgramFolder() + "\\german_module\\qyxlng.dll";
    TheExtResource.Load(self_, ModuleFolder("german_module").c_str());
    TheExtResource.Load(self_, ModuleFolder("hostile_module").c_str());
    ASSERT_TRUE(TheExtResource.Loaded);
    EXPECT_EQ(NULL, GetModuleHandleA(german.c_str())) << "the first module was not released";
    EXPECT_STREQ("%s%s%s%n", GetString(IDS_UNINSTALL_CAPTION));
    TheExtResource.Load(self_, ModuleFolder("missing_module").c_str());
    EXPECT_FALSE(TheExtResource.Loaded);
    EXPECT_EQ(self_, ResourceModule);
}

TEST(GetString, RingOfEightBuffers)
{
    const char* first = GetString(IDS_UNINSTALL_CAPTION);
    std::string kept = first;
    for (int i = 0; i < 7; ++i) GetString(IDS_TYPE_ZIP);
    EXPECT_EQ(kept, first) << "overwritten by one of the seven calls after it";
    EXPECT_EQ(first, GetString(IDS_TYPE_ARCHIVE)) << "the eighth call reuses the buffer";
    EXPECT_STREQ("Bramix archive", first);
}

TEST(GetString, UnknownIdIsEmpty)
{
    EXPECT_STREQ("", GetString(4242));
}

TEST(GetString, EveryEnglishString)
{
    const struct {
        UINT id;
        const char* text;
    } table[] = {
        {5101, "Bramix archiver"},     {5102, "Bramix help"},
        {5103, "Console QYX manual"},  {5104, "Uninstall Bramix"},
        {5105, "Uninstall completed"}, {5106, "You should delete %s manually"},
        {5107, "Continue with uninstall Bramix"}, {5108, "Cannot open list file %s"},
        {5109, "Bramix archive"},      {5110, "Bramix ZIP archive"},
        {5111, "QYX recovery volume"},
    };
    for (const auto& t : table) EXPECT_STREQ(t.text, GetString(t.id)) << t.id;
    EXPECT_EQ(0, strncmp(GetString(5112), "https://", 8));
}

} // namespace
