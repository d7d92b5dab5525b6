// Process-wide values set by the driver and read by the dialogs and the shortcut step.
#pragma once
#include <windows.h>
#include "base/path.h"

extern bool SilentMode;
extern HICON DialogIcon;
extern HFONT HeadingFont;
extern char ProgramGroupFolder[kPathCapacity];
