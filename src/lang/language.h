// The text language file "uninstall.lng": loaded once at start-up, then only read.
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
};

extern LanguageResources TheLanguage;
