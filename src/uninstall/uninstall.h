// The uninstall procedure and the self-removal script.
#pragma once

void RunUninstall();
void RemoveIntegration();
// Returns only when the script cannot be written; otherwise ends the process.
void WriteSelfRemovalScript(const char* programPath);
