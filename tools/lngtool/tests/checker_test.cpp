#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "checker.h"
#include "lang/textkey.h"
#include "testutil.h"

namespace {

class CheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::string> modules = FixtureModules();
        ASSERT_FALSE(modules.empty());
        image = ReadBytes(modules[0]);
        char error[200];
        ASSERT_TRUE(ReadProgramTexts(image.data(), image.size(), &texts, error, sizeof error)) << error;
    }
    std::vector<Finding> Check(const std::string& file)
    {
        std::vector<Finding> findings;
        CheckLanguageFile((const unsigned char*)file.data(), file.size(), texts, &findings);
        return findings;
    }
    static std::string Key(char kind, const char* context, const char* text)
    {
        char key[9];
        MakeTextKey(key, kind, context, text);
        return key;
    }
    std::vector<unsigned char> image;
    ProgramTexts texts;
};

TEST_F(CheckerTest, FindsEachFaultOnItsLine)
{
    const struct {
        int line;
        bool error;
        const char* part;
    } expected[] = {
        {6, true, "key ffffffff matches no text of the program"},
        {7, true, "uppercase: the program only finds 0fc4f32c (string 5101)"},
        {8, true, "no closing double quote: its last one is escaped"},
        {9, true, "no closing double quote: the program takes the rest of the line"},
        {10, true, "the text is 256 bytes long; a string holds at most 255"},
        {11, true, "the text is 1024 bytes long; a dialog text holds at most 1023"},
        {12, true, "appears again (first on line 4)"},
        {13, true, "two numbers joined by \"*\""},
        {14, true, "a percentage of 0"},
        {16, true, "only \"RTL\""},
        {17, true, "indented entry is never found"},
        {18, true, "the text must follow \"=\" in double quotes"},
        {19, true, "\"2b544f7\" is not a key"},
        {20, true, "starts with the key of string 5105; string 5106 but is not an entry"},
        {21, false, "the translation has none"},
        {23, false, "a double quote inside the text"},
    };
    std::vector<unsigned char> file = ReadBytes(FixtureFile("faults.lng"));
    ASSERT_FALSE(file.empty());
    std::vector<Finding> findings;
    CheckLanguageFile(file.data(), file.size(), texts, &findings);
    for (const auto& e : expected) {
        bool found = false;
        for (const Finding& f : findings)
            found = found || (f.line == e.line && f.error == e.error && strstr(f.message, e.part));
        EXPECT_TRUE(found) << "line " << e.line << ": " << e.part;
    }
    // Nothing else: the lines without a fault (a remark after a closing quote, a scale
    // entry, a word that happens to be hexadecimal) pass.
    for (const Finding& f : findings) {
        bool listed = false;
        for (const auto& e : expected) listed = listed || (f.line == e.line && strstr(f.message, e.part));
        EXPECT_TRUE(listed) << "unexpected: line " << f.line << ": " << f.message;
    }
    EXPECT_TRUE(HasErrors(findings));
}

// Any bytes are read safely (the sanitizers watch), and every finding names a line of
// the file.
TEST_F(CheckerTest, DamagedFilesAreReadSafely)
{
    std::vector<unsigned char> file = ReadBytes(FixtureFile("faults.lng"));
    ASSERT_FALSE(file.empty());
    int lines = 1;
    for (unsigned char c : file) lines += c == '\n';
    const unsigned char patterns[] = {'"', '\\', '\r', '\0', '=', 'A', '\f'};
    for (size_t at = 0; at < file.size(); ++at) {
        unsigned char keep = file[at];
        for (unsigned char p : patterns) {
            file[at] = p;
            std::vector<Finding> findings;
            CheckLanguageFile(file.data(), file.size(), texts, &findings);
            for (const Finding& f : findings) {
                ASSERT_GE(f.line, 1);
                ASSERT_LE(f.line, lines + 1);
            }
        }
        file[at] = keep;
    }
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<unsigned char> cut(file.begin(), file.begin() + (long)length);
        std::vector<Finding> findings;
        CheckLanguageFile(cut.data(), cut.size(), texts, &findings);
    }
}

TEST_F(CheckerTest, LineNumbersFollowEveryKindOfLineEnd)
{
    const std::string lines[] = {"header", "***messages***", "; a remark with \\r\\n in it", "",
                                 "ffffffff=\"unknown\""};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string file;
        for (const std::string& l : lines) file += l + end;
        std::vector<Finding> findings = Check(file);
        ASSERT_EQ(1u, findings.size()) << "line end " << (end[0] == '\n' ? "LF" : end[1] ? "CR LF" : "CR");
        EXPECT_EQ(5, findings[0].line);
    }
}

TEST_F(CheckerTest, WhereTheProgramStopsReading)
{
    const std::string entry = Key('s', nullptr, "First string") + "=\"Erste\"\r\n";
    const std::string marker = "***messages***\r\n";
    const struct {
        const char* name;
        std::string file;
        int line;
        const char* part;  // null: no finding
    } cases[] = {
        {"no marker", "just text\r\n" + entry, 1, "no marker line"},
        {"marker too far", std::string(130817, ' ') + marker + entry, 1, "more than 130816 bytes"},
        {"marker at the last place", std::string(130816, ' ') + marker + entry, 0, nullptr},
        {"marker cut short", "***messages**", 1, "no marker line"},
        {"NUL in the section", marker + entry + std::string("\0", 1) + entry, 3, "a NUL byte"},
        {"past the section", marker + "; " + std::string(65536 - 16 - 2 - 2 - 5, 'x') + "\r\n" + entry, 3,
         "only 65536 bytes"},
        {"empty section", marker, 0, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<Finding> findings = Check(c.file);
        if (!c.part) {
            EXPECT_TRUE(findings.empty()) << c.name << ": " << (findings.empty() ? "" : findings[0].message);
            continue;
        }
        ASSERT_EQ(1u, findings.size()) << c.name;
        EXPECT_TRUE(findings[0].error) << c.name;
        EXPECT_EQ(c.line, findings[0].line) << c.name;
        EXPECT_NE(nullptr, strstr(findings[0].message, c.part)) << c.name << ": " << findings[0].message;
    }
}

TEST_F(CheckerTest, SettingsEntries)
{
    const std::string plain = Key('$', "PLAINDLG", "");
    const struct {
        std::string line;
        bool fault;
    } cases[] = {
        {plain + "=\"120*110\"", false},
        {plain + "=\"100*100\"", false},
        {plain + "=\"120 * 110\"", true},
        {plain + "=\"120*\"", true},
        {plain + "=\"*110\"", true},
        {plain + "=\"120*110*90\"", true},
        {plain + "=\"-120*110\"", true},
        {plain + "=\"120*00\"", true},
        {"50a17ae8=\"RTL\"", false},
        {"50a17ae8=\"LTR\"", false},
        {"50a17ae8=\"Rtl\"", true},
    };
    for (const auto& c : cases) {
        std::vector<Finding> findings = Check("***messages***\r\n" + c.line + "\r\n");
        EXPECT_EQ(c.fault, HasErrors(findings)) << c.line;
    }
}

} // namespace
