#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "base/text.h"
#include "checker.h"
#include "lang/textkey.h"
#include "loadermodel.h"
#include "template.h"
#include "testutil.h"

namespace {

std::string Template(const ProgramTexts& texts)
{
    TextOutput out;
    WriteTemplate(texts, "test.dll", &out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
}

ProgramText Text(TextRole role, const char* context, const char* text)
{
    ProgramText t = {};
    t.role = role;
    t.kind = role == RoleString ? 's' : '$';
    CopyText(t.context, sizeof t.context, context);
    CopyText(t.text, sizeof t.text, text);
    MakeTextKey(t.key, t.kind, context, text);
    CopyText(t.place, sizeof t.place, "somewhere");
    return t;
}

// Every text must come back from the template as the program reads it, found by its
// key alone: no remark, no other entry and no line of a text may answer for it.
void ExpectEveryTextComesBack(const ProgramTexts& texts, const std::string& file)
{
    LoaderModel loader(file);
    ASSERT_TRUE(loader.Loaded());
    for (const ProgramText& t : texts.texts) {
        std::vector<size_t> found = loader.Candidates(t.key);
        ASSERT_EQ(1u, found.size()) << t.place << " (" << t.key << ")";
        EXPECT_EQ(std::string(t.text), loader.TextAt(found[0])) << t.place;
    }
    // The scale and direction examples are commented out: they change nothing.
    for (const ProgramText& s : texts.settings) {
        EXPECT_TRUE(loader.Candidates(s.key).empty()) << s.place;
        EXPECT_NE(std::string::npos, file.find(std::string(";") + s.key + "=\"")) << s.place;
    }
}

TEST(WriteTemplate, TheTestModuleComesBackWholeAndChecksClean)
{
    for (const std::string& module : FixtureModules()) {
        std::vector<unsigned char> image = ReadBytes(module);
        ProgramTexts texts;
        char error[200];
        ASSERT_TRUE(ReadProgramTexts(image.data(), image.size(), &texts, error, sizeof error)) << error;
        std::string file = Template(texts);
        ExpectEveryTextComesBack(texts, file);
        std::vector<Finding> findings;
        CheckLanguageFile((const unsigned char*)file.data(), file.size(), texts, &findings);
        for (const Finding& f : findings) ADD_FAILURE() << module << ":" << f.line << ": " << f.message;
        EXPECT_NE(std::string::npos, file.find("\r\n***messages***\r\n"));
        EXPECT_NE(std::string::npos, file.find("; ==== Dialog PLAINDLG ====")) << "dialogs get headings";
        EXPECT_NE(std::string::npos, file.find("; string 5105; string 5106: \"Same text\"")) << "one entry, both places";
    }
}

// Texts made to trip the format: line breaks followed by what looks like keys and
// entries, quotes, backslashes, the marker, control bytes.
TEST(WriteTemplate, TextsThatLookLikeEntriesStayInside)
{
    ProgramTexts texts;
    char key[9];
    MakeTextKey(key, 's', nullptr, "Victim");
    std::string lookalike = std::string("first\r\n") + key + "=\"fake\"\nmore";
    const char* nasty[] = {
        lookalike.c_str(),
        "ends in a backslash\\",
        "\\\"escaped already\\\"",
        "\"quoted\" at both ends \"",
        "tab\there, bell\a, escape \x1b",
        "***messages***",
        "\\n is not a line break here",
    };
    texts.texts.push_back(Text(RoleString, "", "Victim"));
    for (const char* t : nasty) texts.texts.push_back(Text(RoleString, "", t));
    for (const char* t : nasty) texts.texts.push_back(Text(RoleDialog, "SOMEDLG", t));
    texts.settings.push_back(Text(RoleScale, "SOMEDLG", ""));
    texts.settings.push_back(Text(RoleDirection, "LTR", "LTR"));
    ResourceId dialog = {};
    CopyText(dialog.name, sizeof dialog.name, "SOMEDLG");
    texts.dialogs.push_back(dialog);
    std::string file = Template(texts);
    ExpectEveryTextComesBack(texts, file);

    // Every line after the marker is blank, a remark that starts with ";", or an entry.
    size_t marker = file.find("\r\n***messages***\r\n");
    ASSERT_NE(std::string::npos, marker);
    size_t at = marker + 18;
    while (at < file.size()) {
        size_t end = file.find("\r\n", at);
        ASSERT_NE(std::string::npos, end) << "every line ends with CR LF";
        std::string line = file.substr(at, end - at);
        EXPECT_EQ(std::string::npos, line.find_first_of("\r\n\f")) << line;
        if (!line.empty() && line[0] != ';') {
            EXPECT_EQ("=\"", line.substr(8, 2)) << line;
        }
        at = end + 2;
    }
}

TEST(WriteTemplate, ATextWithAFormFeedStaysEnglish)
{
    ProgramTexts texts;
    texts.texts.push_back(Text(RoleString, "", "page\fbreak"));
    std::string file = Template(texts);
    LoaderModel loader(file);
    EXPECT_TRUE(loader.Candidates(texts.texts[0].key).empty());
    EXPECT_NE(std::string::npos, file.find("form feed"));
}

} // namespace
