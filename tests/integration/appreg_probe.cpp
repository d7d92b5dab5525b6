// A set-up run from another program folder, for the tests: applies every choice and
// registers the uninstaller, as the set-up dialog does on OK, with the registry
// redirected into the calling test's scratch keys. Arguments: the scratch key paths
// for HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, each relative to
// the real HKEY_CURRENT_USER.
#include <windows.h>
#include <ole2.h>
#include <string.h>
#include "base/path.h"
#include "base/system.h"
#include "integration/integration.h"
#include "lang/resources.h"

int main(int argc, char** argv)
{
    if (argc != 4) return 2;
    const HKEY roots[3] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
    HKEY keys[3];
    for (int i = 0; i < 3; ++i)
        if (RegOpenKeyExA(HKEY_CURRENT_USER, argv[1 + i], 0, KEY_ALL_ACCESS, &keys[i]) != ERROR_SUCCESS) return 3;
    for (int i = 0; i < 3; ++i) RegOverridePredefKey(roots[i], keys[i]);

    BuildLeadByteTable();
    ProgramModule = ResourceModule = GetModuleHandleA(NULL);
    if (FAILED(OleInitialize(NULL))) return 4;
    SetupOptions options;
    memset(options.Flags, 1, sizeof options.Flags);
    char group[kPathCapacity] = "";
    ApplySetup(&options, group);
    RegisterUninstall();
    OleUninitialize();

    for (int i = 0; i < 3; ++i) {
        RegOverridePredefKey(roots[i], NULL);
        RegCloseKey(keys[i]);
    }
    return group[0] ? 0 : 5;
}
