#include "lang/textkey.h"
#include "base/text.h"

namespace {

uint32_t g_crcTable[256];

void BuildCrcTable()
{
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        g_crcTable[n] = c;
    }
}

} // namespace

uint32_t AddToCrc(uint32_t value, const void* bytes, uint32_t count)
{
    // Entry 1 is never zero once built.
    if (g_crcTable[1] == 0) BuildCrcTable();
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    // Eight bytes a step, as two little-endian words: XOR-ing a word into the value and
    // taking four table steps is the byte-wise rule for its four bytes.
    for (; count >= 8; count -= 8, p += 8) {
        value ^= (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
        for (int k = 0; k < 4; ++k) value = g_crcTable[value & 0xFF] ^ (value >> 8);
        value ^= (uint32_t)p[4] | (uint32_t)p[5] << 8 | (uint32_t)p[6] << 16 | (uint32_t)p[7] << 24;
        for (int k = 0; k < 4; ++k) value = g_crcTable[value & 0xFF] ^ (value >> 8);
    }
    for (; count > 0; --count, ++p) value = g_crcTable[(value ^ *p) & 0xFF] ^ (value >> 8);
    return value;
}

void MakeTextKey(char key[9], char kindChar, const char* context, const char* text)
{
    uint32_t value = AddToCrc(0xFFFFFFFFu, &kindChar, 1);
    if (context) value = AddToCrc(value, context, (uint32_t)TextLength(context));
    value = AddToCrc(value, text, (uint32_t)TextLength(text));
    FormatText(key, 9, "%08x", (unsigned)~value);
}
