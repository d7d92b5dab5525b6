// The installation's list file, any bytes: every entry the reader yields fits its buffer,
// is one trimmed line, and passes the entry check only when it cannot name anything
// outside the folder it is joined to; the script's pieces stay within their buffers. The
// first byte chooses the line buffer's size and a double-byte code page or none.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "base/path.h"
#include "uninstall/listfile.h"
#include "uninstall/script_text.h"

namespace {

void Check(bool ok)
{
    if (!ok) abort();
}

// The entry check's promise, stated byte by byte without code page knowledge.
void CheckRelative(const char* entry, bool doubleByte)
{
    Check(entry[0] != '\0' && entry[0] != '\\' && entry[0] != '/');
    for (const char* p = entry; *p; ++p) Check((unsigned char)*p >= 0x20 && *p != ':');
    if (doubleByte) return;
    const char* start = entry;
    for (const char* p = entry;; ++p) {
        if (*p == '\0' || *p == '\\' || *p == '/') {
            size_t n = (size_t)(p - start);
            Check(!(n == 2 && start[0] == '.' && start[1] == '.'));
            if (*p == '\0') break;
            start = p + 1;
        }
    }
}

void Pieces(const char* entry)
{
    static const size_t sizes[] = {1, 7, 64, kScriptPieceCapacity};
    for (size_t size : sizes) {
        char* out = (char*)malloc(size);
        if (ComposeDeletionBlock(out, size, entry, entry)) Check(strlen(out) < size);
        else Check(out[0] == '\0');
        if (ComposeScriptTail(out, size, entry, entry)) Check(strlen(out) < size);
        else Check(out[0] == '\0');
        if (ComposeInterpreterCommand(out, size, true, entry, entry)) Check(strlen(out) < size);
        else Check(out[0] == '\0');
        free(out);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    bool doubleByte = data[0] & 1;
    memset(LeadByteTable, 0, sizeof LeadByteTable);
    if (doubleByte) {
        for (int b = 0x81; b <= 0x9F; ++b) LeadByteTable[b] = 1;
        for (int b = 0xE0; b <= 0xFC; ++b) LeadByteTable[b] = 1;
        LeadByteTable[256] = 1;
    }
    static const size_t capacities[] = {1, 2, 9, 64, kListLineCapacity};
    size_t capacity = capacities[(data[0] >> 1) % 5];
    ++data;
    --size;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    // Exactly the buffer's size, so that the sanitizer sees any byte beyond it.
    char* line = (char*)malloc(capacity);
    ListReader reader(file);
    size_t entries = 0;
    while (reader.NextEntry(line, capacity)) {
        size_t n = strlen(line);
        Check(n > 0 && n < capacity && !strchr(line, '\n'));
        char last = line[n - 1];
        Check(last != ' ' && last != '\t' && last != '\r');
        // Each entry is a whole line of the input.
        Check(memmem(data, size, line, n) != nullptr);
        if (IsRelativeEntry(line)) CheckRelative(line, doubleByte);
        Pieces(line);
        Check(++entries <= size);
    }
    fclose(file);
    free(line);
    return 0;
}
