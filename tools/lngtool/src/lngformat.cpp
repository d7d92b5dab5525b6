#include "lngformat.h"
#include <string.h>
#include "base/text.h"

namespace {

const char kFormFeed = '\x0C';
const char kMarker[] = "***messages**";  // the loader matches these 13 bytes

bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n' || c == (unsigned char)kFormFeed; }

// The escape for a byte, or 0 when it stands for itself.
char EscapeLetter(char c)
{
    switch (c) {
    case '\\': return '\\';
    case '"': return '"';
    case '\n': return 'n';
    case '\r': return 'r';
    case '\t': return 't';
    default: return 0;
    }
}

} // namespace

void TextOutput::Put(const char* text) { PutBytes(text, TextLength(text)); }

void TextOutput::PutBytes(const char* bytes, size_t count) { bytes_.insert(bytes_.end(), bytes, bytes + count); }

void TextOutput::PutNumber(unsigned value)
{
    char digits[16];
    FormatText(digits, sizeof digits, "%u", value);
    Put(digits);
}

bool PutEscaped(TextOutput* out, const char* text)
{
    if (strchr(text, kFormFeed)) return false;
    for (const char* p = text; *p; ++p) {
        char letter = EscapeLetter(*p);
        if (letter) {
            char pair[2] = {'\\', letter};
            out->PutBytes(pair, 2);
        } else {
            out->PutBytes(p, 1);
        }
    }
    return true;
}

void PutRemarkText(TextOutput* out, const char* text)
{
    for (const char* p = text; *p; ++p) {
        char letter = EscapeLetter(*p);
        unsigned char c = (unsigned char)*p;
        if (letter) {
            char pair[2] = {'\\', letter};
            out->PutBytes(pair, 2);
        } else if (c < 0x20 || c == 0x7F) {
            char code[8];
            FormatText(code, sizeof code, "\\x%02x", c);
            out->Put(code);
        } else {
            out->PutBytes(p, 1);
        }
    }
}

void FindMessagesSection(const unsigned char* file, size_t size, MessagesSection* out)
{
    out->found = out->beyondReach = out->cutAtLimit = out->endsAtNul = false;
    out->start = out->end = 0;
    const size_t markerLength = sizeof kMarker - 1;
    for (size_t i = 0; i + kMarkerMinimumBytes <= size; ++i) {
        if (memcmp(file + i, kMarker, markerLength) != 0) continue;
        if (i > kMarkerSearchLimit) {
            out->beyondReach = true;
            return;
        }
        out->found = true;
        out->start = i;
        break;
    }
    if (!out->found) return;
    size_t end = size - out->start > kSectionLimit ? out->start + kSectionLimit : size;
    out->cutAtLimit = end < size;
    const void* nul = memchr(file + out->start, 0, end - out->start);
    if (nul) {
        end = (size_t)((const unsigned char*)nul - file);
        out->endsAtNul = true;
        out->cutAtLimit = false;
    }
    out->end = end;
}

void SplitLines(const unsigned char* file, size_t start, size_t end, std::vector<RawLine>* out)
{
    out->clear();
    int number = LineNumberAt(file, start);
    size_t i = start;
    while (i < end) {
        size_t lineStart = i;
        while (i < end && !IsLineEnd(file[i])) ++i;
        if (i > lineStart) out->push_back(RawLine{lineStart, i - lineStart, number});
        while (i < end && IsLineEnd(file[i])) {
            if (file[i] == '\n' || (file[i] == '\r' && (i + 1 >= end || file[i + 1] != '\n'))) ++number;
            ++i;
        }
    }
}

int LineNumberAt(const unsigned char* file, size_t offset)
{
    int number = 1;
    for (size_t i = 0; i < offset; ++i)
        if (file[i] == '\n' || (file[i] == '\r' && (i + 1 >= offset || file[i + 1] != '\n'))) ++number;
    return number;
}

void UnescapeLine(const unsigned char* bytes, size_t count, std::vector<char>* out,
                  std::vector<bool>* fromEscape)
{
    out->clear();
    if (fromEscape) fromEscape->clear();
    for (size_t j = 0; j < count; ++j) {
        char c = (char)bytes[j];
        bool escaped = false;
        if (c == '\\' && j + 1 < count) {
            switch (bytes[j + 1]) {
            case '"': c = '"'; escaped = true; break;
            case '\\': c = '\\'; escaped = true; break;
            case 'n': c = '\n'; escaped = true; break;
            case 'r': c = '\r'; escaped = true; break;
            case 't': c = '\t'; escaped = true; break;
            default: break;
            }
            if (escaped) ++j;
        }
        out->push_back(c);
        if (fromEscape) fromEscape->push_back(escaped);
    }
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
