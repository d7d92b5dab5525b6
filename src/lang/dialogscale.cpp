#include "lang/dialogscale.h"
#include <limits.h>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A percentage as a signed decimal integer; digits beyond the range of int saturate
// instead of overflowing.
int ReadPercent(const char* p)
{
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return (int)value;
}

} // namespace

bool ReadDialogScale(const char* text, int* widthPercent, int* heightPercent)
{
    const char* star = text;
    while (*star && *star != '*') ++star;
    if (*star != '*') {
        *widthPercent = *heightPercent = 100;
        return false;
    }
    *widthPercent = ReadPercent(text);
    *heightPercent = ReadPercent(star + 1);
    return *widthPercent != 100 || *heightPercent != 100;
}

long long ScaleByPercent(long long value, int percent)
{
    // Keeps the product within 64 bits for every percentage.
    const long long bound = (1LL << 32) - 1;
    if (value > bound) value = bound;
    if (value < -bound) value = -bound;
    return value * percent / 100;
}

int ClampPosition(long long value)
{
    if (value < kCoordinateMin) return kCoordinateMin;
    if (value > kCoordinateMax) return kCoordinateMax;
    return (int)value;
}

int ClampExtent(long long value)
{
    if (value < 0) return 0;
    if (value > kCoordinateMax) return kCoordinateMax;
    return (int)value;
}
