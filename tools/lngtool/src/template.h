// A complete language file for a program's texts, ready to be translated.
// Byte-level: no windows.h here.
#pragma once
#include "lngformat.h"
#include "programtexts.h"

// Writes the header, the marker line, an entry for every text (the English text, with a
// remark before it that names the text's place and shows it) and commented examples of
// the scale entries and the direction entry. programName appears in the header only.
void WriteTemplate(const ProgramTexts& texts, const char* programName, TextOutput* out);
