// The arithmetic of rescaling a dialog by its scale percentages.
// Byte-level: no windows.h here.
#pragma once

// The window system's coordinate range: the 9x family keeps window coordinates in 16
// bits, so no position or size beyond it is ever handed to a window.
enum { kCoordinateMin = -32768, kCoordinateMax = 32767 };

// value * percent / 100, truncated toward zero, formed in 64 bits. Exact for every value
// of magnitude below 2^32 (any difference of two 32-bit coordinates); larger values are
// first cut to that bound, which only matters far outside the coordinate range.
long long ScaleByPercent(long long value, int percent);

// A position or a size brought into the window system's range (sizes are never negative).
int ClampPosition(long long value);
int ClampExtent(long long value);
