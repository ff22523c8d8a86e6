#include "engine/Exponential.h"

#include "QuadReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace mirla {
namespace {

TEST(Exponential, IsCorrectlyRoundedButForAFewHundredthsOfAUnit) {
    std::vector<Extended> arguments = RandomArguments(-70, 9, 2000);
    // The points where the table of roots of 2 changes entry.
    for (int n = -32 * 10; n <= 32 * 10; ++n) {
        const auto boundary = static_cast<Extended>((static_cast<__float128>(n) + 0.5) * logq(2) / 32);
        arguments.insert(arguments.end(),
                         {boundary, std::nextafter(boundary, -1e9L), std::nextafter(boundary, 1e9L)});
    }
    // The ends of the fast range.
    arguments.insert(arguments.end(), {700.0L, -700.0L, 699.99999L, -699.99999L});
    ExpectWithinUnits(Exponential, expq, arguments, 0.55);
}

TEST(Exponential, FarArgumentsThatKeepTheResultNormalStayWithinOneUnit) {
    ExpectWithinUnits(Exponential, expq, {700.5L, -700.5L, 5000.25L, -9000.125L, -11355.0L, 11356.5L}, 1.0);
}

TEST(Exponential, IsExactWhereTheResultIs) {
    EXPECT_EQ(Exponential(0), 1);
    EXPECT_EQ(Exponential(-0.0L), 1);
    EXPECT_EQ(Exponential(0x1p-70L), 1);
}

TEST(Exponential, OverflowsToInfinityAndUnderflowsToZero) {
    EXPECT_TRUE(std::isinf(Exponential(11357)));
    EXPECT_EQ(Exponential(-20000), 0);
    EXPECT_EQ(Exponential(-std::numeric_limits<Extended>::infinity()), 0);
    EXPECT_TRUE(std::isnan(Exponential(std::numeric_limits<Extended>::quiet_NaN())));
}

} // namespace
} // namespace mirla
