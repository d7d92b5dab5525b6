// A set-up run for the uninstall tests, on the real registry: started from an installation
// folder (which is also its current directory), it saves and applies every choice and
// registers the uninstaller, as the set-up dialog does on OK.
#include <windows.h>
#include <ole2.h>
#include <string.h>
#include "base/path.h"
#include "base/system.h"
#include "integration/integration.h"
#include "lang/resources.h"
#include "setup_ui/options.h"

int main()
{
    BuildLeadByteTable();
    ProgramModule = ResourceModule = GetModuleHandleA(NULL);
    if (FAILED(OleInitialize(NULL))) return 4;
    SetupOptions options;
    memset(options.Flags, 1, sizeof options.Flags);
    SaveSetupOptions(&options);
    char group[kPathCapacity] = "";
    ApplySetup(&options, group);
    RegisterUninstall();
    OleUninitialize();
    return group[0] ? 0 : 5;
}
