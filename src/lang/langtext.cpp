#include "lang/langtext.h"
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include "base/path.h"
#include "base/text.h"
#include "lang/language.h"
#include "lang/textkey.h"

namespace {

const char kMarker[] = "***messages**";  // the line "***messages***" matches on these 13

// Where a text of length bytes must end to fit limit bytes without splitting a
// double-byte character.
int CutAtCharBoundary(const char* text, int length, int limit)
{
    const bool multiByte = LeadByteTable[256] != 0;
    int i = 0;
    while (i < limit) {
        int step = (multiByte && LeadByteTable[(unsigned char)text[i]] && i + 1 < length) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A signed decimal number after optional blanks; saturates instead of overflowing.
int ReadDecimal(const char* p)
{
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return (int)value;
}

} // namespace

int FindMessagesMarker(const char* bytes, int count)
{
    for (int i = 0; i <= count - kMarkerOverlap; ++i)
        if (memcmp(bytes + i, kMarker, sizeof kMarker - 1) == 0) return i;
    return -1;
}

int UnescapeAndSplit(char* section, int length)
{
    int w = 0;
    for (int j = 0; j < length;) {
        char ch = section[j++];
        if (ch == '\0') break;
        if (ch == '\\' && j < length) {
            char escaped = 0;
            switch (section[j]) {
            case '"': escaped = '"'; break;
            case '\\': escaped = '\\'; break;
            case 'n': escaped = '\n'; break;
            case 'r': escaped = '\r'; break;
            case 't': escaped = '\t'; break;
            }
            if (escaped) {
                section[w++] = escaped;
                ++j;
                continue;
            }
        }
        if (ch == '\r' || ch == '\n') ch = kFormFeed;
        section[w++] = ch;
    }
    section[w] = '\0';
    return w;
}

int CompareLineStart(const char* a, const char* b)
{
    for (int i = 0; i < kKeyLength; ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

void CopyEntryText(char* out, size_t outSize, const char* body, int bodyLength, int line)
{
    if (outSize == 0) return;
    // After the key, '=' and the opening quote. A line that ends at the very end of the
    // section before its text would start has an empty text.
    int start = line + kKeyLength + 2;
    if (start >= bodyLength) {
        out[0] = '\0';
        return;
    }
    const char* text = body + start;
    int available = bodyLength - start;
    const char* formFeed = static_cast<const char*>(memchr(text, kFormFeed, (size_t)available));
    int length = formFeed ? (int)(formFeed - text) + 1 : available;
    if (!formFeed && length > kLastLineTextLimit)
        length = CutAtCharBoundary(text, available, kLastLineTextLimit);
    for (int i = length; i-- > 0;)
        if (text[i] == '"') {
            length = i;
            break;
        }
    if ((size_t)length > outSize - 1) length = CutAtCharBoundary(text, length, (int)(outSize - 1));
    // The output may not overlap the section: move, in case a caller passes part of it.
    memmove(out, text, (size_t)length);
    out[length] = '\0';
}

bool ParseDialogScale(const char* text, int* widthPercent, int* heightPercent)
{
    // '*' is below every trail byte of the double-byte code pages: a plain search serves.
    const char* star = strchr(text, '*');
    if (star) {
        *widthPercent = ReadDecimal(text);
        *heightPercent = ReadDecimal(star + 1);
    } else {
        *widthPercent = *heightPercent = 100;
    }
    return !(*widthPercent == 100 && *heightPercent == 100);
}

LanguageResources::LanguageResources() : Body(nullptr), BodyLength(0), RightToLeft(false) {}

LanguageResources::~LanguageResources() { free(Body); }

void LanguageResources::PrepareSection(int readCount)
{
    Body[kSectionCapacity] = '\0';
    if (readCount > kSectionCapacity) readCount = kSectionCapacity;
    BodyLength = UnescapeAndSplit(Body, readCount);
    // Lines start after a form feed; one that starts within the last eight bytes could
    // never hold a key and is left out.
    for (int k = 1; k < BodyLength - kKeyLength; ++k)
        if (Body[k - 1] == kFormFeed && Body[k] != kFormFeed) LineIndex.Append(k);
    const char* body = Body;
    std::sort(LineIndex.Items, LineIndex.Items + LineIndex.Count,
              [body](int a, int b) { return CompareLineStart(body + a, body + b) < 0; });
}

int LanguageResources::SearchLineIndex(const char* key) const
{
    const int* base = LineIndex.Items;
    int count = LineIndex.Count;
    while (count > 0) {
        const int* middle = base + count / 2;
        int order = CompareLineStart(key, Body + *middle);
        if (order == 0) return *middle;
        if (order < 0) {
            count /= 2;
        } else {
            base = middle + 1;
            count -= count / 2 + 1;
        }
    }
    return -1;
}

int LanguageResources::ScanBodyLines(const char* key) const
{
    const char* p = Body;
    while (*p) {
        // Byte by byte, so that the test stops at the first difference, before the NUL.
        int i = 0;
        while (i < kKeyLength && p[i] != '\0' && p[i] == key[i]) ++i;
        if (i == kKeyLength && p[kKeyLength] == '=' && p[kKeyLength + 1] == '"') return (int)(p - Body);
        while (*p && *p != kFormFeed) ++p;
        while (*p == kFormFeed) ++p;
    }
    return -1;
}

void LanguageResources::TranslateText(char* out, size_t outSize, const char* text,
                                      const char* context, TextKind kind) const
{
    if (Body) {
        char key[kKeyLength + 1];
        MakeTextKey(key, (char)kind, context, text);
        int line = SearchLineIndex(key);
        if (line < 0) line = ScanBodyLines(key);
        if (line >= 0) {
            CopyEntryText(out, outSize, Body, BodyLength, line);
            return;
        }
    }
    if (out != text) CopyText(out, outSize, text);
}
