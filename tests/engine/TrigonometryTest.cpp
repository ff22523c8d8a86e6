#include "engine/Trigonometry.h"

#include "QuadReference.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <limits>
#include <vector>

namespace mirla {
namespace {

/// Below this magnitude sine and cosine are computed with their own reduction.
constexpr Extended ReducedRange = 0x1p20L;

/// Arguments up to the end of the reduced range: random ones per binary order of magnitude,
/// small ones included, and the extended numbers nearest to multiples of pi/2, where the
/// reduction cancels most.
std::vector<Extended> ReducedArguments() {
    std::vector<Extended> arguments = RandomArguments(-70, 20, 1000);
    const __float128 halfPi = acosq(0);
    for (long long k = 1; halfPi * k < ReducedRange; k = k * 3 + 1) {
        const auto nearest = static_cast<Extended>(halfPi * k);
        for (const Extended t : {nearest, std::nextafter(nearest, 0.0L), std::nextafter(nearest, 1e30L)})
            arguments.push_back(t);
    }
    return arguments;
}

TEST(Trigonometry, SineAndCosineStayWithinFourFifthsOfAUnitInTheLastPlace) {
    const std::vector<Extended> arguments = ReducedArguments();
    ExpectWithinUnits(Sine, sinq, arguments, 0.8);
    ExpectWithinUnits(Cosine, cosq, arguments, 0.8);
}

TEST(Trigonometry, LargeArgumentsAndSpecialValuesFollowTheLibrary) {
    for (const Extended t : {ReducedRange, -1491356.319020892631L, 0x1p40L + 0.5L, 0x1p62L}) {
        EXPECT_EQ(Sine(t), std::sin(t)) << static_cast<double>(t);
        EXPECT_EQ(Cosine(t), std::cos(t)) << static_cast<double>(t);
    }
    EXPECT_TRUE(std::signbit(Sine(-0.0L)));
    EXPECT_EQ(Cosine(-0.0L), 1);
    EXPECT_TRUE(std::isnan(Sine(std::numeric_limits<Extended>::quiet_NaN())));
}

TEST(Trigonometry, ArgumentsBeyondTheProcessorsReductionGiveZero) {
    for (const Extended t : {0x1p63L, -0x1p63L, 0x1p100L, std::numeric_limits<Extended>::infinity()}) {
        EXPECT_EQ(Sine(t), 0) << static_cast<double>(t);
        EXPECT_EQ(Cosine(t), 0) << static_cast<double>(t);
    }
}

} // namespace
} // namespace mirla
