// The keys of the language file: CRC-32 (IEEE 802.3, reflected 0xEDB88320) of the kind
// character, the context and the text. Byte-level: no windows.h here.
#pragma once
#include <stdint.h>

// The running CRC after count more bytes, without the final complement. Builds the
// table on first use.
uint32_t AddToCrc(uint32_t value, const void* bytes, uint32_t count);

// Eight lowercase hexadecimal digits and a NUL: the key of text in context (null or ""
// for none) with the kind character ('s', '$' or '@').
void MakeTextKey(char key[9], char kindChar, const char* context, const char* text);
