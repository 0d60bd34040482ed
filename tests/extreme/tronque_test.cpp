// Tronque, the one conversion of the drawing from double to pixels: truncation toward zero for
// every value an int can hold, saturation beyond, 0 for NaN.
#include "base/tronque.h"

#include "tools/soak/random_source.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kIntMax = 2147483647.0;
constexpr double kIntMin = -2147483648.0;

// The doubles just inside and just outside the range of values whose truncation fits an int.
const double kLastBelowTwoPow31 = std::nextafter(2147483648.0, 0.0);
const double kFirstAboveMinusTwoPow31MinusOne = std::nextafter(-2147483649.0, 0.0);

TEST(Tronque, EqualsTheCastForEveryInRangeValueTried) {
    const double table[] = {0.0,
                            -0.0,
                            0.5,
                            -0.5,
                            0.9999999999999999,
                            -0.9999999999999999,
                            1.5,
                            -1.5,
                            2.5,
                            -2.5,
                            -2.7,
                            2.7,
                            259.99999999999997,
                            -259.99999999999997,
                            1e-300,
                            -1e-300,
                            std::numeric_limits<double>::denorm_min(),
                            77.0,
                            -77.0,
                            1e9,
                            -1e9,
                            kIntMax,
                            kIntMax - 0.5,
                            kIntMax + 0.5,
                            kLastBelowTwoPow31,
                            kIntMin,
                            kIntMin + 0.5,
                            kIntMin - 0.5,
                            kFirstAboveMinusTwoPow31MinusOne};
    for (const double v : table)
        EXPECT_EQ(Tronque(v), static_cast<int>(v)) << std::hexfloat << v;

    // Many more, spread over every magnitude and sign, with and without a fraction.
    kv::soak::RandomSource random(7);
    int tried = 0;
    for (int n = 0; n < 1'000'000; ++n) {
        const double magnitude = std::ldexp(static_cast<double>(random.next() >> 11),
                                            static_cast<int>(random.between(-53 - 60, -22)));
        const double v = random.one_in(2) ? magnitude : -magnitude;
        const double w = random.one_in(4) ? std::trunc(v) + (v < 0 ? -0.5 : 0.5) : v;
        if (!(w > -2147483649.0 && w < 2147483648.0)) continue;
        ASSERT_EQ(Tronque(w), static_cast<int>(w)) << std::hexfloat << w;
        ++tried;
    }
    EXPECT_GT(tried, 900'000);
}

TEST(Tronque, SaturatesBeyondTheRangeOfInt) {
    struct Case {
        double v;
        int expected;
    };
    const Case table[] = {{2147483648.0, INT_MAX},
                          {2147483648.5, INT_MAX},
                          {4294967296.0, INT_MAX},
                          {1e10, INT_MAX},
                          {1e300, INT_MAX},
                          {std::numeric_limits<double>::max(), INT_MAX},
                          {kInfinity, INT_MAX},
                          {-2147483649.0, INT_MIN},
                          {-2147483649.5, INT_MIN},
                          {-1e10, INT_MIN},
                          {-1e300, INT_MIN},
                          {std::numeric_limits<double>::lowest(), INT_MIN},
                          {-kInfinity, INT_MIN},
                          {std::numeric_limits<double>::quiet_NaN(), 0},
                          {-std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const Case& c : table)
        EXPECT_EQ(Tronque(c.v), c.expected) << std::hexfloat << c.v;
}

TEST(Tronque, IsMonotonicAcrossBothEdgesOfTheRange) {
    // Saturation joins truncation without a step back: the far side of each edge gives the last
    // value of the near side.
    EXPECT_EQ(Tronque(kLastBelowTwoPow31), INT_MAX);
    EXPECT_EQ(Tronque(std::nextafter(kLastBelowTwoPow31, kInfinity)), INT_MAX);
    EXPECT_EQ(Tronque(kFirstAboveMinusTwoPow31MinusOne), INT_MIN);
    EXPECT_EQ(Tronque(std::nextafter(-2147483649.0, -kInfinity)), INT_MIN);
}

} // namespace
