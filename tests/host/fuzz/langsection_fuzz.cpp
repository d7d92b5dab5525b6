// A language file's messages section, any bytes: preparing it and looking texts up stay
// within every buffer, and the index keeps its shape. The first byte chooses a
// double-byte code page or none.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "base/path.h"
#include "lang/langtext.h"
#include "lang/language.h"

namespace {

void Check(bool ok)
{
    if (!ok) abort();
}

void Lookups(const LanguageResources& lang)
{
    static const struct {
        TextKind kind;
        const char* context;
        const char* text;
    } texts[] = {
        {TextString, nullptr, "Uninstall completed"},  // 29b544f7
        {TextDialog, "LTR", "LTR"},                    // 50a17ae8
        {TextDialog, "SETUPDLG", ""},                  // 9b889d24
        {TextDialog, "SETUPDLG", "OK"},                // a8604cfa
    };
    static const size_t sizes[] = {1, 2, 11, 256, 512, 1024};
    for (const auto& t : texts) {
        for (size_t size : sizes) {
            // Exactly the output's size, so that the sanitizer sees any byte beyond it.
            char* out = (char*)malloc(size);
            lang.TranslateText(out, size, t.text, t.context, t.kind);
            Check(strnlen(out, size) < size);
            int width, height;
            ParseDialogScale(out, &width, &height);
            free(out);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    memset(LeadByteTable, 0, sizeof LeadByteTable);
    if (data[0] & 1) {
        for (int b = 0x81; b <= 0x9F; ++b) LeadByteTable[b] = 1;
        for (int b = 0xE0; b <= 0xFC; ++b) LeadByteTable[b] = 1;
        LeadByteTable[256] = 1;
    }
    ++data;
    --size;
    LanguageResources lang;
    lang.Body = (char*)malloc(kSectionCapacity + kSectionSlack);
    size_t n = size < (size_t)kSectionCapacity ? size : (size_t)kSectionCapacity;
    memcpy(lang.Body, data, n);
    lang.PrepareSection((int)n);

    Check(lang.BodyLength >= 0 && lang.BodyLength <= kSectionCapacity);
    Check(strlen(lang.Body) == (size_t)lang.BodyLength);
    for (int i = 0; i < lang.LineIndex.Count; ++i) {
        int k = lang.LineIndex.Items[i];
        Check(k >= 1 && k < lang.BodyLength - kKeyLength);
        Check(lang.Body[k - 1] == kFormFeed && lang.Body[k] != kFormFeed);
        if (i > 0) Check(CompareLineStart(lang.Body + lang.LineIndex.Items[i - 1], lang.Body + k) <= 0);
    }
    Lookups(lang);

    // Every indexed line is found by its own first eight bytes, and its text copied out.
    for (int i = 0; i < lang.LineIndex.Count && i < 64; ++i) {
        char key[kKeyLength + 1];
        memcpy(key, lang.Body + lang.LineIndex.Items[i], kKeyLength);
        key[kKeyLength] = '\0';
        int found = lang.SearchLineIndex(key);
        Check(found >= 0 && CompareLineStart(lang.Body + found, key) == 0);
        int scanned = lang.ScanBodyLines(key);
        if (scanned >= 0) Check(memcmp(lang.Body + scanned, key, kKeyLength) == 0 && lang.Body[scanned + 8] == '=');
        char small[7];
        CopyEntryText(small, sizeof small, lang.Body, lang.BodyLength, found);
        Check(strnlen(small, sizeof small) < sizeof small);
    }
    return 0;
}
