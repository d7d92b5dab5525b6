#include "driver/switches.h"
#include "base/text.h"

Switch ParseSwitch(const char* tail, bool* silent)
{
    const char* first = nullptr;
    const char* last = nullptr;
    for (const char* p = tail; *p; ++p) {
        if (*p != '/') continue;
        if (!first) first = p;
        last = p;
    }
    if (!last) return SwitchUninstall;

    const char* at = last;
    if (EqualTextNoCaseAscii(last, "/s")) {
        *silent = true;
        at = first;
    }
    // Fixed-length prefix tests, so "/setupx" still counts as "/setup".
    static const struct { const char* text; size_t length; Switch which; } known[] = {
        {"/setup", 6, SwitchSetup},
        {"/wait", 5, SwitchWait},
        {"/warning", 8, SwitchWarning},
        {"/clean", 6, SwitchClean},
        {"/uninstall", 10, SwitchUninstallCommand},
    };
    Switch result = SwitchNothing;
    for (const auto& k : known)
        if (EqualNoCaseAscii(at, k.text, k.length)) result = k.which;
    return result;
}
