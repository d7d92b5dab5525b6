// The data of the file associations: the two empty-archive templates and the cutting of
// an archive type's extension group. Byte-level: no windows.h here.
#pragma once
#include <stddef.h>

enum { kEmptyQyxSize = 20, kEmptyZipSize = 22 };

// Kept with a zero first byte, so that neither signature is stored whole in the program;
// CompleteTemplateSignatures stores it before either template is used.
extern unsigned char EmptyQyxTemplate[kEmptyQyxSize];
extern unsigned char EmptyZipTemplate[kEmptyZipSize];
void CompleteTemplateSignatures();

// Takes the next extension of a group such as ".lzh.lha" (cut at every '.' after the
// first character) from *cursor into out and advances *cursor. False at the end of the
// group. An extension that does not fit out is passed over with out set to "": a cut
// name would be a different extension.
bool NextExtension(const char** cursor, char* out, size_t capacity);
