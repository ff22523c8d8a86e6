#include "plotlib/core/CurveOperations.h"

#include "plotlib/core/PlotTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirla {
namespace {

using TPoints = std::vector<TCurvePoint>;

TEST(CurveOperations, Derivative) {
    struct TCase {
        std::string Name;
        std::vector<double> X, Y;
        TPoints Expected;
    };
    const std::vector<TCase> cases = {
        {"quotients at the middles", {0, 1, 3}, {0, 1, 5}, {{0.5, 1}, {2, 2}}},
        {"a pair of equal X has no quotient", {0, 1, 1, 2}, {0, 1, 3, 4}, {{0.5, 1}, {1.5, 1}}},
        {"one point gives none", {2}, {7}, {}},
        {"no point gives none", {}, {}, {}}};
    for (const TCase& c : cases)
        EXPECT_EQ(Derivative(c.X, c.Y), c.Expected) << c.Name;
}

TEST(CurveOperations, CombineAtTheXOfTheFirstCurve) {
    const std::vector<double> x{0, 1, 2, 3};
    const std::vector<double> y{1, 2, 3, 4};
    // B = 2x + 1 on 0..2, nothing beyond.
    const auto b = [](double at) { return at <= 2 ? 2 * at + 1 : MissingValue; };
    struct TCase {
        TCurveOperation Operation;
        std::string Sign;
        TPoints Expected;
    };
    const std::vector<TCase> cases = {{TCurveOperation::Add, "+", {{0, 2}, {1, 5}, {2, 8}}},
                                      {TCurveOperation::Subtract, "-", {{0, 0}, {1, -1}, {2, -2}}},
                                      {TCurveOperation::Multiply, "x", {{0, 1}, {1, 6}, {2, 15}}},
                                      {TCurveOperation::Divide, "/", {{0, 1}, {1, 2.0 / 3}, {2, 0.6}}}};
    for (const TCase& c : cases) {
        EXPECT_EQ(OperationSign(c.Operation), c.Sign);
        EXPECT_EQ(Combine(x, y, b, c.Operation), c.Expected) << c.Sign;
    }
}

TEST(CurveOperations, CombineFailsOnAResultThatIsNoNumber) {
    const std::vector<double> x{0, 1, 2};
    const std::vector<double> y{1, 0, 1e300};
    const auto b = [](double at) { return at == 2 ? 1e300 : at - 1; };
    EXPECT_FALSE(Combine(x, y, b, TCurveOperation::Divide)) << "divisor 0 at X = 1";
    EXPECT_FALSE(Combine(x, y, b, TCurveOperation::Multiply)) << "overflow at X = 2";
    EXPECT_TRUE(Combine(x, y, b, TCurveOperation::Add));
}

} // namespace
} // namespace mirla
