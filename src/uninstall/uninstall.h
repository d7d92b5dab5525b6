// The uninstall procedure and the self-removal script.
#pragma once

// False when nothing could be uninstalled: no list file, or no usable program path.
bool RunUninstall();
void RemoveIntegration();
// Returns only when the script cannot be written; otherwise ends the process.
void WriteSelfRemovalScript(const char* programPath);
