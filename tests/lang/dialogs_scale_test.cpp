// Reading a dialog's scale entry and the rescaling arithmetic (byte-level).
#include <gtest/gtest.h>
#include <limits.h>
#include "lang/dialogscale.h"

namespace {

TEST(ReadDialogScale, Texts)
{
    const struct {
        const char* text;
        int width, height;
        bool scaled;
    } cases[] = {
        {"120*110", 120, 110, true},
        {"100*100", 100, 100, false},
        {"", 100, 100, false},            // no scale entry
        {"abc", 100, 100, false},         // no '*': unscaled
        {"150", 100, 100, false},
        {"0*0", 0, 0, true},
        {"*", 0, 0, true},                // no digits on either side read as 0
        {"abc*def", 0, 0, true},
        {"120*", 120, 0, true},
        {"*110", 0, 110, true},
        {" \t120* 110", 120, 110, true},  // leading blanks before each number
        {"+120*-50", 120, -50, true},
        {"-50*200", -50, 200, true},
        {"100000*100", 100000, 100, true},
        {"12px*34%", 12, 34, true},       // digits up to the first other character
        {"1*2*3", 1, 2, true},            // the first '*' separates
        {"100*100 remark", 100, 100, false},
        {"- 5*1", 0, 1, true},            // a sign must be followed by its digits
        {"99999999999999999999*1", INT_MAX, 1, true},  // saturated, not overflowed
        {"-99999999999999999999*-2147483648", INT_MIN, INT_MIN, true},
        {"2147483647*-2147483649", INT_MAX, INT_MIN, true},
    };
    for (const auto& c : cases) {
        int width = 12345, height = 12345;
        EXPECT_EQ(c.scaled, ReadDialogScale(c.text, &width, &height)) << c.text;
        EXPECT_EQ(c.width, width) << c.text;
        EXPECT_EQ(c.height, height) << c.text;
    }
}

TEST(ScaleByPercent, ExactIn64BitsAndTruncatedTowardZero)
{
    EXPECT_EQ(360, ScaleByPercent(300, 120));
    EXPECT_EQ(-150, ScaleByPercent(-100, 150));
    EXPECT_EQ(3, ScaleByPercent(7, 50));     // 3.5
    EXPECT_EQ(-3, ScaleByPercent(-7, 50));   // -3.5 toward zero
    EXPECT_EQ(0, ScaleByPercent(INT_MAX, 0));
    // Products far beyond 32 bits stay exact.
    EXPECT_EQ(300000LL, ScaleByPercent(300, 100000));
    EXPECT_EQ((long long)INT_MAX * INT_MAX / 100, ScaleByPercent(INT_MAX, INT_MAX));
    EXPECT_EQ((long long)INT_MIN * INT_MIN / 100, ScaleByPercent(INT_MIN, INT_MIN));
    // Values beyond any coordinate difference are bounded before the product.
    EXPECT_GT(ScaleByPercent(LLONG_MAX, INT_MAX), 0);
    EXPECT_LT(ScaleByPercent(LLONG_MIN, INT_MAX), 0);
}

TEST(ClampCoordinates, WindowSystemRange)
{
    EXPECT_EQ(-32768, ClampPosition(-100000));
    EXPECT_EQ(32767, ClampPosition(300000));
    EXPECT_EQ(-5, ClampPosition(-5));
    EXPECT_EQ(0, ClampExtent(-5));
    EXPECT_EQ(32767, ClampExtent(1LL << 40));
    EXPECT_EQ(240, ClampExtent(240));
}

} // namespace
