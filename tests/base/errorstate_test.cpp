#include <gtest/gtest.h>
#include "base/array.h"
#include "base/errorstate.h"

namespace {

TEST(ErrorState, LaterCodesNeverDisplaceHigherRanks)
{
    const struct {
        int first, second, expected;
    } cases[] = {
        {1, 2, 2}, {2, 1, 2}, {8, 1, 8}, {8, 3, 3}, {255, 1, 255}, {1, 255, 1},
        {2, 255, 2}, {8, 2, 8}, {3, 8, 8}, {255, 2, 255},
    };
    for (const auto& c : cases) {
        ErrorState state;
        state.RecordCode(c.first);
        state.RecordCode(c.second);
        EXPECT_EQ(c.expected, state.Code) << c.first << " then " << c.second;
        EXPECT_EQ(2, state.Count) << c.first << " then " << c.second;
    }
}

TEST(ErrorState, RaiseRecordsOnTheProcessWideStateAndThrowsTheCode)
{
    ErrorState local;
    int before = TheErrorState.Count;
    try {
        local.Raise(8);
        FAIL() << "Raise returned";
    } catch (int code) {
        EXPECT_EQ(8, code);
    }
    EXPECT_EQ(8, TheErrorState.Code);
    EXPECT_EQ(before + 1, TheErrorState.Count);
    EXPECT_EQ(0, local.Count);
}

TEST(ErrorState, IgnoredCode255NeitherRecordsNorThrows)
{
    int before = TheErrorState.Count;
    TheErrorState.RaiseCode255 = false;
    EXPECT_NO_THROW(TheErrorState.Raise(255));
    TheErrorState.RaiseCode255 = true;
    EXPECT_EQ(before, TheErrorState.Count);
    EXPECT_THROW(TheErrorState.Raise(255), int);
    EXPECT_EQ(before + 1, TheErrorState.Count);
}

TEST(ErrorState, FileFailuresAreNeverRetried)
{
    EXPECT_FALSE(TheErrorState.ConfirmRetryRead("x"));
}

TEST(Array, CapacityGrowsByAQuarterPlus32)
{
    Array<int> a;
    const int steps[][2] = {{1, 32}, {33, 72}, {73, 122}, {123, 184}, {185, 262}, {263, 359}, {360, 480}};
    int step = 0;
    int previous = 0;
    for (int i = 1; i <= 480; ++i) {
        a.Append(i * 3);
        if (a.Capacity != previous) {
            ASSERT_LT(step, 7) << "an extra resize at element " << i;
            EXPECT_EQ(steps[step][0], i);
            EXPECT_EQ(steps[step][1], a.Capacity);
            ++step;
            previous = a.Capacity;
        }
    }
    EXPECT_EQ(7, step);
    ASSERT_EQ(480, a.Count);
    for (int i = 0; i < 480; ++i) ASSERT_EQ((i + 1) * 3, a.Items[i]) << i;
}

TEST(Array, ExtendAllocatesWhatIsNeededAndNothingForZero)
{
    Array<int> a;
    a.Extend(0);
    EXPECT_EQ(nullptr, a.Items);
    EXPECT_EQ(0, a.Capacity);
    a.Extend(100);
    EXPECT_NE(nullptr, a.Items);
    EXPECT_EQ(100, a.Count);
    EXPECT_EQ(100, a.Capacity);
    a.Extend(1);
    EXPECT_EQ(101, a.Count);
    EXPECT_EQ(100 + 25 + 32, a.Capacity);
}

TEST(Array, GrowthBeyondMemoryRaisesCode8AndKeepsTheArrayIntact)
{
    const int limits[] = {0x20000000, 0x7fffffff};  // more bytes than size_t-safe; more than an int
    for (int n : limits) {
        Array<int> a;
        a.Append(7);
        int* items = a.Items;
        try {
            a.Extend(n);
            FAIL() << "Extend(" << n << ") returned";
        } catch (int code) {
            EXPECT_EQ(8, code);
        }
        EXPECT_EQ(8, TheErrorState.Code);
        EXPECT_EQ(1, a.Count);
        EXPECT_EQ(items, a.Items);
        EXPECT_EQ(7, a.Items[0]);
    }
}

} // namespace
