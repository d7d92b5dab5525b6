#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "lang/textkey.h"
#include "programtexts.h"
#include "testutil.h"

namespace {

class ProgramTextsTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        image = ReadBytes(GetParam());
        ASSERT_FALSE(image.empty()) << GetParam();
        char error[200] = "";
        ASSERT_TRUE(ReadProgramTexts(image.data(), image.size(), &texts, error, sizeof error)) << error;
    }
    const ProgramText* Find(char kind, const char* context, const char* text)
    {
        char key[9];
        MakeTextKey(key, kind, context, text);
        return FindProgramText(texts, key);
    }
    bool Noted(const char* part)
    {
        for (const ProgramNote& n : texts.notes)
            if (strstr(n.text, part)) return true;
        return false;
    }
    std::vector<unsigned char> image;
    ProgramTexts texts;
};

TEST_P(ProgramTextsTest, StringsComeInIdOrderAsTheProgramReadsThem)
{
    const struct {
        unsigned id;
        const char* text;
    } expected[] = {
        {7, "Seven, alone in the first block"},
        {5101, "First string"},
        {5102, "Say \"hi\" to %s"},
        {5103, "Tab\tand back\\slash"},
        {5104, "Gr\xf6\xdf" "e \x80"},  // Windows-1252 bytes, the euro sign included
        {5105, "Same text"},            // 5106 has the same text, so the same key
        {5107, nullptr},
    };
    std::vector<const ProgramText*> strings;
    for (const ProgramText& t : texts.texts)
        if (t.role == RoleString) strings.push_back(&t);
    ASSERT_EQ(sizeof expected / sizeof expected[0], strings.size());
    for (size_t i = 0; i < strings.size(); ++i) {
        EXPECT_EQ(expected[i].id, strings[i]->id);
        EXPECT_EQ('s', strings[i]->kind);
        EXPECT_STREQ("", strings[i]->context);
        if (expected[i].text) {
            EXPECT_STREQ(expected[i].text, strings[i]->text);
        }
        char key[9];
        MakeTextKey(key, 's', nullptr, strings[i]->text);
        EXPECT_STREQ(key, strings[i]->key);
    }
    EXPECT_STREQ("string 5105; string 5106", strings[5]->place);
    // LoadStringA gives at most 255 bytes: the key is that of those.
    EXPECT_EQ(255u, strlen(strings[6]->text));
    EXPECT_TRUE(strings[6]->cut);
    EXPECT_TRUE(Noted("string 5107 is longer"));
}

TEST_P(ProgramTextsTest, DialogTextsWithTheirPlaces)
{
    const struct {
        const char* context;
        const char* text;
        const char* place;
    } expected[] = {
        {"PLAINDLG", "Plain dialog", "PLAINDLG, title"},
        {"PLAINDLG", "OK", "PLAINDLG, default push button 1"},
        {"PLAINDLG", "Check &me", "PLAINDLG, check box 101"},
        {"PLAINDLG", "Line one\r\nLine two", "PLAINDLG, static text 102"},
        {"PLAINDLG", "Rich \"quoted\" text", "PLAINDLG, rich-edit control 105"},
        {"EXTDLG", "Extended dialog", "EXTDLG, title"},
        {"EXTDLG", "OK", "EXTDLG, push button 1"},
        {"EXTDLG", "With data", "EXTDLG, push button 201"},
        {"EXTDLG", "Twice", "EXTDLG, static text 202; EXTDLG, static text 203"},
        {"EXTDLG", "After the data", "EXTDLG, static text (control 5, no id)"},
        {"UNTITLED", "Untitled OK", "UNTITLED, push button 1"},
    };
    for (const auto& e : expected) {
        const ProgramText* t = Find('$', e.context, e.text);
        ASSERT_NE(nullptr, t) << e.context << ": " << e.text;
        EXPECT_EQ(RoleDialog, t->role);
        EXPECT_STREQ(e.place, t->place);
    }
    // A window text goes through a 1024-byte buffer.
    std::string longText;
    for (int i = 0; i < 110; ++i) longText += "abcdefghij";
    const ProgramText* cut = Find('$', "EXTDLG", longText.substr(0, 1023).c_str());
    ASSERT_NE(nullptr, cut);
    EXPECT_TRUE(cut->cut);

    int dialogTexts = 0;
    for (const ProgramText& t : texts.texts) dialogTexts += t.role == RoleDialog;
    EXPECT_EQ((int)(sizeof expected / sizeof expected[0]) + 1, dialogTexts)
        << "empty texts, icons and numbered dialogs have no entries";
    for (const ProgramText& t : texts.texts) EXPECT_NE('\0', t.text[0]) << t.place;
    EXPECT_TRUE(Noted("dialog 7 has a number"));
    EXPECT_TRUE(Noted("UNTITLED has no title"));
}

TEST_P(ProgramTextsTest, ScaleOfEachDialogAndTheDirection)
{
    ASSERT_EQ(3u, texts.dialogs.size());
    EXPECT_STREQ("EXTDLG", texts.dialogs[0].name);
    EXPECT_STREQ("PLAINDLG", texts.dialogs[1].name);
    EXPECT_STREQ("UNTITLED", texts.dialogs[2].name);
    int scales = 0;
    for (const ProgramText& s : texts.settings) {
        if (s.role == RoleScale) {
            ++scales;
            char key[9];
            MakeTextKey(key, '$', s.context, "");
            EXPECT_STREQ(key, s.key);
        }
    }
    EXPECT_EQ(3, scales);
    const ProgramText* direction = FindProgramText(texts, "50a17ae8");
    ASSERT_NE(nullptr, direction);
    EXPECT_EQ(RoleDirection, direction->role);
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, ProgramTextsTest, ::testing::ValuesIn(FixtureModules()));

TEST(Utf16ToAnsi, CutsAtTheBufferAndMarksMissingCharacters)
{
    const unsigned char units[] = {'A', 0, 0xAC, 0x20, 0x3B, 0x04, 0x3D, 0xD8, 0x00, 0xDE, 'z', 0};
    char out[8];
    memset(out, 0x5A, sizeof out);
    bool cut = false, unmappable = false;
    Utf16ToAnsi(units, 6, out, 6, &cut, &unmappable);
    EXPECT_STREQ("A\x80??z", out);  // Cyrillic and a surrogate pair: one "?" each
    EXPECT_FALSE(cut);
    EXPECT_TRUE(unmappable);
    EXPECT_EQ(0x5A, (unsigned char)out[6]);

    memset(out, 0x5A, sizeof out);
    cut = unmappable = false;
    Utf16ToAnsi(units, 6, out, 3, &cut, &unmappable);
    EXPECT_STREQ("A\x80", out);
    EXPECT_TRUE(cut);
    EXPECT_EQ(0x5A, (unsigned char)out[3]);
}

} // namespace
