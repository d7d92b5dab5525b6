#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <string.h>
#include <string>
#include <vector>
#include "base/file.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"

namespace {

const unsigned char kPoison = 0xA5;

std::string Pattern(size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = (char)('a' + (i * 7 + i / 26) % 26);
    return s;
}

// True when nobody else holds the file: an open that shares nothing succeeds.
bool NobodyHolds(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

std::wstring Wide(const std::string& s)
{
    wchar_t buffer[2048];
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buffer, 2048);
    return std::wstring(buffer, n > 0 ? (size_t)n - 1 : 0);
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = folder_ / "data.bin";
        content_ = Pattern(8192 + 100);
        WriteFile(path_, content_);
    }
    TempFolder folder_;
    std::string path_;
    std::string content_;
};

TEST_F(FileTest, OpenFailuresTellAMissingFileFromARefusedOne)
{
    File missing;
    EXPECT_FALSE(missing.Open((folder_ / "none.bin").c_str(), nullptr, false, true));
    EXPECT_TRUE(missing.MissingOnOpen);
    EXPECT_EQ(INVALID_HANDLE_VALUE, missing.Handle);
    EXPECT_STREQ("", missing.Name);

    HANDLE exclusive = CreateFileA(path_.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
    File refused;
    EXPECT_FALSE(refused.Open(path_.c_str(), nullptr, false, true));
    EXPECT_FALSE(refused.MissingOnOpen);
    CloseHandle(exclusive);

    // A name that the object could not hold is refused, not cut.
    std::string longName = folder_.Path() + "\\" + std::string(1100, 'n');
    File tooLong;
    EXPECT_FALSE(tooLong.Open(longName.c_str(), nullptr, false, true));
    EXPECT_FALSE(tooLong.MissingOnOpen);
    EXPECT_STREQ("", tooLong.Name);
}

TEST_F(FileTest, ShareWriteLetsAnotherProcessKeepWriting)
{
    HANDLE writer = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    {
        File plain;
        EXPECT_FALSE(plain.Open(path_.c_str(), nullptr, false, false));
    }
    {
        File shared;
        ASSERT_TRUE(shared.Open(path_.c_str(), nullptr, false, true));
        EXPECT_STREQ(path_.c_str(), shared.Name);
        DWORD written;
        ::WriteFile(writer, "XYZ", 3, &written, NULL);
        char buffer[4] = {};
        EXPECT_EQ(3, shared.Read(buffer, 3));
        EXPECT_STREQ("XYZ", buffer);
    }
    {
        File byField;
        byField.ShareWrite = true;
        EXPECT_TRUE(byField.Open(path_.c_str(), nullptr, false, false));
    }
    CloseHandle(writer);
}

TEST_F(FileTest, ReadTellAndSeekWalkTheFile)
{
    File f;
    ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
    std::vector<char> buffer(9000, (char)kPoison);
    ASSERT_EQ(8192, f.Read(buffer.data(), 8192));
    EXPECT_EQ(0, memcmp(buffer.data(), content_.data(), 8192));
    EXPECT_EQ(kPoison, (unsigned char)buffer[8192]);
    EXPECT_EQ(8192, f.Tell());

    f.Seek(8192 - 16, FILE_BEGIN);
    memset(buffer.data(), kPoison, buffer.size());
    ASSERT_EQ(16, f.Read(buffer.data(), 16));
    EXPECT_EQ(0, memcmp(buffer.data(), content_.data() + 8176, 16));

    // More than is left: the rest; at the end: 0.
    memset(buffer.data(), kPoison, buffer.size());
    ASSERT_EQ(100, f.Read(buffer.data(), 8192));
    EXPECT_EQ(0, memcmp(buffer.data(), content_.data() + 8192, 100));
    EXPECT_EQ(kPoison, (unsigned char)buffer[100]);
    EXPECT_EQ(0, f.Read(buffer.data(), 8192));
    EXPECT_EQ((long long)content_.size(), f.Tell());

    f.Seek(-10, FILE_END);
    EXPECT_EQ((long long)content_.size() - 10, f.Tell());
    f.Seek(-6, FILE_CURRENT);
    EXPECT_EQ((long long)content_.size() - 16, f.Tell());
    EXPECT_FALSE(f.TrySeek(-1, FILE_BEGIN));  // before the start
    EXPECT_EQ((long long)content_.size() - 16, f.Tell());
}

TEST_F(FileTest, PositionsBeyond4GiBComeBackWhole)
{
    // A sparse file: two short tags far beyond 4 GiB, nothing stored in between.
    const long long farTag = 5LL * 1024 * 1024 * 1024 + 7;
    const long long lowHalfAllOnes = 0x1FFFFFFFFLL;  // low half equals INVALID_SET_FILE_POINTER
    std::string sparse = folder_ / "sparse.bin";
    HANDLE h = CreateFileA(sparse.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD ignored;
    DeviceIoControl(h, FSCTL_SET_SPARSE, NULL, 0, NULL, 0, &ignored, NULL);
    const struct {
        long long at;
        const char* tag;
    } tags[] = {{lowHalfAllOnes, "LOWHALF"}, {farTag, "FARTAG"}};
    for (const auto& t : tags) {
        LARGE_INTEGER at;
        at.QuadPart = t.at;
        ASSERT_TRUE(SetFilePointerEx(h, at, NULL, FILE_BEGIN));
        DWORD written;
        ASSERT_TRUE(::WriteFile(h, t.tag, (DWORD)strlen(t.tag), &written, NULL));
    }
    CloseHandle(h);

    File f;
    ASSERT_TRUE(f.Open(sparse.c_str(), nullptr, false, true));
    for (const auto& t : tags) {
        f.Seek(t.at, FILE_BEGIN);
        EXPECT_EQ(t.at, f.Tell()) << t.tag;
        char buffer[16];
        memset(buffer, kPoison, sizeof buffer);
        ASSERT_EQ((int)strlen(t.tag), f.Read(buffer, (int)strlen(t.tag))) << t.tag;
        EXPECT_EQ(0, memcmp(buffer, t.tag, strlen(t.tag))) << t.tag;
        EXPECT_EQ(t.at + (long long)strlen(t.tag), f.Tell()) << t.tag;
    }
    EXPECT_TRUE(f.TrySeek(lowHalfAllOnes, FILE_BEGIN));
    EXPECT_EQ(lowHalfAllOnes, f.Tell());
    f.Seek(-1, FILE_CURRENT);
    EXPECT_EQ(lowHalfAllOnes - 1, f.Tell());
    f.Close();
    DeleteFileA(sparse.c_str());
}

TEST_F(FileTest, DestructionAndCloseReleaseTheHandleOnce)
{
    {
        File f;
        ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
        EXPECT_FALSE(NobodyHolds(path_));
    }
    EXPECT_TRUE(NobodyHolds(path_));
    {
        File neverOpened;
        EXPECT_FALSE(neverOpened.Open((folder_ / "none.bin").c_str(), nullptr, false, true));
    }  // nothing to close
    File f;
    ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(INVALID_HANDLE_VALUE, f.Handle);
    EXPECT_TRUE(NobodyHolds(path_));
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.TrySeek(10, FILE_BEGIN));  // a closed file has nothing to move
    EXPECT_EQ(-1, f.Read(&f, 1));
    EXPECT_FALSE(f.IsStreamDevice());
}

TEST_F(FileTest, TheWideNameServesOnlyTheNtFamily)
{
    // The ANSI name names nothing: the open succeeds exactly when the wide name is used.
    std::string missing = folder_ / "none.bin";
    std::wstring wide = Wide(path_);
    File f;
    bool opened = f.Open(missing.c_str(), (const WCHAR*)wide.c_str(), false, true);
    EXPECT_EQ(IsNtFamily(), opened);
    EXPECT_EQ(!IsNtFamily(), f.MissingOnOpen != 0);
    if (opened) {
        EXPECT_EQ(0, memcmp(f.WideName, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR)));
        // Deletion takes the same name the file was opened by.
        EXPECT_TRUE(f.Delete());
        EXPECT_FALSE(PathExists(path_));
    }

    WriteFile(path_, content_);
    File empty;
    EXPECT_TRUE(empty.Open(path_.c_str(), (const WCHAR*)L"", false, true)) << "an empty wide name is no name";
}

TEST_F(FileTest, DeletionModes)
{
    {
        File f;
        ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
        f.Deletable = false;
        EXPECT_FALSE(f.Delete());
        EXPECT_NE(INVALID_HANDLE_VALUE, f.Handle);
    }
    EXPECT_TRUE(PathExists(path_));
    {
        File f;
        ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
        EXPECT_TRUE(f.Delete());
        EXPECT_EQ(INVALID_HANDLE_VALUE, f.Handle);
    }
    EXPECT_FALSE(PathExists(path_));

    WriteFile(path_, content_);
    {
        File f;
        f.DeleteOnClose = true;
        ASSERT_TRUE(f.Open(path_.c_str(), nullptr, false, true));
        EXPECT_FALSE(f.DeleteOnClose) << "every open starts without deletion";
        f.DeleteOnClose = true;
    }
    EXPECT_FALSE(PathExists(path_));
}

TEST_F(FileTest, AForeignHandleIsNeverClosed)
{
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        File f;
        f.Handle = h;
        f.ForeignHandle = true;
    }  // the destructor leaves it alone
    {
        File f;
        f.Handle = h;
        f.ForeignHandle = true;
        char c;
        EXPECT_EQ(1, f.Read(&c, 1));
        EXPECT_TRUE(f.Close());
        EXPECT_EQ(INVALID_HANDLE_VALUE, f.Handle);
    }
    char c = 0;
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, &c, 1, &got, NULL));
    EXPECT_EQ(content_[1], c);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(FileTest, BlockwiseRecoveryCountsUnreadableBlocksAsRead)
{
    // A handle without read access: every read fails, and so does every block.
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    File f;
    f.Handle = h;
    f.ForeignHandle = true;
    std::vector<unsigned char> buffer(1400, kPoison);
    EXPECT_EQ(-1, f.Read(buffer.data(), 1300));

    f.BlockwiseRecovery = true;
    EXPECT_EQ(1300, f.Read(buffer.data(), 1300));  // 512 + 512 + 276
    for (size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(kPoison, buffer[i]) << i;
    EXPECT_EQ(1300 - 276, f.Tell()) << "the last block was positioned at its own start";
    f.Close();
    CloseHandle(h);

    // A readable file: recovery is not needed, the read is one piece.
    File g;
    g.BlockwiseRecovery = true;
    ASSERT_TRUE(g.Open(path_.c_str(), nullptr, false, true));
    EXPECT_EQ(1300, g.Read(buffer.data(), 1300));
    EXPECT_EQ(0, memcmp(buffer.data(), content_.data(), 1300));
}

TEST(FileStdStream, ReadsTheStandardInputAndLeavesItOpen)
{
    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, NULL, 0));
    HANDLE savedInput = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, readEnd);
    DWORD written;
    ::WriteFile(writeEnd, "hello", 5, &written, NULL);
    {
        File f;
        f.StdStream = 1;
        char buffer[64];
        memset(buffer, kPoison, sizeof buffer);
        EXPECT_EQ(5, f.Read(buffer, 100000));  // a large request is capped for a pipe
        EXPECT_EQ(0, memcmp(buffer, "hello", 5));
        EXPECT_EQ(kPoison, (unsigned char)buffer[5]);
        EXPECT_TRUE(f.IsStreamDevice());
        CloseHandle(writeEnd);
        EXPECT_EQ(0, f.Read(buffer, 10)) << "the writer has gone: end of input";
        EXPECT_FALSE(f.Delete());
        EXPECT_TRUE(f.Close());
        EXPECT_TRUE(f.Close());
    }
    SetStdHandle(STD_INPUT_HANDLE, savedInput);
    EXPECT_EQ((DWORD)FILE_TYPE_PIPE, GetFileType(readEnd)) << "the standard input was closed";
    EXPECT_TRUE(CloseHandle(readEnd));
}

TEST(FileStreamDevice, PipesAreStreamsFilesAreNot)
{
    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, NULL, 0));
    File pipe;
    pipe.Handle = readEnd;
    pipe.ForeignHandle = true;
    EXPECT_TRUE(pipe.IsStreamDevice());
    pipe.Close();
    CloseHandle(readEnd);
    CloseHandle(writeEnd);

    TempFolder folder;
    WriteFile(folder / "f.bin", "x");
    File file;
    ASSERT_TRUE(file.Open((folder / "f.bin").c_str(), nullptr, false, true));
    EXPECT_FALSE(file.IsStreamDevice());
}

} // namespace
