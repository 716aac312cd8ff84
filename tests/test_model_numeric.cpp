// The 15-bit random draw and the checked float-to-integer truncation.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <gtest/gtest.h>

#include "model/KXNumeric.h"

TEST(Random15, StaysWithin15BitsAndSpansThem) {
    std::srand(12345);
    int lowest = INT_MAX;
    int highest = INT_MIN;
    for (int i = 0; i < 200000; ++i) {
        const int r = kx::random15();
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_GE(lowest, 0);
    EXPECT_LE(highest, 32767);
    // 200000 draws over 32768 values reach both ends' neighbourhood.
    EXPECT_LT(lowest, 16);
    EXPECT_GT(highest, 32751);
}

TEST(Random15, SignedUnitStaysWithinMinusOneAndOne) {
    std::srand(7);
    for (int i = 0; i < 100000; ++i) {
        const float r = kx::randomSignedUnit();
        ASSERT_GE(r, -1.0f);
        ASSERT_LE(r, 1.0f);
    }
}

struct IntCase {
    double input;
    int expected;
};

TEST(TruncateToInt, TowardZeroAndSaturating) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const IntCase cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {2.9, 2},
        {-2.9, -2},
        {0.999, 0},
        {-0.999, 0},
        {nan, 0},
        {1e10, INT_MAX},
        {-1e10, INT_MIN},
        {inf, INT_MAX},
        {-inf, INT_MIN},
        {2147483647.0, INT_MAX},
        {2147483647.9, INT_MAX},
        {2147483648.0, INT_MAX},
        {-2147483648.0, INT_MIN},
        {-2147483648.9, INT_MIN},
        {-2147483649.0, INT_MIN},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(kx::truncateToInt(c.input), c.expected) << "input " << c.input;
    }
}

struct UIntCase {
    double input;
    unsigned int expected;
};

TEST(TruncateToUInt, NegativesGiveZeroAndLargeValuesSaturate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const UIntCase cases[] = {
        {0.0, 0u},
        {3.7, 3u},
        {-0.5, 0u},
        {-1.5, 0u},
        {-1e20, 0u},
        {nan, 0u},
        {inf, UINT_MAX},
        {-inf, 0u},
        {4294967295.0, UINT_MAX},
        {4294967296.0, UINT_MAX},
        {2147483648.5, 2147483648u},
    };
    for (const UIntCase& c : cases) {
        EXPECT_EQ(kx::truncateToUInt(c.input), c.expected) << "input " << c.input;
    }
}

TEST(TruncateToInteger, FloatInputsTooAndOtherWidths) {
    EXPECT_EQ(kx::truncateToInt(150.0f / 3.0f), 50);
    EXPECT_EQ(kx::truncateToInteger<int16_t>(40000.0), 32767);
    EXPECT_EQ(kx::truncateToInteger<int16_t>(-40000.0), -32768);
    EXPECT_EQ(kx::truncateToInteger<uint8_t>(255.9), 255);
    EXPECT_EQ(kx::truncateToInteger<int64_t>(1e30), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(kx::truncateToInteger<int64_t>(-12345.7), -12345);
}
