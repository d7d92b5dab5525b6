// Placeholder until file associations land.
#include "integration/integration.h"

void SetAssociations(const SetupOptions*) {}
