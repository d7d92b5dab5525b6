// Lookups in a language file, natively: loading and indexing the file, a hit, a miss, and
// every lookup that opening the set-up dialog makes; then the parts of a lookup alone.
//     lookup_bench LANGUAGE_FILE TEXTS_FILE [benchmark options]
// TEXTS_FILE holds the dialog's caption and control texts, one a line, escaped as in a
// language file ("" for a control without text).
#include <benchmark/benchmark.h>
#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "base/path.h"
#include "base/text.h"
#include "lang/langtext.h"
#include "lang/language.h"
#include "lang/textkey.h"

namespace {

const char* g_languageFile;
std::vector<std::string> g_dialogTexts;
const char kDialog[] = "SETUPDLG";

std::string Unescape(const std::string& line)
{
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            char c = line[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += line[i];
        }
    }
    return out;
}

bool ReadTexts(const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    std::string line;
    for (int c; (c = fgetc(f)) != EOF;) {
        if (c != '\n') {
            line += (char)c;
            continue;
        }
        g_dialogTexts.push_back(Unescape(line));
        line.clear();
    }
    fclose(f);
    return !g_dialogTexts.empty();
}

// The loader's own steps, with the C library's file functions in place of the system's:
// the marker search in overlapping reads, one allocation, one read of the section, then
// unescaping, splitting, indexing and sorting in PrepareSection.
bool LoadLikeTheProgram(LanguageResources& language, const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    char buffer[kMarkerReadSize];
    long marker = -1;
    for (int reads = 0; reads < kMarkerReads && marker < 0; ++reads) {
        long start = ftell(f);
        int count = (int)fread(buffer, 1, sizeof buffer, f);
        if (count < kMarkerOverlap) break;
        int at = FindMessagesMarker(buffer, count);
        if (at >= 0) marker = start + at;
        fseek(f, start + count - kMarkerOverlap, SEEK_SET);
    }
    if (marker >= 0) {
        fseek(f, marker, SEEK_SET);
        language.Body = static_cast<char*>(malloc(kSectionCapacity + kSectionSlack));
        if (language.Body) {
            language.Body[kSectionCapacity] = '\0';
            language.PrepareSection((int)fread(language.Body, 1, kSectionCapacity, f));
        }
    }
    fclose(f);
    return language.IsLoaded();
}

LanguageResources& Loaded()
{
    static LanguageResources language;
    if (!language.IsLoaded() && !LoadLikeTheProgram(language, g_languageFile)) abort();
    return language;
}

void Load(benchmark::State& state)
{
    for (auto _ : state) {
        LanguageResources language;
        if (!LoadLikeTheProgram(language, g_languageFile)) {
            state.SkipWithError("cannot load the language file");
            break;
        }
        benchmark::DoNotOptimize(language.LineIndex.Items);
    }
}

void Hit(benchmark::State& state)
{
    const LanguageResources& language = Loaded();
    char out[kPathCapacity];
    for (auto _ : state) {
        language.TranslateText(out, sizeof out, "OK", kDialog, TextDialog);
        benchmark::DoNotOptimize(out);
    }
    if (strcmp(out, "Xx OK") != 0) state.SkipWithError("no translation of \"OK\"");
}

void Miss(benchmark::State& state)
{
    const LanguageResources& language = Loaded();
    char out[kPathCapacity];
    for (auto _ : state) {
        language.TranslateText(out, sizeof out, "No such text", kDialog, TextDialog);
        benchmark::DoNotOptimize(out);
    }
    if (strcmp(out, "No such text") != 0) state.SkipWithError("a translation that should not be there");
}

// What the dialog localisation looks up when the set-up dialog opens: the scale entry
// (the empty text, into 512 bytes), then the caption and each control text that is not
// empty, each translated in place in a 1024-byte buffer.
void SetupDialog(benchmark::State& state)
{
    const LanguageResources& language = Loaded();
    char scale[512];
    char text[kPathCapacity];
    int translated = 0;
    for (auto _ : state) {
        language.TranslateText(scale, sizeof scale, "", kDialog, TextDialog);
        translated = 0;
        for (const std::string& t : g_dialogTexts) {
            if (t.empty()) continue;
            CopyText(text, sizeof text, t.c_str());
            language.TranslateText(text, sizeof text, text, kDialog, TextDialog);
            translated += strncmp(text, "Xx ", 3) == 0;
            benchmark::DoNotOptimize(text);
        }
    }
    state.counters["lookups"] = 1 + (double)(g_dialogTexts.size() - (size_t)std::count(
                                                  g_dialogTexts.begin(), g_dialogTexts.end(), std::string()));
    state.counters["translated"] = translated;
}

// The parts of a lookup, for finding where its time goes.
void PartKey(benchmark::State& state)
{
    char key[kKeyLength + 1];
    for (auto _ : state) {
        MakeTextKey(key, (char)TextDialog, kDialog, "OK");
        benchmark::DoNotOptimize(key);
    }
}

void PartSearchIndex(benchmark::State& state)
{
    const LanguageResources& language = Loaded();
    char key[kKeyLength + 1];
    MakeTextKey(key, (char)TextDialog, kDialog, "OK");
    for (auto _ : state) benchmark::DoNotOptimize(language.SearchLineIndex(key));
}

void PartScanLines(benchmark::State& state)
{
    const LanguageResources& language = Loaded();
    char key[kKeyLength + 1];
    MakeTextKey(key, (char)TextDialog, kDialog, "No such text");
    for (auto _ : state) benchmark::DoNotOptimize(language.ScanBodyLines(key));
}

void PartPrepareSection(benchmark::State& state)
{
    // The section as read, before unescaping: PrepareSection works in place, so each
    // round starts from a fresh copy (the copy is timed too; it is small beside the rest).
    const LanguageResources& language = Loaded();
    (void)language;
    FILE* f = fopen(g_languageFile, "rb");
    std::vector<char> raw(kSectionCapacity + kSectionSlack);
    size_t count = f ? fread(raw.data(), 1, kSectionCapacity, f) : 0;
    if (f) fclose(f);
    const char* marker = nullptr;
    for (size_t i = 0; i + 13 <= count && !marker; ++i)
        if (memcmp(raw.data() + i, "***messages**", 13) == 0) marker = raw.data() + i;
    if (!marker) {
        state.SkipWithError("no marker");
        return;
    }
    int sectionLength = (int)(count - (size_t)(marker - raw.data()));
    for (auto _ : state) {
        LanguageResources section;
        section.Body = static_cast<char*>(malloc(kSectionCapacity + kSectionSlack));
        memcpy(section.Body, marker, (size_t)sectionLength);
        section.PrepareSection(sectionLength);
        benchmark::DoNotOptimize(section.LineIndex.Items);
    }
}

} // namespace

BENCHMARK(Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(Hit)->Unit(benchmark::kNanosecond);
BENCHMARK(Miss)->Unit(benchmark::kMicrosecond);
BENCHMARK(SetupDialog)->Unit(benchmark::kMicrosecond);
BENCHMARK(PartKey)->Unit(benchmark::kNanosecond);
BENCHMARK(PartSearchIndex)->Unit(benchmark::kNanosecond);
BENCHMARK(PartScanLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(PartPrepareSection)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc != 3 || !ReadTexts(argv[2])) {
        fprintf(stderr, "usage: lookup_bench LANGUAGE_FILE TEXTS_FILE [benchmark options]\n");
        return 2;
    }
    g_languageFile = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
