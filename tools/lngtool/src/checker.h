// Checks a language file against a program's texts the way the program will read it.
// Byte-level: no windows.h here.
#pragma once
#include <stddef.h>
#include <vector>
#include "programtexts.h"

struct Finding {
    int line;        // 1-based line of the file
    bool error;      // false: a warning, the file works but likely not as meant
    char message[320];
};

// Appends the findings for the language file's bytes, ordered by line.
void CheckLanguageFile(const unsigned char* file, size_t size, const ProgramTexts& texts,
                       std::vector<Finding>* out);

bool HasErrors(const std::vector<Finding>& findings);
