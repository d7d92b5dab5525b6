// Placeholder until the shell extension's registration lands.
#include "integration/integration.h"

void SetShellExtension(const SetupOptions*) {}
