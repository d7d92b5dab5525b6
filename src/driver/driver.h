// The program: start-up, the chosen mode, teardown.
#pragma once
#include <windows.h>

// The exit code of "/uninstall /s" when there was nothing to uninstall (no list file).
enum { kExitNothingUninstalled = 2 };

// Everything WinMain does; returns the process exit code.
int RunProgram(HINSTANCE instance, const char* commandTail);

// The "/warning" message, composed into message (capacity bytes).
void ComposeWarningMessage(char* message, size_t capacity, const char* programPath);
