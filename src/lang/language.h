// The text language file "uninstall.lng": loaded once at start-up, then only read.
// Byte-level: no windows.h here (the file reading and the direction test live in
// language.cpp; everything that works on the loaded bytes in langtext.cpp).
#pragma once
#include <stddef.h>
#include "base/array.h"

enum TextKind { TextString = 's', TextDialog = '$', TextOther = '@' };

class LanguageResources {
public:
    char* Body;
    int BodyLength;
    Array<int> LineIndex;
    bool RightToLeft;

    LanguageResources();
    ~LanguageResources();
    LanguageResources(const LanguageResources&) = delete;
    LanguageResources& operator=(const LanguageResources&) = delete;

    void LoadLanguageFile(const char* name);
    bool IsLoaded() const { return Body != nullptr; }

    // Writes the translation of text (or the text itself) to out, which holds outSize
    // bytes and may be text's own buffer.
    void TranslateText(char* out, size_t outSize, const char* text, const char* context,
                       TextKind kind) const;
    void DetectTextDirection();

    // Turns the readCount bytes read into Body (-1: the read failed) into the loaded
    // section: unescaped, split into lines, indexed and sorted. Body must have been
    // allocated with kSectionCapacity + kSectionSlack bytes.
    void PrepareSection(int readCount);
    // Position in Body of a line whose first eight bytes equal key, or -1.
    int SearchLineIndex(const char* key) const;
    // Position of the first line that starts with key, '=' and a double quote, or -1.
    int ScanBodyLines(const char* key) const;
};

extern LanguageResources TheLanguage;
