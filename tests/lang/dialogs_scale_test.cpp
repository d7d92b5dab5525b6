// The rescaling arithmetic (byte-level).
#include <gtest/gtest.h>
#include <limits.h>
#include "lang/dialogscale.h"

namespace {

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
