// The program: start-up, the chosen mode, teardown.
#pragma once
#include <windows.h>

// Everything WinMain does; returns the process exit code.
int RunProgram(HINSTANCE instance, const char* commandTail);

// The "/warning" message, composed into message (capacity bytes).
void ComposeWarningMessage(char* message, size_t capacity, const char* programPath);
