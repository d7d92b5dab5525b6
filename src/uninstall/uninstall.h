// The uninstall procedure and the self-removal script.
#pragma once

// False when nothing could be uninstalled: no list file, or no usable program path.
bool RunUninstall();
void RemoveIntegration();
// Returns only when the script cannot be written; otherwise ends the process.
void WriteSelfRemovalScript(const char* programPath);
// A mutex the uninstalling instance holds from the start of its script until it ends.
extern const char kUninstallRunningName[];
// "/wait": the script's pause before it deletes the program. Two seconds, and then, should
// the uninstalling instance still be ending (a slow or busy machine), until it has ended.
void WaitForUninstallToEnd();
