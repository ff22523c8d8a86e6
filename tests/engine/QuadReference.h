#pragma once

// Accuracy checks of extended-precision functions against exact values from quadruple
// precision.
#include "engine/Extended.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace mirla {

/// Distance of `value` from the exact `reference` in units in the last place of the extended
/// format at the reference.
inline double UlpError(Extended value, __float128 reference) {
    const auto rounded = static_cast<Extended>(reference);
    int exponent = 0;
    std::frexp(rounded, &exponent);
    const __float128 ulp = ldexpq(1, exponent - std::numeric_limits<Extended>::digits);
    return static_cast<double>(fabsq(static_cast<__float128>(value) - reference) / ulp);
}

/// `perExponent` random arguments in every binary order of magnitude from 2^minExponent to
/// 2^maxExponent, alternately positive and negative, with bits below a double's precision.
inline std::vector<Extended> RandomArguments(int minExponent, int maxExponent, int perExponent) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0.5, 1.0);
    std::vector<Extended> arguments;
    for (int exponent = minExponent; exponent <= maxExponent; ++exponent) {
        for (int i = 0; i < perExponent; ++i) {
            const Extended t =
                std::ldexp(static_cast<Extended>(unit(random)) + unit(random) * 0x1p-40L, exponent);
            arguments.push_back(i % 2 == 0 ? t : -t);
        }
    }
    return arguments;
}

/// Expects `computed` within `units` units in the last place of `exact` at every argument, and
/// names the worst argument otherwise.
template <typename Computed, typename Exact>
void ExpectWithinUnits(Computed computed, Exact exact, const std::vector<Extended>& arguments, double units) {
    double worst = 0;
    Extended worstArgument = 0;
    for (const Extended t : arguments) {
        const double error = UlpError(computed(t), exact(static_cast<__float128>(t)));
        if (error > worst) {
            worst = error;
            worstArgument = t;
        }
    }
    EXPECT_LE(worst, units) << "at " << static_cast<double>(worstArgument);
}

} // namespace mirla
