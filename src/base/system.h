// The few questions the program asks of the system, and starting a process.
#pragma once
#include <windows.h>
#include "base/path.h"

// Fills LeadByteTable from the ANSI code page (GetCPInfo, IsDBCSLeadByte).
void BuildLeadByteTable();

// Locale-aware case-insensitive comparison: -1, 0 or 1; -2 when the system call fails.
int CompareTextNoCase(const char* a, const char* b);

// Major version on the NT platform, 0 on the 9x family. Asks the system once.
int WinNtMajorVersion();

// The path of the named file in the program folder, written to out (kPathCapacity
// bytes). Returns false, leaving out empty, when it would not fit.
bool ModuleSiblingPath(const char* name, char* out);

// Starts commandLine (writable, as CreateProcessA wants it) in workingFolder (null: the
// current one), waits waitMs milliseconds when that is not 0. True if it was started.
bool LaunchProcess(char* commandLine, const char* workingFolder, DWORD waitMs);
