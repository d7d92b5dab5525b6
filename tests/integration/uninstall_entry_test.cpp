#include <gtest/gtest.h>
#include <string>
#include "base/product.h"
#include "integration/integration.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"

namespace {

class UninstallEntryTest : public SandboxedTest {};

std::string Dword(DWORD value)
{
    return std::string((const char*)&value, 4);
}

TEST_F(UninstallEntryTest, EveryValueOfTheEntry)
{
    RegisterUninstall();
    const std::string key = PRODUCT_UNINSTALL_KEY;
    const std::string self = ProgramPath();
    const struct {
        const char* name;
        DWORD type;
        std::string data;  // without the terminator for strings
    } expected[] = {
        {"DisplayName", REG_SZ, "Bramix archiver"},
        {"UninstallString", REG_SZ, self},
        {"QuietUninstallString", REG_SZ, "\"" + self + "\" /uninstall /s"},
        {"DisplayIcon", REG_SZ, self + ",0"},
        {"DisplayVersion", REG_SZ, "1.0"},
        {"Publisher", REG_SZ, "The Bramix developers"},
        {"InstallLocation", REG_SZ, ProgramFolder()},
        {"NoModify", REG_DWORD, Dword(1)},
        {"NoRepair", REG_DWORD, Dword(1)},
        {"URLInfoAbout", REG_SZ, "https://www.bramix.example/"},
    };
    for (const auto& e : expected) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, key, e.name, &type, &data)) << e.name;
        EXPECT_EQ(e.type, type) << e.name;
        if (type == REG_SZ) {
            ASSERT_FALSE(data.empty());
            EXPECT_EQ('\0', data.back()) << e.name << " stored without its terminator";
            data.pop_back();
        }
        EXPECT_EQ(e.data, data) << e.name;
    }
    DWORD type = 0;
    std::string size;
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, key, "EstimatedSize", &type, &size));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    DWORD kib = *(const DWORD*)size.data();
    // The test program alone is over a megabyte.
    EXPECT_GT(kib, 1000u);
}

TEST(FolderSize, CountsFilesInSubfoldersOnce)
{
    TempFolder folder;
    WriteFile(folder / "a.bin", std::string(1000, 'a'));
    MakeFolder(folder / "sub\\deeper");
    WriteFile(folder / "sub\\b.bin", std::string(2048, 'b'));
    WriteFile(folder / "sub\\deeper\\c.bin", std::string(1, 'c'));
    WriteFile(folder / "empty.bin", "");
    EXPECT_EQ(3049u, FolderSize(folder.Path().c_str()));
    EXPECT_EQ(0u, FolderSize((folder / "missing").c_str()));
}

} // namespace
