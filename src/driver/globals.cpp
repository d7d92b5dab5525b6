// The process-wide objects, defined in one place so that they are constructed in this
// order (and destroyed in the reverse one): the lead-byte table first, then the error
// state, the resource module holder and the language file.
#include "driver/globals.h"
#include "base/errorstate.h"
#include "base/system.h"
#include "lang/language.h"
#include "lang/resources.h"

namespace {
struct LeadByteTableBuilder {
    LeadByteTableBuilder() { BuildLeadByteTable(); }
} g_leadByteTableBuilder;
} // namespace

ErrorState TheErrorState;
ExtResource TheExtResource;
LanguageResources TheLanguage;

bool SilentMode;
HICON DialogIcon;
HFONT HeadingFont;
char ProgramGroupFolder[kPathCapacity];
