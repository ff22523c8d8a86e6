#include "plotlib/core/PolynomialFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// 80 noisy samples of one curve over X from `from` to `to`; the curve's shape does not depend on
/// where X lies.
void Samples(double from, double to, std::vector<double>& x, std::vector<double>& y) {
    constexpr int Count = 80;
    for (int i = 0; i < Count; ++i) {
        const double u = -2 + 4.0 * i / (Count - 1);
        x.push_back(from + (to - from) * i / (Count - 1));
        y.push_back(std::sin(2.5 * u) + 0.3 * u * u + 0.05 * std::cos(7.3 * i));
    }
}

double LargestMagnitude(const std::vector<double>& values) {
    double largest = 0;
    for (double v : values)
        largest = std::max(largest, std::abs(v));
    return largest;
}

// The references are least-squares solutions computed once outside the product in exact rational
// arithmetic; numpy's polynomial fits agree with them to the tolerances used here.
TEST(PolynomialFit, MatchesReferenceSolutions) {
    struct TCase {
        std::string Name;
        double From, To;
        int Degree;
        /// The fit at points 0, 57, 100, 143 and 199 of 200 evenly spaced from `From` to `To`.
        std::vector<double> Values;
        /// c0 .. cm of X^k where they are well determined by the data; empty otherwise.
        std::vector<double> Coefficients;
    };
    const std::vector<TCase> cases = {
        {"degree 1 around 0",
         -2,
         2,
         1,
         {0.7220638976264095, 0.5432701738542615, 0.40839069802614975, 0.273511222198038,
          0.09785423042189247},
         {0.409959064024151, -0.15605241680112927}},
        {"degree 3 around 0",
         -2,
         2,
         3,
         {2.988983046567227, -0.35708026220831335, 0.010409573601127523, 0.804240907520185,
          -0.5902895429384403},
         {8.468767152514922e-05, 1.024361391634726, 0.2998155160357171, -0.47979488475278576}},
        {"degree 10 around 0",
         -2,
         2,
         10,
         {2.2051606988980423, -0.6284060019603847, 0.022287243304525393, 1.0467023929951975,
          0.23257822982998483},
         {-0.0027783771046121565, 2.490835369586042, 0.34352362233894435, -2.559604139390707,
          -0.10438484781541929, 0.7554918540680656, 0.08472786860885431, -0.09110431627009952,
          -0.027332807521878746, 0.003895477136355827, 0.003019849659954922}},
        {"degree 25 around 0",
         -2,
         2,
         25,
         {2.2088854270237035, -0.6221743858468858, 0.030844939661051743, 1.0456733559334135,
          0.2510464463871708},
         {}},
        {"degree 1 far from 0",
         5000,
         5004,
         1,
         {0.7220638976264215, 0.5432701738542808, 0.4083906980261996, 0.2735112221979764, 0.0978542304218805},
         {780.9841479033028, -0.15605241680113527}},
        {"degree 3 far from 0",
         5000,
         5004,
         3,
         {2.988983046566848, -0.3570802622081101, 0.010409573600814877, 0.8042409075202177,
          -0.5902895429380945},
         {60053854879.88419, -36016408.13713579, 7200.1018561147475, -0.47979488475267973}},
        {"degree 10 far from 0",
         5000,
         5004,
         10,
         {2.2051606988978754, -0.6284060019601969, 0.022287243303691372, 1.0467023929948234,
          0.23257822982997378},
         {}},
        {"degree 25 far from 0",
         5000,
         5004,
         25,
         {2.2088854270236946, -0.6221743858470841, 0.030844939660403106, 1.0456733559333198,
          0.25104644638717216},
         {}}};
    for (const TCase& c : cases) {
        std::vector<double> x, y;
        Samples(c.From, c.To, x, y);
        const auto fit = FitPolynomial(x, y, c.Degree);
        ASSERT_TRUE(fit) << c.Name;
        ASSERT_EQ(fit->Coefficients.size(), static_cast<std::size_t>(c.Degree + 1)) << c.Name;
        const std::vector<TCurvePoint> curve = SampleFit(*fit, c.From, c.To, 200);
        ASSERT_EQ(curve.size(), 200u) << c.Name;
        const int at[] = {0, 57, 100, 143, 199};
        for (int k = 0; k < 5; ++k)
            EXPECT_NEAR(curve[at[k]].Y, c.Values[k], 1e-7) << c.Name << ", point " << at[k];
        EXPECT_DOUBLE_EQ(curve.back().X, c.To) << c.Name;
        const double scale = LargestMagnitude(c.Coefficients);
        for (std::size_t k = 0; k < c.Coefficients.size(); ++k)
            EXPECT_NEAR(fit->Coefficients[k], c.Coefficients[k], 1e-10 * scale) << c.Name << ", c" << k;
    }
}

TEST(PolynomialFit, SolvedOnlyWithASingleSolution) {
    struct TCase {
        std::string Name;
        std::vector<double> X, Y;
        int Degree;
        bool Solvable;
    };
    const double nan = std::nan("");
    const std::vector<TCase> cases = {
        {"a line through X = 0", {0, 1, 2}, {1, 3, 5}, 1, true},
        {"three distinct X for degree 2", {1, 1, 2, 3, 3}, {1, 2, 3, 4, 5}, 2, true},
        {"three distinct X for degree 3", {1, 1, 2, 3, 3}, {1, 2, 3, 4, 5}, 3, false},
        {"one X value", {2, 2, 2}, {1, 2, 3}, 1, false},
        {"no points", {}, {}, 1, false},
        {"a Y that is no number", {1, 2, 3}, {1, nan, 3}, 1, false}};
    for (const TCase& c : cases)
        EXPECT_EQ(FitPolynomial(c.X, c.Y, c.Degree).has_value(), c.Solvable) << c.Name;
}

} // namespace
} // namespace mirla
