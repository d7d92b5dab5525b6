// Placeholder until links and program groups land.
#include "integration/integration.h"

void SetShortcuts(const SetupOptions*, char*) {}
bool CreateShortcut(const char*, const char*, const char*, const char*, const char*) { return false; }
bool DeleteFolderTree(char*) { return false; }
