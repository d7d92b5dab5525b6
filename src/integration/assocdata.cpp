#include "integration/assocdata.h"
#include "base/text.h"

unsigned char EmptyQyxTemplate[kEmptyQyxSize] = {
    0x00, 'y', 'x', '!', 0x1A, 0x07, 0x00,  // signature "Qyx!" and the rest of the marker block
    0xCF, 0x90,                             // header check: low 16 bits of the CRC-32 of bytes 9..19
    0x73,                                   // main archive header
    0x00, 0x00,                             // flags
    0x0D, 0x00,                             // header size 13
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,     // reserved
};

// An empty ZIP archive is its end-of-central-directory record alone.
unsigned char EmptyZipTemplate[kEmptyZipSize] = {0x00, 'K', 0x05, 0x06};

void CompleteTemplateSignatures()
{
    EmptyQyxTemplate[0] = 'Q';
    EmptyZipTemplate[0] = 'P';
}

bool NextExtension(const char** cursor, char* out, size_t capacity)
{
    const char* start = *cursor;
    if (!*start) return false;
    const char* end = start + 1;
    while (*end && *end != '.') ++end;
    *cursor = end;
    if (!CopyTextPart(out, capacity, start, (size_t)(end - start)) && capacity) out[0] = '\0';
    return true;
}
