// Placeholder until the language file loader lands: nothing is ever loaded.
#include "lang/language.h"
#include "base/text.h"

LanguageResources::LanguageResources() : Body(nullptr), BodyLength(0), RightToLeft(false) {}
LanguageResources::~LanguageResources() {}
void LanguageResources::LoadLanguageFile(const char*) { DetectTextDirection(); }
void LanguageResources::TranslateText(char* out, size_t outSize, const char* text, const char*,
                                      TextKind) const
{
    if (out != text) CopyText(out, outSize, text);
}
void LanguageResources::DetectTextDirection() {}
