// A language file's messages section, any bytes: preparing it and looking texts up stay
// within every buffer, and the index keeps its shape. The first byte chooses a
// double-byte code page or none and, for a fuzzed lookup, its kind. Bytes after the
// input's last NUL are not part of the section: they are a text to look up, with its
// context after a byte 0x01.
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

// A text and context of any bytes, looked up into buffers of exact sizes and in place.
void FuzzedLookup(const LanguageResources& lang, const uint8_t* data, size_t size, TextKind kind)
{
    char* text = (char*)malloc(size + 1);
    memcpy(text, data, size);
    text[size] = '\0';
    char* context = strchr(text, '\x01');
    if (context) *context++ = '\0';
    static const size_t sizes[] = {1, 3, 9, 64, 1024};
    for (size_t outSize : sizes) {
        char* out = (char*)malloc(outSize);
        lang.TranslateText(out, outSize, text, context, kind);
        Check(strnlen(out, outSize) < outSize);
        free(out);
    }
    // The caller's own buffer as the output, as dialog texts are translated.
    size_t length = strlen(text);
    char* own = (char*)malloc(length + 1);
    memcpy(own, text, length + 1);
    lang.TranslateText(own, length + 1, own, context, kind);
    Check(strnlen(own, length + 1) <= length);
    free(own);
    free(text);
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
    static const TextKind kinds[] = {TextString, TextDialog, TextOther, TextDialog};
    TextKind kind = kinds[(data[0] >> 1) & 3];
    ++data;
    --size;
    const uint8_t* key = nullptr;
    size_t keySize = 0;
    if (const uint8_t* nul = (const uint8_t*)memrchr(data, 0, size)) {
        key = nul + 1;
        keySize = size - (size_t)(key - data);
        size = (size_t)(nul - data);
    }
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
    if (key) FuzzedLookup(lang, key, keySize, kind);

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
