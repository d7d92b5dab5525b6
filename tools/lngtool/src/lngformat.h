// The text language file as the program's loader reads it: where its messages section
// lies, how its lines end and how its escapes resolve; and the escaping that writes a
// text so that the loader gives it back. Byte-level: no windows.h here.
#pragma once
#include <stddef.h>
#include <vector>

enum {
    kMarkerSearchLimit = 130816,  // the marker's first byte may lie at most this far in
    kMarkerMinimumBytes = 16,     // the file must hold this much from the marker on
    kSectionLimit = 65536,        // bytes read from the marker on
    kKeyLength = 8,
};

// Growing output for the tool's texts.
class TextOutput {
public:
    void Put(const char* text);
    void PutBytes(const char* bytes, size_t count);
    void PutNumber(unsigned value);
    const std::vector<char>& Bytes() const { return bytes_; }

private:
    std::vector<char> bytes_;
};

// Writes text with the escapes the loader resolves: \\ \" \n \r \t. False (and writes
// nothing) when it holds a form feed, which ends a line whatever precedes it and has
// no escape.
bool PutEscaped(TextOutput* out, const char* text);

// For a remark: the same escapes, and every other control byte as \xNN, so that the
// remark stays one line whatever the text holds.
void PutRemarkText(TextOutput* out, const char* text);

// Where the loader finds the messages section in a file's bytes.
struct MessagesSection {
    bool found;          // a marker within reach
    bool beyondReach;    // a marker exists, but too far into the file
    size_t start;        // the marker's first byte
    size_t end;          // one past the section's last byte
    bool cutAtLimit;     // the file goes on past the bytes the loader reads
    bool endsAtNul;      // a NUL byte ends the section at end
};
void FindMessagesSection(const unsigned char* file, size_t size, MessagesSection* out);

// One line of the section as it lies in the file.
struct RawLine {
    size_t start;   // offset in the file
    size_t length;  // without its line end
    int number;     // 1-based, counting LF, CR LF and lone CR as line breaks
};
// The lines of bytes [start, end) of the file (empty ones left out, as the loader
// skips them); the first is the one the section starts with.
void SplitLines(const unsigned char* file, size_t start, size_t end, std::vector<RawLine>* out);

// The 1-based number of the line that holds the byte at offset.
int LineNumberAt(const unsigned char* file, size_t offset);

// The loader's unescaping of one line's bytes. fromEscape (if not null) tells for each
// byte of out whether an escape produced it.
void UnescapeLine(const unsigned char* bytes, size_t count, std::vector<char>* out,
                  std::vector<bool>* fromEscape);

bool IsHexDigit(char c);
