// The texts of a program that its language file can translate, as the program itself
// sees them: the string table (read with a 256-byte buffer) and the title and control
// texts of its named dialog templates (read with 1024-byte buffers), in ANSI bytes.
// Byte-level: no windows.h here.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <vector>
#include "peimage.h"

enum {
    kStringTextCapacity = 256,   // the buffer GetString reads and translates into
    kDialogTextCapacity = 1024,  // the buffer a dialog's title and control texts go through
    kScaleTextCapacity = 512,    // the buffer a dialog's scale entry is read into
    kPlaceCapacity = 160,
};

enum TextRole {
    RoleString,     // a string of the string table (kind 's')
    RoleDialog,     // a dialog title or control text (kind '$', the dialog's name as context)
    RoleScale,      // the empty text in a dialog's context: its size in percent
    RoleDirection,  // "LTR" in the context "LTR": the text direction
};

struct ProgramText {
    TextRole role;
    char kind;                         // 's' or '$'
    char context[kResourceNameCapacity];
    char text[kDialogTextCapacity];    // as the program reads it
    char key[9];
    char place[kPlaceCapacity];        // where the text appears, for people
    unsigned id;                       // string id, or control id (0xFFFFFFFF: none)
    bool cut;                          // longer in the resource than the program reads
    bool unmappable;                   // had characters without a Windows-1252 byte
};

struct ProgramNote {
    char text[200];
};

struct ProgramTexts {
    std::vector<ProgramText> texts;       // strings by id, then each dialog's texts
    std::vector<ProgramText> settings;    // the scale entry of each dialog, the direction entry
    std::vector<ResourceId> dialogs;      // the named dialogs, in the order listed
    std::vector<ProgramNote> notes;       // what was left out or changed, and why
};

// The dialogs the program shows, listed first in this order.
extern const char* const kProgramDialogs[3];

// Collects the translatable texts from a PE image. False with a reason in error when
// the image cannot be read.
bool ReadProgramTexts(const unsigned char* image, size_t size, ProgramTexts* out,
                      char* error, size_t errorSize);

// The text (of texts or settings) with that key, or null.
const ProgramText* FindProgramText(const ProgramTexts& texts, const char* key);

// UTF-16 (little-endian, count units) to Windows-1252 bytes in out (NUL-terminated).
// Sets *cut when it did not fit and *unmappable when a character had no byte ("?").
void Utf16ToAnsi(const unsigned char* units, size_t count, char* out, size_t capacity,
                 bool* cut, bool* unmappable);
