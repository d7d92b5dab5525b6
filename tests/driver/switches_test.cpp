#include <gtest/gtest.h>
#include "driver/switches.h"

namespace {

struct Case {
    const char* tail;
    Switch expected;
    bool silent;
};

const Case kCases[] = {
    {"", SwitchUninstall, false},
    {"no switch here", SwitchUninstall, false},
    {"/setup", SwitchSetup, false},
    {"/SETUP", SwitchSetup, false},
    {"/setupx", SwitchSetup, false},          // a prefix test: one more letter still counts
    {"/setup /s", SwitchSetup, true},
    {"/setup /S", SwitchSetup, true},
    {"/s /setup", SwitchSetup, false},         // the last switch is not "/s"
    {"/s", SwitchNothing, true},               // silent, and nothing else happens
    {"/S", SwitchNothing, true},
    {"/s ", SwitchNothing, false},             // a blank after "/s" is not the silent switch
    {"/setup /wait", SwitchWait, false},       // only the last switch acts
    {"/wait", SwitchWait, false},
    {"/warning", SwitchWarning, false},
    {"/WARNING", SwitchWarning, false},
    {"/warn", SwitchNothing, false},           // "/warning" needs 8 characters
    {"/wait2", SwitchWait, false},
    {"/clean", SwitchClean, false},
    {"/unknown", SwitchNothing, false},
    {"C:/path/with/slashes", SwitchNothing, false},  // any '/' selects the switch branch
    {"/warning /setup /s", SwitchWarning, true},     // "/s" last: the first switch acts
    {"/uninstall", SwitchUninstallCommand, false},
    {"/uninstall /s", SwitchUninstallCommand, true},
    {"/UNINSTALL /S", SwitchUninstallCommand, true},
    {"/uninstal", SwitchNothing, false},
};

TEST(ParseSwitch, TableOfCommandLines)
{
    for (const Case& c : kCases) {
        bool silent = false;
        EXPECT_EQ(c.expected, ParseSwitch(c.tail, &silent)) << "tail \"" << c.tail << "\"";
        EXPECT_EQ(c.silent, silent) << "tail \"" << c.tail << "\"";
    }
}

TEST(ParseSwitch, SilentIsNeverCleared)
{
    bool silent = true;
    EXPECT_EQ(SwitchSetup, ParseSwitch("/setup", &silent));
    EXPECT_TRUE(silent);
}

} // namespace
