// Helpers of the language file tests: keys, entry lines, lookups into poisoned
// buffers and the shape of a loaded section. Byte-level: no windows.h here.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <set>
#include <string>
#include <vector>
#include "lang/langtext.h"
#include "lang/language.h"
#include "lang/textkey.h"

namespace langtest {

const unsigned char kPoison = 0xA5;
const char kMarkerLine[] = "***messages***\r\n";

inline std::string Key(char kind, const char* context, const char* text)
{
    char key[9];
    MakeTextKey(key, kind, context, text);
    return key;
}

// One entry line without its line break; translation as written in the file.
inline std::string Entry(char kind, const char* context, const char* text, const std::string& translation)
{
    return Key(kind, context, text) + "=\"" + translation + "\"";
}

inline std::string StringEntry(const char* text, const std::string& translation)
{
    return Entry('s', nullptr, text, translation);
}

inline std::string Filler(size_t size, char c = 'x')
{
    return std::string(size, c);
}

// Translates into a buffer of outSize bytes followed by poison, checks that nothing
// after the terminator was written, and returns the text.
inline std::string Translate(const LanguageResources& lang, char kind, const char* context, const char* text,
                      size_t outSize = 256)
{
    std::vector<unsigned char> out(outSize + 16, kPoison);
    lang.TranslateText((char*)out.data(), outSize, text, context, (TextKind)kind);
    size_t length = strnlen((const char*)out.data(), outSize);
    EXPECT_LT(length, outSize) << "unterminated output for \"" << text << "\"";
    for (size_t i = length + 1; i < out.size(); ++i) {
        if (out[i] != kPoison) {
            ADD_FAILURE() << "byte " << i << " written after a text of " << length << " bytes (\"" << text << "\")";
            break;
        }
    }
    return std::string((const char*)out.data(), length);
}

// The loaded section must keep the shape that lookups rely on.
inline void ExpectSoundSection(const LanguageResources& lang)
{
    if (!lang.IsLoaded()) {
        EXPECT_EQ(0, lang.LineIndex.Count);
        return;
    }
    ASSERT_GE(lang.BodyLength, 0);
    ASSERT_LE(lang.BodyLength, kSectionCapacity);
    EXPECT_EQ(lang.BodyLength, (int)strlen(lang.Body)) << "a NUL inside the section or none at its end";
    int expected = 0;
    for (int k = 1; k < lang.BodyLength - 8; ++k)
        if (lang.Body[k - 1] == '\f' && lang.Body[k] != '\f') ++expected;
    EXPECT_EQ(expected, lang.LineIndex.Count);
    std::set<int> seen;
    for (int i = 0; i < lang.LineIndex.Count; ++i) {
        int k = lang.LineIndex.Items[i];
        ASSERT_TRUE(k >= 1 && k < lang.BodyLength - 8) << "index entry " << k;
        EXPECT_EQ('\f', lang.Body[k - 1]);
        EXPECT_NE('\f', lang.Body[k]);
        EXPECT_TRUE(seen.insert(k).second) << "line " << k << " indexed twice";
        if (i > 0) {
            EXPECT_LE(memcmp(lang.Body + lang.LineIndex.Items[i - 1], lang.Body + k, 8), 0) << "unsorted at " << i;
        }
    }
}

const char kDone[] = "Uninstall completed";
const char kCaption[] = "Uninstall Bramix";
const char kOther[] = "Bramix help";

// Makes body the loaded section of lang, as if a file's section had been read.
inline void UseSection(LanguageResources& lang, const std::string& body)
{
    free(lang.Body);
    lang.Body = (char*)malloc(kSectionCapacity + kSectionSlack);
    lang.LineIndex.Count = 0;
    size_t n = body.size() < (size_t)kSectionCapacity ? body.size() : (size_t)kSectionCapacity;
    memcpy(lang.Body, body.data(), n);
    lang.PrepareSection((int)n);
    ExpectSoundSection(lang);
}

} // namespace langtest
