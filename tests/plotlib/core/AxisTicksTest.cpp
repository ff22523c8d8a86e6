#include "plotlib/core/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

struct TTickCase {
    std::string Name;
    TTickRequest Request;
    double First;
    double Step;
    int Count;
    int MinorPerMajor;
    int Digits;
    double RoundedMax;
    bool IntegerLabels;
};

TTickRequest Range(double min, double max, TAxisLabelStyle style = asFloat) {
    TTickRequest request;
    request.Min = min;
    request.Max = max;
    request.LabelStyle = style;
    return request;
}

TTickRequest With(TTickRequest request, bool autoMax, bool zoomed, bool hasData) {
    request.AutoMax = autoMax;
    request.Zoomed = zoomed;
    request.GraphHasData = hasData;
    return request;
}

void ExpectLayouts(const std::vector<TTickCase>& cases) {
    for (const TTickCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TTickLayout layout = ComputeTicks(c.Request);
        EXPECT_NEAR(layout.First, c.First, 1e-12);
        EXPECT_NEAR(layout.Step, c.Step, std::abs(c.Step) * 1e-12);
        EXPECT_EQ(layout.Count, c.Count);
        EXPECT_EQ(layout.MinorPerMajor, c.MinorPerMajor);
        EXPECT_EQ(layout.Digits, c.Digits);
        EXPECT_NEAR(layout.RoundedMax, c.RoundedMax, 1e-12);
        EXPECT_EQ(layout.IntegerLabels, c.IntegerLabels);
    }
}

TEST(AxisTicks, DecimalLabelling) {
    ExpectLayouts({
        {"0..1: 11 ticks of 0.1", Range(0, 1), 0, 0.1, 11, 5, 1, 1, false},
        {"0..7: 15 ticks of 0.5", Range(0, 7), 0, 0.5, 15, 4, 1, 7, false},
        {"0..3: 16 ticks of 0.2", Range(0, 3), 0, 0.2, 16, 5, 1, 3, false},
        {"0..0.0035: three shifts, rnd(17.5) = 18", Range(0, 0.0035), 0, 0.0002, 19, 5, 4, 0.0035, false},
        {"0..0.35: one shift", Range(0, 0.35), 0, 0.02, 19, 5, 2, 0.35, false},
        {"min > max is swapped", Range(1, 0), 0, 0.1, 11, 5, 1, 1, false},
        {"0..250: no decimals above 100, rnd(12.5) = 12", Range(0, 250), 0, 20, 13, 5, 0, 250, false},
        {"-40..40", Range(-40, 40), -40, 5, 17, 4, 1, 40, false},
        {"first tick rounded to d+1 decimals", Range(0.0123456, 0.9), 0.012, 0.05, 19, 4, 2, 0.9, false},
        {"auto max rounded to d+1 decimals", Range(0, 1.23456), 0, 0.1, 13, 5, 1, 1.23, false},
        {"fixed max keeps its value", With(Range(0, 1.23456), false, false, true), 0, 0.1, 13, 5, 1, 1.23456,
         false},
        {"zoomed max keeps its value", With(Range(0, 1.23456), true, true, true), 0, 0.1, 13, 5, 1, 1.23456,
         false},
        {"first tick too large for integer rounding is rounded as text", Range(3000000000.7, 3000000300.7),
         3000000001, 20, 16, 5, 0, 3000000300.7, false},
    });
}

TEST(AxisTicks, IntegerLabelling) {
    ExpectLayouts({
        {"0..4: 6 ticks step 1", Range(0, 4, asInteger), 0, 1, 6, 1, 1, 4, true},
        {"0..1.5: 3 ticks", Range(0, 1.5, asInteger), 0, 1, 3, 1, 1, 1.5, true},
        {"0..8: step 2", Range(0, 8, asInteger), 0, 2, 6, 1, 1, 8, true},
        {"0..9: rnd(4.5) = 4", Range(0, 9, asInteger), 0, 2, 6, 1, 1, 9, true},
        {"2.7..5.2: starts at rnd(min - 0.5)", Range(2.7, 5.2, asInteger), 2, 1, 4, 1, 1, 5.2, true},
        {"0..40 zoomed", With(Range(0, 40, asInteger), true, true, true), 0, 2, 21, 5, 0, 40, true},
        {"0..15 without data", With(Range(0, 15, asInteger), true, false, false), 0, 1, 16, 5, 0, 15, true},
        {"0..80 zoomed: step 5", With(Range(0, 80, asInteger), true, true, true), 0, 5, 17, 4, 0, 80, true},
        {"0..40 with data falls back to decimals", Range(0, 40, asInteger), 0, 2, 21, 5, 1, 40, false},
    });
}

TEST(AxisTicks, EmptyOrInvalidRangesGiveNoTicks) {
    struct TCase {
        std::string Name;
        TTickRequest Request;
    };
    const std::vector<TCase> cases = {{"equal ends", Range(2, 2)},
                                      {"infinite end", Range(0, INFINITY)},
                                      {"range overflows", Range(-1e308, 1e308)},
                                      {"not a number", Range(std::nan(""), 1)}};
    for (const TCase& c : cases)
        EXPECT_EQ(ComputeTicks(c.Request).Count, 0) << c.Name;
}

TEST(AxisTicks, MajorTicksOfSmallRangeAreLabelledWithoutTrailingZeros) {
    const TTickLayout layout = ComputeTicks(Range(0, 0.0035));
    const std::vector<std::string> expected = {"0", "0.001", "0.002", "0.003"};
    for (int major = 0; major < 4; ++major) {
        const double value = layout.First + major * layout.MinorPerMajor * layout.Step;
        EXPECT_EQ(AxisLabelText(value, layout.Digits, layout.Step, true), expected[major])
            << "major " << major;
    }
}

TEST(AxisTicks, MajorTicksOfZeroToSevenAreEvenNumbers) {
    const TTickLayout layout = ComputeTicks(Range(0, 7));
    std::vector<std::string> labels;
    for (int i = 0; i < layout.Count; i += layout.MinorPerMajor)
        labels.push_back(AxisLabelText(layout.First + i * layout.Step, layout.Digits, layout.Step, true));
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "2", "4", "6"}));
}

TEST(AxisTicks, LabelText) {
    struct TCase {
        std::string Name;
        double Value;
        int Digits;
        double Step;
        bool Linear;
        std::string Expected;
    };
    const std::vector<TCase> cases = {
        {"zero", 0, 1, 0.1, true, "0"},
        {"half", 0.5, 1, 0.1, true, "0.5"},
        {"one", 1, 1, 0.1, true, "1"},
        {"ten loses .0", 10, 1, 0.5, true, "10"},
        {"trailing zeros removed", 2.5, 3, 0.1, true, "2.5"},
        {"rounded to the digits", 3.14159, 2, 0.01, true, "3.14"},
        {"no point keeps its zeros", 400000, 0, 20000, true, "400000"},
        {"accumulation error removed", 0.1 + 0.2, 1, 0.1, true, "0.3"},
        {"negative", -0.5, 1, 0.1, true, "-0.5"},
        {"rounds to zero without a minus", -0.01, 1, 0.5, true, "0"},
        {"residue next to zero", 1e-17, 1, 0.5, true, "0.0"},
        {"negative residue next to zero", -1e-17, 1, 0.5, true, "0.0"},
        {"tiny value on a log axis", 1e-17, 1, 0.5, false, "1.0E-17"},
        {"million", 1000000, 0, 200000, true, "1.0E6"},
        {"two and a half million", 2500000, 0, 500000, true, "2.5E6"},
        {"precision d - c + 2", 12345678, 0, 1000000, true, "1.2E7"},
        {"negative large", -2500000, 0, 500000, true, "-2.5E6"},
        {"just under a million normalised to it", 999999.9999999999, 1, 0.5, true, "1.0E6"},
        {"a thousandth", 0.001, 4, 0.0002, true, "0.001"},
        {"five ten-thousandths", 0.0005, 4, 0.0001, true, "0.0005"},
        {"1E-5", 1e-5, 6, 1e-6, true, "1.0E-5"},
        {"1.5E-5", 1.5e-5, 6, 1e-6, true, "1.5E-5"},
        {"5E-5 with two digits", 0.00005, 5, 1e-5, true, "5.0E-5"},
        {"2.5E-6", 2.5e-6, 7, 1e-7, true, "2.5E-6"},
        {"integer label", 5, 0, 1, true, "5"},
        {"general below a thousandth keeps d - c + 2 digits", 0.00012345, 5, 1e-5, true, "0.000123"},
        {"general from a million on", 1234567.8, 1, 0.5, true, "1.23E6"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(AxisLabelText(c.Value, c.Digits, c.Step, c.Linear), c.Expected) << c.Name;
}

TEST(AxisTicks, LogTicksAreOneToNineTimesEachDecade) {
    const std::vector<TLogTick> ticks = LogTicks(0, 2);
    ASSERT_EQ(ticks.size(), 19u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const int exponent = static_cast<int>(i / 9);
        const double expected = static_cast<double>(i % 9 + 1) * std::pow(10.0, exponent);
        EXPECT_DOUBLE_EQ(ticks[i].Value, expected) << "tick " << i;
        EXPECT_EQ(ticks[i].Decade, i % 9 == 0) << "tick " << i;
        EXPECT_EQ(ticks[i].Exponent, exponent) << "tick " << i;
    }
}

TEST(AxisTicks, LogTicksStayWithinTheLimits) {
    struct TCase {
        std::string Name;
        double LogMin, LogMax;
        std::vector<double> Values;
    };
    const std::vector<TCase> cases = {
        {"2..50", std::log10(2.0), std::log10(50.0), {2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50}},
        {"inverted 50..2", std::log10(50.0), std::log10(2.0), {2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50}},
        {"inside one decade", 0.5, 0.7, {4, 5}},
        {"minimum log value", -10, -9, {1e-10, 2e-10, 3e-10, 4e-10, 5e-10, 6e-10, 7e-10, 8e-10, 9e-10, 1e-9}},
        {"not finite", 0, INFINITY, {}}};
    for (const TCase& c : cases) {
        const std::vector<TLogTick> ticks = LogTicks(c.LogMin, c.LogMax);
        ASSERT_EQ(ticks.size(), c.Values.size()) << c.Name;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i].Value, c.Values[i], c.Values[i] * 1e-12) << c.Name << " tick " << i;
    }
}

TEST(AxisTicks, LogTicksMarkDecadesWithTheirExponent) {
    const std::vector<TLogTick> ticks = LogTicks(-10, -9);
    ASSERT_EQ(ticks.size(), 10u);
    EXPECT_TRUE(ticks.front().Decade);
    EXPECT_EQ(ticks.front().Exponent, -10);
    EXPECT_FALSE(ticks[1].Decade);
    EXPECT_TRUE(ticks.back().Decade);
    EXPECT_EQ(ticks.back().Exponent, -9);
}

TEST(AxisTicks, RoundHalfEven) {
    struct TCase {
        double X, Expected;
    };
    const std::vector<TCase> cases = {{0.5, 0},   {1.5, 2}, {2.5, 2}, {-0.5, 0},  {-1.5, -2}, {17.5, 18},
                                      {12.5, 12}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {3, 3},     {-2.4, -2}};
    for (const TCase& c : cases)
        EXPECT_EQ(RoundHalfEven(c.X), c.Expected) << "rnd(" << c.X << ")";
}

} // namespace
} // namespace mirla
