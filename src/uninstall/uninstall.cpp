// Placeholder until the uninstall procedure lands: returns at once.
#include "uninstall/uninstall.h"

void RunUninstall() {}
void RemoveIntegration() {}
void WriteSelfRemovalScript(const char*) {}
