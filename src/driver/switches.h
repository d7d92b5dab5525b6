// The command line's switch: byte-level, no windows.h here.
#pragma once

enum Switch {
    SwitchNothing,    // a switch that matches none of the known ones, or "/s" alone
    SwitchUninstall,  // no '/' at all
    SwitchSetup,
    SwitchWait,
    SwitchWarning,
    SwitchClean,
    SwitchUninstallCommand,  // "/uninstall": the uninstall, silent with a trailing "/s"
};

// Only the last '/' of the tail counts, or the first when the last is exactly "/s",
// which also sets *silent. Each known switch is a case-insensitive prefix test.
Switch ParseSwitch(const char* commandTail, bool* silent);
