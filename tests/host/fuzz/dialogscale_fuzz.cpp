// The scale entry's text comes from a language file: any bytes must read safely, and the
// rescaling arithmetic must stay within 64 bits and the coordinate range for any scale.
#include <stddef.h>
#include <stdint.h>
#include <string.h>
#include "lang/dialogscale.h"
#include "lang/langtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char text[512];
    size_t n = size < sizeof text - 1 ? size : sizeof text - 1;
    memcpy(text, data, n);
    text[n] = '\0';
    int width = 0, height = 0;
    ParseDialogScale(text, &width, &height);
    const long long values[] = {0, 1, -1, 32767, -32768, 4294967295LL, -4294967296LL};
    for (long long v : values) {
        int x = ClampPosition(ScaleByPercent(v, width) + v);
        int h = ClampExtent(ScaleByPercent(v, height) + ScaleByPercent(v, height));
        if (x < kCoordinateMin || x > kCoordinateMax || h < 0 || h > kCoordinateMax) __builtin_trap();
    }
    return 0;
}
