// The language file's loader and lookups as the program runs them: the program's own code,
// built as it is built, timed from inside under the system.
//     lang_timing LANGUAGE_FILE TEXTS_FILE
// Prints one line per sample: "<what> <nanoseconds per operation>". TEXTS_FILE is the
// list that make_lng.py writes beside the language file.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "base/path.h"
#include "base/text.h"
#include "lang/language.h"

namespace {

enum { kSamples = 31, kMaxTexts = 64 };
const char kDialog[] = "SETUPDLG";

LARGE_INTEGER g_frequency;

double Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1e9 / (double)g_frequency.QuadPart;
}

char g_texts[kMaxTexts][kPathCapacity];
int g_textCount;

// One text a line, escaped as in a language file.
bool ReadTexts(const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    char line[4 * kPathCapacity];
    while (g_textCount < kMaxTexts && fgets(line, sizeof line, f)) {
        char* out = g_texts[g_textCount++];
        size_t w = 0;
        for (const char* p = line; *p && *p != '\n' && w + 1 < kPathCapacity; ++p) {
            char c = *p;
            if (c == '\\' && p[1]) {
                c = *++p;
                c = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            out[w++] = c;
        }
        out[w] = '\0';
    }
    fclose(f);
    return g_textCount > 0;
}

void TranslateSetupDialog()
{
    char scale[512];
    char text[kPathCapacity];
    TheLanguage.TranslateText(scale, sizeof scale, "", kDialog, TextDialog);
    for (int i = 0; i < g_textCount; ++i) {
        if (!g_texts[i][0]) continue;
        CopyText(text, sizeof text, g_texts[i]);
        TheLanguage.TranslateText(text, sizeof text, text, kDialog, TextDialog);
    }
}

template <typename F>
void Sample(const char* what, int rounds, F f)
{
    f();  // warm
    for (int s = 0; s < kSamples; ++s) {
        double start = Now();
        for (int r = 0; r < rounds; ++r) f();
        printf("%s %.1f\n", what, (Now() - start) / rounds);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || !ReadTexts(argv[2])) {
        fprintf(stderr, "usage: lang_timing LANGUAGE_FILE TEXTS_FILE\n");
        return 2;
    }
    QueryPerformanceFrequency(&g_frequency);
    const char* file = argv[1];
    TheLanguage.LoadLanguageFile(file);
    if (!TheLanguage.IsLoaded()) {
        fprintf(stderr, "lang_timing: %s not loaded\n", file);
        return 1;
    }
    char out[kPathCapacity];
    TheLanguage.TranslateText(out, sizeof out, "OK", kDialog, TextDialog);
    if (strcmp(out, "Xx OK") != 0) {
        fprintf(stderr, "lang_timing: no translation of \"OK\"\n");
        return 1;
    }
    Sample("load", 5, [&] { TheLanguage.LoadLanguageFile(file); });
    Sample("hit", 20000, [&] { TheLanguage.TranslateText(out, sizeof out, "OK", kDialog, TextDialog); });
    Sample("miss", 50, [&] { TheLanguage.TranslateText(out, sizeof out, "No such text", kDialog, TextDialog); });
    Sample("dialog", 50, TranslateSetupDialog);
    return 0;
}
