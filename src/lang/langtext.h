// The byte-level work on the language file: finding the messages section, unescaping
// and splitting it, comparing line starts, copying an entry's text out, and reading a
// dialog scale. Byte-level: no windows.h here.
#pragma once
#include <stddef.h>

enum {
    kSectionCapacity = 65536,  // bytes of the messages section that are read
    kSectionSlack = 1024,      // allocated beyond it, so that copies may run on
    kMarkerReadSize = 8192,    // the marker is searched in reads of this size...
    kMarkerReads = 16,         // ...at most this many of them...
    kMarkerOverlap = 16,       // ...overlapping by this much: the marker's own length
    kKeyLength = 8,            // hexadecimal digits of a key
    kLastLineTextLimit = 255,  // a text on the section's last line is cut to this
};

const char kFormFeed = '\x0C';

// Offset of the first "***messages**" with at least kMarkerOverlap bytes from its first
// byte within the count bytes, or -1.
int FindMessagesMarker(const char* bytes, int count);

// Resolves the escapes \" \\ \n \r \t in place, turns CR and LF into form feeds and
// stops at a NUL. Writes the terminating NUL and returns the new length (0 for a
// negative length).
int UnescapeAndSplit(char* section, int length);

// Compares the first eight bytes of two line starts as unsigned bytes; equal when both
// end at the same place before that. Negative, zero or positive.
int CompareLineStart(const char* a, const char* b);

// Copies the text of the entry line at position line of body (bodyLength bytes before
// its NUL) to out: from the byte after key, '=' and the opening quote, to the line's
// last double quote; without one, the rest of the line with its form feed (on the last
// line at most 255 bytes). A text longer than outSize - 1 bytes is cut there, before a
// double-byte character that would not fit whole.
void CopyEntryText(char* out, size_t outSize, const char* body, int bodyLength, int line);

// Reads a dialog scale "W*H" (each a signed decimal number after optional blanks;
// no digits read as 0). Without a '*' both are 100. True unless both are 100.
bool ParseDialogScale(const char* text, int* widthPercent, int* heightPercent);
