// Hostile input across the program, one table per kind of input: list entries, language
// files, registry values of the wrong type or length, over-long command lines and paths.
// Each row names the input and the behaviour the program gives it; every output buffer
// is followed by poison that must stay untouched.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include "driver/switches.h"
#include "lang/lang_helpers.h"
#include "registry/registry.h"
#include "setup_ui/options.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"
#include "uninstall/listfile.h"

namespace {

using langtest::kPoison;

// A literal's bytes, NULs included.
template <size_t N>
std::string Bytes(const char (&s)[N])
{
    return std::string(s, N - 1);
}

// A buffer of size bytes followed by poison.
struct Guarded {
    explicit Guarded(size_t size) : bytes(size + 16, (char)kPoison), size(size) {}
    char* data() { return bytes.data(); }
    bool PoisonKept() const
    {
        for (size_t i = size; i < bytes.size(); ++i)
            if ((unsigned char)bytes[i] != kPoison) return false;
        return true;
    }
    std::vector<char> bytes;
    size_t size;
};

// ---------------------------------------------------------------------------------------
// List entries: a list file is another program's data, read with an administrator's rights.

struct ListCase {
    const char* what;
    std::string bytes;                  // the whole list file
    std::vector<std::string> kept;      // the entries that may be joined to the folder
};

TEST(HostileListTest, OnlyEntriesBelowTheProgramFolderAreKept)
{
    const std::string longLine(kListLineCapacity + 10, 'a');
    const ListCase cases[] = {
        {"parent steps", "..\\x.dll\r\na\\..\\..\\b\r\n. .\\c\r\n...\\d\r\n", {}},
        {"rooted and UNC", "\\Windows\\win.ini\r\n/etc/x\r\n\\\\server\\share\\f\r\n", {}},
        {"drives and streams", "C:x\r\nC:\\Windows\r\nfile.txt:stream\r\n", {}},
        {"control characters", std::string("a\tb\r\nc\x01" "d\r\ne\x1b" "f\r\n"), {}},
        {"NUL inside a line", Bytes("safe.dll\0..\\..\\x\r\nok.txt\r\n"), {"ok.txt"}},
        {"line longer than the buffer", longLine + "\r\n..\\y\r\nz.txt", {"z.txt"}},
        {"ordinary ones among them", "Bramix.exe\r\n  lead.txt \t\r\n\r\nsub\\a.b\n..\\\r\nsub", {"Bramix.exe", "  lead.txt", "sub\\a.b", "sub"}},
        {"bare carriage returns and blanks", "\r\r\r\n \t \r\n", {}},
    };
    TempFolder folder;
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = folder / "Uninstall.lst";
        WriteFile(path, c.bytes);
        FILE* file = fopen(path.c_str(), "rb");
        ASSERT_TRUE(file != nullptr);
        ListReader reader(file);
        std::vector<std::string> kept;
        Guarded line(kListLineCapacity);
        while (reader.NextEntry(line.data(), kListLineCapacity)) {
            if (IsRelativeEntry(line.data())) kept.push_back(line.data());
        }
        fclose(file);
        EXPECT_TRUE(line.PoisonKept());
        EXPECT_EQ(c.kept, kept);
    }
}

// ---------------------------------------------------------------------------------------
// Language files: a translator's file, or anything at its name.

class HostileLanguageTest : public ::testing::Test {
protected:
    std::string Loaded(const std::string& content, size_t outSize = 256)
    {
        std::string path = folder_ / "uninstall.lng";
        WriteFile(path, content);
        LanguageResources lang;
        lang.LoadLanguageFile(path.c_str());
        langtest::ExpectSoundSection(lang);
        return langtest::Translate(lang, 's', nullptr, langtest::kDone, outSize);
    }
    TempFolder folder_;
};

TEST_F(HostileLanguageTest, EachFileGivesADefinedText)
{
    using langtest::kMarkerLine;
    using langtest::StringEntry;
    const std::string entry = std::string(kMarkerLine) + StringEntry(langtest::kDone, "Fertig") + "\r\n";
    const struct {
        const char* what;
        std::string content;
        size_t outSize;
        std::string expected;
    } cases[] = {
        // The marker is searched in the first 16 reads only: a file of 200 KB with the
        // marker at its end is no translation.
        {"200 KB, marker at the end", langtest::Filler(200 * 1024) + entry, 256, langtest::kDone},
        {"100 KB, marker within reach", langtest::Filler(100 * 1024) + entry, 256, "Fertig"},
        {"format directives are data",
         std::string(kMarkerLine) + StringEntry(langtest::kDone, "%s%n%p%x%%%1") + "\r\n", 256, "%s%n%p%x%%%1"},
        {"translation longer than the output", std::string(kMarkerLine) + StringEntry(langtest::kDone, langtest::Filler(5000, 'y')) + "\r\n", 64, langtest::Filler(63, 'y')},
        {"marker only", kMarkerLine, 256, langtest::kDone},
        {"binary bytes after the marker", std::string(kMarkerLine) + std::string(70000, '\xff') + std::string(3000, '\0'), 256, langtest::kDone},
        {"empty file", "", 256, langtest::kDone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, Loaded(c.content, c.outSize));
    }
}

TEST_F(HostileLanguageTest, AFolderAtTheFileNameIsNoTranslation)
{
    std::string path = folder_ / "uninstall.lng";
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), NULL));
    LanguageResources lang;
    lang.LoadLanguageFile(path.c_str());
    EXPECT_FALSE(lang.IsLoaded());
    EXPECT_EQ(langtest::kDone, langtest::Translate(lang, 's', nullptr, langtest::kDone));
    RemoveDirectoryA(path.c_str());
}

// ---------------------------------------------------------------------------------------
// Registry values of the wrong type or length: anybody may have written them.

class HostileRegistryTest : public SandboxedTest {
protected:
    void Put(DWORD type, const std::string& bytes)
    {
        WriteRaw(HKEY_CURRENT_USER, "Software\\Bramix\\Hostile", "v", type, bytes.data(), (DWORD)bytes.size());
    }
};

TEST_F(HostileRegistryTest, StringReadsEndWithinTheirBuffer)
{
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
        DWORD size;
        bool ok;
        std::string expected;
    } cases[] = {
        {"a number read as text: its raw bytes", REG_DWORD, Bytes("AB\0\0"), 16, true, "AB"},
        {"a number that leaves no room for a terminator", REG_DWORD, "ABCD", 4, false, "def"},
        {"text without its terminator", REG_SZ, "abc", 16, true, "abc"},
        {"text filling the buffer without terminator", REG_SZ, std::string(16, 'a'), 16, false, "def"},
        {"a block of 100 KB", REG_BINARY, std::string(100 * 1024, 'b'), 64, false, "def"},
        {"an empty value", REG_SZ, "", 16, true, ""},
        {"text with NULs inside", REG_MULTI_SZ, Bytes("one\0two\0\0"), 16, true, "one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.type, c.bytes);
        Guarded out(c.size);
        EXPECT_EQ(c.ok, GetRegString("Hostile", "v", out.data(), "def", c.size));
        EXPECT_EQ(c.expected, std::string(out.data()));
        EXPECT_TRUE(out.PoisonKept());
    }
}

TEST_F(HostileRegistryTest, NumberReadsTakeAtMostFourBytes)
{
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
        DWORD expected;
    } cases[] = {
        {"text \"0\" is its bytes", REG_SZ, Bytes("0\0"), 0x30},
        {"one byte, the rest zero", REG_BINARY, "\x05", 5},
        {"no bytes at all", REG_BINARY, "", 0},
        {"eight bytes: the default", 11 /* REG_QWORD */, Bytes("\1\0\0\0\0\0\0\0"), 77},
        {"a long text: the default", REG_SZ, std::string(300, '1'), 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.type, c.bytes);
        EXPECT_EQ(c.expected, GetRegDword("Hostile", "v", 77));
    }
}

TEST_F(HostileRegistryTest, SetupChoicesAreOnOrOffWhateverIsStored)
{
    const struct {
        DWORD type;
        std::string bytes;
    } stored[] = {
        {REG_SZ, Bytes("0\0")}, {REG_DWORD, "\xff\xff\xff\xff"}, {REG_BINARY, std::string(9, '\x02')},
        {REG_BINARY, ""},
    };
    for (const auto& s : stored) {
        for (int i = 0; i < kArchiveTypeCount; ++i) {
            std::string key = std::string("Software\\Bramix\\Setup\\") + ArchiveTypes[i].FirstExtension;
            WriteRaw(HKEY_CURRENT_USER, key, "Set", s.type, s.bytes.data(), (DWORD)s.bytes.size());
        }
        for (const char* name : {"ShellExt", "CascadedMenu", "MenuIcons"})
            WriteRaw(HKEY_CURRENT_USER, "Software\\Bramix\\Setup", name, s.type, s.bytes.data(), (DWORD)s.bytes.size());
        SetupOptions options;
        memset(&options, 0xEE, sizeof options);
        LoadSetupOptions(&options);
        for (int slot : {0, 1, 2, 10, (int)kOptionShellExt, (int)kOptionCascadedMenu, (int)kOptionMenuIcons})
            EXPECT_TRUE(options.Flags[slot] == 0 || options.Flags[slot] == 1) << "slot " << slot;
    }
}

// ---------------------------------------------------------------------------------------
// Over-long command lines and paths.

TEST(HostileCommandLineTest, ParserTakesAnyLength)
{
    bool silent = false;
    std::string tail(100000, '/');
    EXPECT_EQ(SwitchNothing, ParseSwitch(tail.c_str(), &silent));
    std::string many;
    for (int i = 0; i < 20000; ++i) many += " /s";
    silent = false;
    EXPECT_EQ(SwitchNothing, ParseSwitch(many.c_str(), &silent));
    std::string longSwitch = "/setup" + std::string(100000, 'x');
    EXPECT_EQ(SwitchSetup, ParseSwitch(longSwitch.c_str(), &silent));
}

TEST(HostileCommandLineTest, TheProgramEndsNormallyOnAnOverlongUnknownSwitch)
{
    // Close to the system's limit of 32767 characters; an unknown switch does nothing.
    std::string commandLine = "\"" + BuiltProgram() + "\" /" + std::string(30000, 'q');
    ProcessResult r = RunProcess(commandLine, "", 30000);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
}

TEST(HostilePathTest, ProgramFolderIsRefusedRatherThanCut)
{
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\uninstall.exe";
    const struct {
        const char* path;
        size_t capacity;
        bool ok;
        const char* folder;
    } cases[] = {
        {"uninstall.exe", 260, false, ""},
        {"\\uninstall.exe", 260, false, ""},
        {"C:\\uninstall.exe", 260, true, "C:\\"},
        {"C:\\P\\uninstall.exe", 5, true, "C:\\P"},
        {"C:\\P\\uninstall.exe", 4, false, ""},
        {deep.c_str(), 260, false, ""},
        {"", 260, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Guarded folder(c.capacity);
        EXPECT_EQ(c.ok, ProgramFolderOf(c.path, folder.data(), c.capacity));
        EXPECT_STREQ(c.folder, folder.data());
        EXPECT_TRUE(folder.PoisonKept());
    }
    EXPECT_FALSE(LiesBelowFolder("C:\\P\\", "C:\\P\\"));
    EXPECT_FALSE(LiesBelowFolder("C:\\Px\\a", "C:\\P\\"));
    EXPECT_FALSE(LiesBelowFolder("C:\\P\\a", "C:\\P"));
    EXPECT_TRUE(LiesBelowFolder("C:\\P\\a", "C:\\P\\"));
}

} // namespace
