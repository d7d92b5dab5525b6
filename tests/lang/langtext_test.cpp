// The byte-level work on a language file's section, without the file: escapes and line
// breaks, the marker, lookups, cut texts and the dialog scale. Runs under Wine and in the
// host build.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "base/path.h"
#include "lang/lang_helpers.h"

namespace {

using namespace langtest;

TEST(UnescapeAndSplit, EscapesAndLineBreaks)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"\\\\n", "\\n"},         // backslash, backslash, n: a backslash and n
        {"\\n", "\n"},
        {"\\q", "\\q"},            // an unknown escape stays as it is
        {"\\\"\\n\\r\\t", "\"\n\r\t"},
        {"a\\", "a\\"},            // a lone backslash at the end
        {"a\r\nb\n\rc\fd", "a\f\fb\f\fc\fd"},
        {"ab" + std::string(1, '\0') + "cd", "ab"},
        {"\\" + std::string(1, '\0') + "x", "\\"},
        {"\\\r", "\\\f"},         // a backslash before a real line break
    };
    for (const auto& c : cases) {
        char buffer[64];
        memset(buffer, kPoison, sizeof buffer);
        memcpy(buffer, c.in.data(), c.in.size());
        int length = UnescapeAndSplit(buffer, (int)c.in.size());
        EXPECT_EQ(c.out, std::string(buffer, (size_t)length)) << c.in;
        EXPECT_EQ('\0', buffer[length]) << c.in;
        EXPECT_EQ(kPoison, (unsigned char)buffer[c.in.size() + 1]) << c.in;
    }
    char empty[2] = {'x', (char)kPoison};
    EXPECT_EQ(0, UnescapeAndSplit(empty, -1)) << "a failed read is an empty section";
    EXPECT_EQ('\0', empty[0]);
}

TEST(FindMessagesMarker, NeedsThirteenBytesAndSixteenInAll)
{
    const struct {
        std::string bytes;
        int at;
    } cases[] = {
        {"***messages***\r\n", 0},
        {"xx***messages**?\r\nx", 2},
        {"***messages***\r", -1},
        {"**messages***\r\n..", -1},
        {"***Messages***\r\n", -1},
        {"****messages***\r\n.", 1},
        {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.at, FindMessagesMarker(c.bytes.data(), (int)c.bytes.size())) << c.bytes;
}

TEST(LanguageLookup, TheScanFindsWhatTheIndexCannotHold)
{
    // An entry at the very first byte of the section is no indexed line start; only the
    // scan over the lines finds it, and the scan wants '=' and a quote after the key.
    const std::string body = StringEntry(kDone, "Fertig") + "\r\n" + Key('s', nullptr, kOther) + " \"not an entry\"\r\n";
    LanguageResources lang;
    UseSection(lang, body);
    char key[9];
    MakeTextKey(key, 's', nullptr, kDone);
    EXPECT_EQ(-1, lang.SearchLineIndex(key));
    EXPECT_EQ(0, lang.ScanBodyLines(key));
    EXPECT_EQ("Fertig", Translate(lang, 's', nullptr, kDone));
    MakeTextKey(key, 's', nullptr, kOther);
    EXPECT_EQ(-1, lang.ScanBodyLines(key));
    EXPECT_GT(lang.SearchLineIndex(key), 0) << "the index takes any line with the key's eight bytes";
}

TEST(LanguageLookup, WithoutALanguageFileTextsStayAsTheyAre)
{
    LanguageResources lang;
    char buffer[300];
    memset(buffer, kPoison, sizeof buffer);
    memcpy(buffer, kDone, sizeof kDone);
    lang.TranslateText(buffer, 256, buffer, nullptr, TextString);
    EXPECT_STREQ(kDone, buffer);
    EXPECT_EQ(kPoison, (unsigned char)buffer[sizeof kDone]);
    EXPECT_EQ(kDone, Translate(lang, 's', nullptr, kDone));
    EXPECT_EQ(std::string(15, 'z'), Translate(lang, 's', nullptr, std::string(40, 'z').c_str(), 16)) << "cut to the output";
}

// A cut inside a double-byte character leaves the whole character out.
TEST(CopyEntryText, CutTextsKeepDoubleByteCharactersWhole)
{
    unsigned char saved[257];
    memcpy(saved, LeadByteTable, sizeof saved);
    memset(LeadByteTable, 0, sizeof LeadByteTable);
    for (int b = 0x81; b <= 0x9F; ++b) LeadByteTable[b] = 1;
    for (int b = 0xE0; b <= 0xFC; ++b) LeadByteTable[b] = 1;
    LeadByteTable[256] = 1;

    std::string pairs;
    for (int i = 0; i < 600; ++i) pairs += "\x82\xA0";
    const std::string odd = "a" + pairs, even = "ab" + pairs;
    LanguageResources lang;
    UseSection(lang, std::string(kMarkerLine) + StringEntry(kDone, odd) + "\r\n" + StringEntry(kOther, even) + "\r\n" +
                   Entry('$', "SETUPDLG", "OK", even) + "\r\n" + Entry('$', "DONEDLG", "OK", even));
    EXPECT_EQ(odd.substr(0, 255), Translate(lang, 's', nullptr, kDone, 256));
    EXPECT_EQ(even.substr(0, 254), Translate(lang, 's', nullptr, kOther, 256));
    EXPECT_EQ(even.substr(0, 510), Translate(lang, '$', "SETUPDLG", "OK", 512));
    EXPECT_EQ(odd.substr(0, 1023), Translate(lang, 's', nullptr, kDone, 1024));
    EXPECT_EQ(even.substr(0, 254), Translate(lang, '$', "DONEDLG", "OK", 1024)) << "the last line's limit";

    LeadByteTable[256] = 0;  // a single-byte code page cuts anywhere
    EXPECT_EQ(even.substr(0, 255), Translate(lang, 's', nullptr, kOther, 256));
    memcpy(LeadByteTable, saved, sizeof saved);
}

TEST(DialogScale, WidthAndHeightAroundTheFirstStar)
{
    const struct {
        const char* text;
        int width, height;
        bool scaled;
    } cases[] = {
        {"", 100, 100, false},
        {"120*110", 120, 110, true},
        {"100*100", 100, 100, false},
        {"150*100", 150, 100, true},
        {"*", 0, 0, true},
        {"abc*def", 0, 0, true},
        {"  +90* -5x", 90, -5, true},
        {"120", 100, 100, false},
        {"120*110*130", 120, 110, true},
        {"\t\f\v\r\n80*\n70", 80, 70, true},
        {"99999999999*-99999999999", 2147483647, -2147483647 - 1, true},
        {"100*", 100, 0, true},
    };
    for (const auto& c : cases) {
        int width = -7, height = -7;
        EXPECT_EQ(c.scaled, ParseDialogScale(c.text, &width, &height)) << c.text;
        EXPECT_EQ(c.width, width) << c.text;
        EXPECT_EQ(c.height, height) << c.text;
    }
}

} // namespace
