// Placeholder until application registration lands.
#include "integration/integration.h"

void RegisterAppPath() {}
void RegisterFileTypes() {}
void RegisterUninstall() {}
void ApplySetup(const SetupOptions*, char*) {}
