#include "engine/Trigonometry.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace mirla {
namespace {

/// Distance of `value` from the exact `reference` in units in the last place of the extended
/// format at the reference.
double UlpError(Extended value, __float128 reference) {
    const auto rounded = static_cast<Extended>(reference);
    int exponent = 0;
    std::frexp(rounded, &exponent);
    const __float128 ulp = ldexpq(1, exponent - std::numeric_limits<Extended>::digits);
    return static_cast<double>(fabsq(static_cast<__float128>(value) - reference) / ulp);
}

/// Below this magnitude sine and cosine are computed with their own reduction.
constexpr Extended ReducedRange = 0x1p20L;

/// Arguments over the reduced range: random ones per binary order of magnitude, and the
/// extended numbers nearest to multiples of pi/2, where the reduction cancels most.
std::vector<Extended> ReducedArguments() {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0.5, 1.0);
    std::vector<Extended> arguments;
    for (int exponent = -4; exponent <= 20; ++exponent) {
        for (int i = 0; i < 2000; ++i) {
            const Extended t =
                std::ldexp(static_cast<Extended>(unit(random)) + unit(random) * 0x1p-40L, exponent);
            arguments.push_back(i % 2 == 0 ? t : -t);
        }
    }
    const __float128 halfPi = acosq(0);
    for (long long k = 1; halfPi * k < ReducedRange; k = k * 3 + 1) {
        const auto nearest = static_cast<Extended>(halfPi * k);
        for (const Extended t : {nearest, std::nextafter(nearest, 0.0L), std::nextafter(nearest, 1e30L)})
            arguments.push_back(t);
    }
    return arguments;
}

template <typename Computed, typename Exact> void ExpectWithinOneUnit(Computed computed, Exact exact) {
    double worst = 0;
    Extended worstArgument = 0;
    for (const Extended t : ReducedArguments()) {
        const double error = UlpError(computed(t), exact(static_cast<__float128>(t)));
        if (error > worst) {
            worst = error;
            worstArgument = t;
        }
    }
    EXPECT_LE(worst, 1.0) << "at " << static_cast<double>(worstArgument);
}

TEST(Trigonometry, SineAndCosineStayWithinOneUnitInTheLastPlace) {
    ExpectWithinOneUnit(Sine, sinq);
    ExpectWithinOneUnit(Cosine, cosq);
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
