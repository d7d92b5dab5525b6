// Scanning of ANSI paths that is aware of double-byte character sets. Byte-level: the
// lead-byte table is data, filled from the system's code page at start-up (system.h).
#pragma once
#include <stddef.h>

// Entries 0..255: 1 if that byte is a lead byte of the ANSI code page.
// Entry 256: 1 if the ANSI code page is a multi-byte one.
extern unsigned char LeadByteTable[257];

// Size of the program's path and dialog-text buffers.
enum { kPathCapacity = 1024 };

// Position of the character after the one at p. A lead byte directly followed by the
// terminator counts as one byte, so no scan ever steps over the terminator.
const char* NextChar(const char* p);
inline char* NextChar(char* p) { return const_cast<char*>(NextChar(const_cast<const char*>(p))); }

// Where the name part of a path begins: after the last '\' or '/', after a leading
// drive designator ("C:"), or at the start.
const char* NameOfPath(const char* path);
inline char* NameOfPath(char* path) { return const_cast<char*>(NameOfPath(const_cast<const char*>(path))); }

// First byte of the path's last character (the start for an empty path).
const char* LastCharOfPath(const char* path);
inline char* LastCharOfPath(char* path) { return const_cast<char*>(LastCharOfPath(const_cast<const char*>(path))); }

// Appends '\' unless the path is empty or already ends in one. Returns false, leaving the
// path unchanged, when the backslash would not fit the capacity.
bool AppendBackslash(char* path, size_t capacity = kPathCapacity);

// Overwrites trailing tabs, line feeds, carriage returns and spaces with NUL.
char* TrimTrailingBlanks(char* text);

// True for a name that stays inside the folder it is joined to: not empty, not "." or
// "..", and no '\', '/' or ':' (a trail byte of a double-byte character is no separator).
bool IsPlainFileName(const char* name);

// Copies a 16-bit string including its terminator; cut to capacity characters.
void CopyWideText(unsigned short* dst, size_t capacity, const unsigned short* src);
