// The language file as the program reads it: found, loaded, looked up, and its
// direction entry; the file's own bytes as translators leave them.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "lang/lang_helpers.h"
#include "lang/resources.h"
#include "support/tempfolder.h"

namespace {

using namespace langtest;

class LanguageFileTest : public ::testing::Test {
protected:
    // Writes content as a language file and loads it by its full path.
    void Load(LanguageResources& lang, const std::string& content)
    {
        std::string path = folder_ / "uninstall.lng";
        WriteFile(path, content);
        lang.LoadLanguageFile(path.c_str());
        ExpectSoundSection(lang);
    }
    TempFolder folder_;
};

// ---------------------------------------------------------------------------------------
// Bad input: whatever a file holds, the loader and the lookups stay within their buffers
// and give a defined result.

struct Lookup {
    char kind;
    const char* context;
    const char* text;
    size_t outSize;
    std::string expected;
};

struct BadInput {
    const char* name;
    std::string content;
    bool loaded;
    std::vector<Lookup> lookups;
};

std::vector<BadInput> BadInputs()
{
    std::vector<BadInput> cases;
    const std::string done = StringEntry(kDone, "Fertig");
    const Lookup doneFound = {'s', nullptr, kDone, 256, "Fertig"};
    const Lookup doneMissed = {'s', nullptr, kDone, 256, kDone};

    cases.push_back({"empty file", "", false, {doneMissed}});
    cases.push_back({"no marker", "[uninstall]\r\n" + done + "\r\n", false, {doneMissed}});
    cases.push_back({"marker in capitals", "***MESSAGES***\r\n" + done + "\r\n", false, {doneMissed}});
    cases.push_back({"marker only, 16 bytes", kMarkerLine, true, {doneMissed}});
    cases.push_back({"marker with 15 bytes", "***messages***\r", false, {}});
    cases.push_back({"marker with 14 bytes", "***messages***", false, {}});
    cases.push_back({"marker's last asterisk may differ", "***messages**X\r\n" + done + "\r\n", true, {doneFound}});
    cases.push_back({"marker at 130816", Filler(130816) + kMarkerLine + done + "\r\n", true, {doneFound}});
    cases.push_back({"marker at 130817", Filler(130817) + kMarkerLine + done + "\r\n", false, {doneMissed}});
    cases.push_back({"marker across a read boundary", Filler(8186) + kMarkerLine + done + "\r\n", true, {doneFound}});
    cases.push_back({"200000 bytes, no marker", Filler(200000, '*'), false, {}});

    {
        // The section is 65,536 bytes; its last byte is the closing quote of the last entry.
        std::string head = std::string(kMarkerLine) + done + "\r\n";
        std::string tail = StringEntry(kCaption, "Ende");
        std::string section = head + Filler(kSectionCapacity - head.size() - tail.size() - 2, 'r') + "\r\n" + tail;
        const Lookup tailFound = {'s', nullptr, kCaption, 256, "Ende"};
        cases.push_back({"section of exactly 65536 bytes", section, true, {doneFound, tailFound}});
        // One byte more, a double quote, would move the text's end: it is not read.
        cases.push_back({"section of 65537 bytes", section + "\"", true, {doneFound, tailFound}});
        // An entry cut by the limit ends there.
        std::string cut = StringEntry(kCaption, "Ende im Schnitt");
        std::string cutSection = head + Filler(kSectionCapacity - head.size() - cut.size() - 2 + 9, 'r') + "\r\n" + cut +
                                 "\r\n" + StringEntry(kOther, "Hilfe") + "\r\n";
        cases.push_back({"entry cut by the section's limit", cutSection, true,
                         {doneFound, {'s', nullptr, kCaption, 256, "Ende im"}, {'s', nullptr, kOther, 256, kOther}}});
    }

    cases.push_back({"lone backslash as the last byte", std::string(kMarkerLine) + Key('s', nullptr, kDone) + "=\"ab\\",
                     true, {{'s', nullptr, kDone, 256, "ab\\"}}});
    cases.push_back({"backslash and quote as the last bytes",
                     std::string(kMarkerLine) + Key('s', nullptr, kDone) + "=\"ab\\\"", true,
                     {{'s', nullptr, kDone, 256, "ab"}}});  // the escaped quote is the last one

    cases.push_back({"NUL ends the section",
                     std::string(kMarkerLine) + done + "\r\n" + std::string(1, '\0') + StringEntry(kOther, "Hilfe") + "\r\n",
                     true, {doneFound, {'s', nullptr, kOther, 256, kOther}}});
    cases.push_back({"NUL inside a text",
                     std::string(kMarkerLine) + Key('s', nullptr, kDone) + "=\"ab" + std::string(1, '\0') + "cd\"\r\n",
                     true, {{'s', nullptr, kDone, 256, "ab"}}});
    cases.push_back({"NUL right after the marker", std::string(kMarkerLine) + std::string(1, '\0') + done, true, {doneMissed}});

    {
        // Every mix of line breaks, blank lines included, separates entries.
        const char* breaks[] = {"\r\n", "\n", "\r", "\f", "\n\r", "\r\r\n\n", "\r\f\n\f", "\r\n\r\n\r\n", "\f\f"};
        const char* texts[] = {"Bramix archiver", "Bramix help", "Console QYX manual", "Uninstall Bramix",
                               "Uninstall completed", "Continue with uninstall Bramix", "Bramix archive",
                               "Bramix ZIP archive", "QYX recovery volume"};
        std::string content = "***messages***";
        std::vector<Lookup> lookups;
        for (int i = 0; i < 9; ++i) {
            content += breaks[i];
            std::string translation = "T" + std::to_string(i);
            content += StringEntry(texts[i], translation);
            lookups.push_back({'s', nullptr, texts[i], 256, translation});
        }
        cases.push_back({"CR, LF and form feed in every mix", content + "\r\n", true, lookups});
        cases.push_back({"no break after the last entry", content, true, lookups});
    }

    cases.push_back({"UTF-8 byte-order mark before the marker", "\xEF\xBB\xBF" + std::string(kMarkerLine) + done + "\r\n",
                     true, {doneFound}});
    cases.push_back({"byte-order mark at a line start", std::string(kMarkerLine) + "\xEF\xBB\xBF" + done + "\r\n", true,
                     {doneMissed}});
    {
        std::string utf16 = "\xFF\xFE";
        for (char c : std::string(kMarkerLine) + done + "\r\n") utf16 += std::string(1, c) + '\0';
        cases.push_back({"UTF-16 file", utf16, false, {doneMissed}});
    }

    {
        std::string longText = Filler(10000, 'L');
        std::string content = std::string(kMarkerLine) + Filler(10000, 'R') + "\r\n" + StringEntry(kDone, longText) +
                              "\r\n" + Entry('$', "SETUPDLG", "OK", longText) + "\r\n" + StringEntry(kOther, "Hilfe") + "\r\n";
        cases.push_back({"lines of 10,000 bytes", content, true,
                         {{'s', nullptr, kDone, 256, Filler(255, 'L')},
                          {'$', "SETUPDLG", "", 512, ""},  // no scale entry: the empty text stays
                          {'$', "SETUPDLG", "OK", 512, Filler(511, 'L')},
                          {'$', "SETUPDLG", "OK", 1024, Filler(1023, 'L')},
                          {'s', nullptr, kOther, 256, "Hilfe"}}});
        // The last line, without a form feed after it, yields at most 255 bytes.
        cases.push_back({"long text on the last line", std::string(kMarkerLine) + Entry('$', "SETUPDLG", "OK", longText), true,
                         {{'$', "SETUPDLG", "OK", 1024, Filler(255, 'L')}}});
    }

    {
        // A line found by its first eight bytes that ends before its text would start.
        std::string key = Key('s', nullptr, kDone);
        cases.push_back({"key and '=' at the very end", std::string(kMarkerLine) + key + "=", true,
                         {{'s', nullptr, kDone, 256, ""}}});
        cases.push_back({"key, '=' and quote at the very end", std::string(kMarkerLine) + key + "=\"", true,
                         {{'s', nullptr, kDone, 256, ""}}});
        cases.push_back({"key alone at the very end", std::string(kMarkerLine) + key, true, {doneMissed}});
    }
    return cases;
}

TEST_F(LanguageFileTest, BadInputGivesADefinedResult)
{
    for (const BadInput& c : BadInputs()) {
        SCOPED_TRACE(c.name);
        LanguageResources lang;
        Load(lang, c.content);
        EXPECT_EQ(c.loaded, lang.IsLoaded());
        for (const Lookup& l : c.lookups) {
            EXPECT_EQ(l.expected, Translate(lang, l.kind, l.context, l.text, l.outSize))
                << "text \"" << l.text << "\" into " << l.outSize << " bytes";
        }
        // The same lookups in place, in a string buffer, change nothing beyond it.
        for (const Lookup& l : c.lookups) {
            std::vector<unsigned char> buffer(256 + 16, kPoison);
            memcpy(buffer.data(), l.text, strlen(l.text) + 1);
            lang.TranslateText((char*)buffer.data(), 256, (char*)buffer.data(), l.context, (TextKind)l.kind);
            for (size_t i = 256; i < buffer.size(); ++i) ASSERT_EQ(kPoison, buffer[i]) << i;
        }
    }
}

TEST_F(LanguageFileTest, SectionLimitAndBackslashAreKeptAsRead)
{
    {
        LanguageResources lang;
        std::string section = std::string(kMarkerLine) + Filler(kSectionCapacity, 'r');
        Load(lang, section);
        EXPECT_EQ(kSectionCapacity, lang.BodyLength);
    }
    {
        LanguageResources lang;
        Load(lang, std::string(kMarkerLine) + "abc\\");
        ASSERT_TRUE(lang.IsLoaded());
        EXPECT_EQ(std::string("***messages***\f\fabc\\"), std::string(lang.Body, lang.BodyLength));
    }
}

// ---------------------------------------------------------------------------------------
// The file's format, as translators use it.

TEST_F(LanguageFileTest, EntriesEscapesAndRemarks)
{
    const std::string content = std::string("; A remark before the section\r\n") + kMarkerLine +
                                "; translated by hand\r\n" +
                                StringEntry(kDone, "Fertig") + "   ; a remark after the closing quote\r\n" +
                                Entry('$', "SETUPDLG", "OK", "Say \\\"Hi\\\" \\\"twice\\\"") + "\r\n" +
                                Entry('$', "DONEDLG", "OK", "Fine") + "\r\n" +
                                StringEntry("OK", "Okay") + "\r\n" +
                                StringEntry(kCaption, "a\\\\nb \\q \\n\\r\\t end") + "\r\n" +
                                Key('s', nullptr, kOther) + "=\"no closing quote\r\n" +
                                StringEntry("Bramix archive", "") + "\r\n" +
                                "  " + StringEntry("Bramix archiver", "indented") + "\r\n";
    LanguageResources lang;
    Load(lang, content);
    ASSERT_TRUE(lang.IsLoaded());
    EXPECT_EQ("Fertig", Translate(lang, 's', nullptr, kDone));
    EXPECT_EQ("Fertig", Translate(lang, 's', "", kDone)) << "the empty context is no context";
    EXPECT_EQ("Say \"Hi\" \"twice\"", Translate(lang, '$', "SETUPDLG", "OK"));
    EXPECT_EQ("Fine", Translate(lang, '$', "DONEDLG", "OK"));
    EXPECT_EQ("Okay", Translate(lang, 's', nullptr, "OK"));
    EXPECT_EQ("OK", Translate(lang, '@', nullptr, "OK")) << "each kind has its own key";
    EXPECT_EQ("a\\nb \\q \n\r\t end", Translate(lang, 's', nullptr, kCaption));
    EXPECT_EQ("no closing quote\f", Translate(lang, 's', nullptr, kOther));
    EXPECT_EQ("", Translate(lang, 's', nullptr, "Bramix archive"));
    EXPECT_EQ("Bramix archiver", Translate(lang, 's', nullptr, "Bramix archiver"));
    EXPECT_EQ("not in the file", Translate(lang, 's', nullptr, "not in the file"));
    // Escaped line breaks are text, not line ends: no CR or LF is left otherwise.
    EXPECT_EQ(2, (int)std::count_if(lang.Body, lang.Body + lang.BodyLength, [](char c) { return c == '\r' || c == '\n'; }));
}

TEST_F(LanguageFileTest, UppercaseKeysAreNeverFound)
{
    std::string key = Key('s', nullptr, kDone);  // "29b544f7"
    for (char& c : key) c = (char)toupper((unsigned char)c);
    LanguageResources lang;
    Load(lang, std::string(kMarkerLine) + key + "=\"Fertig\"\r\n");
    ASSERT_TRUE(lang.IsLoaded());
    EXPECT_EQ(kDone, Translate(lang, 's', nullptr, kDone));
}

TEST_F(LanguageFileTest, ManyEntriesAreAllFoundThroughTheIndex)
{
    // Entries in no order, with remark lines whose first bytes are above 0x7F and below
    // the digits around them: the sort and the search must agree on unsigned bytes.
    std::string content = kMarkerLine;
    std::vector<std::string> texts;
    for (int i = 0; i < 600; ++i) {
        texts.push_back("Text number " + std::to_string(i * 7919 % 600));
        content += StringEntry(texts.back().c_str(), "Nr " + std::to_string(i)) + "\r\n";
        if (i % 50 == 0) content += "\xE4\xF6\xFC remark " + std::to_string(i) + "\r\n!! remark\r\n";
    }
    LanguageResources lang;
    Load(lang, content);
    ASSERT_TRUE(lang.IsLoaded());
    for (int i = 0; i < 600; ++i) {
        char key[9];
        MakeTextKey(key, 's', nullptr, texts[i].c_str());
        EXPECT_GE(lang.SearchLineIndex(key), 0) << texts[i];
        EXPECT_EQ("Nr " + std::to_string(i), Translate(lang, 's', nullptr, texts[i].c_str()));
    }
    EXPECT_EQ(-1, lang.SearchLineIndex("00000000"));
    EXPECT_EQ(-1, lang.ScanBodyLines("00000000"));
}

// ---------------------------------------------------------------------------------------
// Finding the file, and the ways out of the loader.

TEST_F(LanguageFileTest, MissingFileAndBareNames)
{
    LanguageResources missing;
    missing.LoadLanguageFile((folder_ / "none.lng").c_str());
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_FALSE(missing.RightToLeft);

    // A bare name is taken from the program folder, never from the current directory.
    std::string name = "language_test_" + std::to_string(GetCurrentProcessId()) + ".lng";
    std::string beside = ProgramFolder() + "\\" + name;
    WriteFile(beside, std::string(kMarkerLine) + StringEntry(kDone, "Fertig") + "\r\n");
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA(folder_.Path().c_str());
    WriteFile(folder_ / name, std::string(kMarkerLine) + StringEntry(kDone, "Falsch") + "\r\n");
    LanguageResources lang;
    lang.LoadLanguageFile(name.c_str());
    SetCurrentDirectoryA(current);
    DeleteFileA(beside.c_str());
    ASSERT_TRUE(lang.IsLoaded());
    EXPECT_EQ("Fertig", Translate(lang, 's', nullptr, kDone));

    // A name that does not fit beside the program's path: no language file.
    LanguageResources tooLong;
    tooLong.LoadLanguageFile(std::string(1100, 'n').c_str());
    EXPECT_FALSE(tooLong.IsLoaded());
}

TEST_F(LanguageFileTest, TheFileIsClosedWhenTheIndexCannotGrow)
{
    std::string path = folder_ / "uninstall.lng";
    WriteFile(path, std::string(kMarkerLine) + StringEntry(kDone, "Fertig") + "\r\n" + StringEntry(kOther, "Hilfe") + "\r\n");
    LanguageResources lang;
    // An index that claims to be as large as an array can be: the next line cannot be added.
    lang.LineIndex.Count = lang.LineIndex.Capacity = 0x20000000;
    bool raised = false;
    try {
        lang.LoadLanguageFile(path.c_str());
    } catch (int code) {
        raised = true;
        EXPECT_EQ(8, code);
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(8, TheErrorState.Code);
    EXPECT_EQ(0x20000000, lang.LineIndex.Count);
    lang.LineIndex.Count = lang.LineIndex.Capacity = 0;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, h) << "the language file is still open";
    CloseHandle(h);
}

TEST_F(LanguageFileTest, ASecondLoadReplacesTheFirst)
{
    LanguageResources lang;
    Load(lang, std::string(kMarkerLine) + StringEntry(kDone, "Fertig") + "\r\n");
    Load(lang, std::string(kMarkerLine) + StringEntry(kOther, "Hilfe") + "\r\n");
    EXPECT_EQ(kDone, Translate(lang, 's', nullptr, kDone));
    EXPECT_EQ("Hilfe", Translate(lang, 's', nullptr, kOther));
}

// ---------------------------------------------------------------------------------------
// Text direction: from the language module's "RTL" dialog, else from the language file.

class TextDirectionTest : public LanguageFileTest {
protected:
    void TearDown() override { TheExtResource.Unload(); }
    void UseModule(const char* folder)
    {
        TheExtResource.Load(GetModuleHandleA(NULL), (ProgramFolder() + "\\" + folder + "\\").c_str());
        ASSERT_TRUE(TheExtResource.Loaded) << folder;
    }
};

TEST_F(TextDirectionTest, ALanguageModuleWithAnRtlDialog)
{
    UseModule("rtl_module");
    LanguageResources lang;
    lang.LoadLanguageFile((folder_ / "none.lng").c_str());
    EXPECT_FALSE(lang.IsLoaded());
    EXPECT_TRUE(lang.RightToLeft);
}

TEST_F(TextDirectionTest, TheLanguageFileEntry)
{
    UseModule("german_module");  // a module without the marker leaves it to the file
    const struct {
        std::string content;
        bool rightToLeft;
    } cases[] = {
        {std::string(kMarkerLine) + "50a17ae8=\"RTL\"\r\n", true},
        {std::string(kMarkerLine) + "50a17ae8=\"RTL\"", true},
        {std::string(kMarkerLine) + "50a17ae8=\"rtl\"\r\n", false},
        {std::string(kMarkerLine) + "50a17ae8=\"RTL \"\r\n", false},
        {std::string(kMarkerLine) + "50a17ae8=\"LTR\"\r\n", false},
        {std::string(kMarkerLine) + "50A17AE8=\"RTL\"\r\n", false},
        {std::string(kMarkerLine) + Entry('$', "LTR", "LTR", "RTL") + "\r\n", true},
        {std::string(kMarkerLine) + Entry('s', "LTR", "LTR", "RTL") + "\r\n", false},
        {std::string(kMarkerLine), false},
    };
    for (const auto& c : cases) {
        LanguageResources lang;
        Load(lang, c.content);
        EXPECT_EQ(c.rightToLeft, lang.RightToLeft) << c.content;
    }
    LanguageResources none;
    none.LoadLanguageFile((folder_ / "none.lng").c_str());
    EXPECT_FALSE(none.RightToLeft);
}

TEST_F(TextDirectionTest, TheModuleWinsOverTheFile)
{
    UseModule("rtl_module");
    LanguageResources lang;
    Load(lang, std::string(kMarkerLine) + "50a17ae8=\"LTR\"\r\n");
    EXPECT_TRUE(lang.RightToLeft);
}

// ---------------------------------------------------------------------------------------

} // namespace
