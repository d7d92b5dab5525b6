#include "lang/dialogscale.h"

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
