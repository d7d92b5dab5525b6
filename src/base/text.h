// Bounded text helpers: every copy, append and format into a fixed buffer goes through
// these. None writes past the capacity it is given, and each leaves the destination
// NUL-terminated whenever the capacity is at least 1. Byte-level: no windows.h here.
#pragma once
#include <stdarg.h>
#include <stddef.h>

// Length of a NUL-terminated text.
size_t TextLength(const char* text);

// Copies src into dst; returns false if it had to be cut to fit.
bool CopyText(char* dst, size_t capacity, const char* src);

// Copies at most count bytes of src (fewer if src ends first); false if cut to fit.
bool CopyTextPart(char* dst, size_t capacity, const char* src, size_t count);

// Appends src to the text in dst; false if it had to be cut (or dst was unterminated).
bool AppendText(char* dst, size_t capacity, const char* src);

// printf-like formatting for the program's own constant formats only: %s %c %d %u %x %X
// and %%, with an optional '0' flag and width. Never pass a text from a language file,
// a module or the registry as the format. Returns false if the result was cut.
bool FormatText(char* dst, size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
bool FormatTextV(char* dst, size_t capacity, const char* format, va_list args);

// Treats pattern as data: copies it byte for byte, except that its first "%s" is
// replaced by argument. Used for translatable texts with a placeholder.
bool InsertArgument(char* dst, size_t capacity, const char* pattern, const char* argument);

// ASCII case-insensitive comparison of the first count bytes (shorter texts compare
// their terminator). Returns true when equal.
bool EqualNoCaseAscii(const char* a, const char* b, size_t count);

// ASCII case-insensitive comparison of whole texts.
bool EqualTextNoCaseAscii(const char* a, const char* b);
