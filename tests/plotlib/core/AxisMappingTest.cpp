#include "plotlib/core/AxisMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

struct TPixelCase {
    std::string Name;
    double World;
    double Pixel;
};

void ExpectRoundTrip(const TAxisMapping& mapping, const std::vector<TPixelCase>& cases) {
    for (const TPixelCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NEAR(mapping.ToScreen(c.World), c.Pixel, 1e-9);
        EXPECT_NEAR(mapping.FromScreen(c.Pixel), c.World, 1e-12);
    }
}

TEST(AxisMapping, ColumnsRunFromLeftToRight) {
    ExpectRoundTrip(MapX(10, 110, 0, 1),
                    {{"xMin at left", 0, 10}, {"xMax at right", 1, 110}, {"middle", 0.5, 60}});
    ExpectRoundTrip(MapX(0, 400, -2, 2),
                    {{"xMin at left", -2, 0}, {"xMax at right", 2, 400}, {"zero in the middle", 0, 200}});
}

TEST(AxisMapping, RowsRunFromBottomToTop) {
    ExpectRoundTrip(MapY(20, 220, 0, 10),
                    {{"yMin at bottom", 0, 220}, {"yMax at top", 10, 20}, {"middle", 5, 120}});
}

TEST(AxisMapping, SwappedLimitsInvertTheAxis) {
    // An inverted X axis passes its limits swapped: the smallest x lands at the right edge.
    ExpectRoundTrip(MapX(10, 110, 1, 0), {{"smallest x at right", 0, 110}, {"largest x at left", 1, 10}});
    ExpectRoundTrip(MapY(20, 220, 10, 0), {{"smallest y at top", 0, 20}, {"largest y at bottom", 10, 220}});
}

TEST(AxisMapping, SecondAxesKeepTheirOwnCoefficients) {
    const TAxisMapping primary = MapX(50, 250, 0, 1);
    const TAxisMapping secondary = MapX(50, 250, 100, 300);
    ExpectRoundTrip(secondary, {{"secondary min at left", 100, 50}, {"secondary max at right", 300, 250}});
    EXPECT_NEAR(primary.ToScreen(0.25), secondary.ToScreen(150), 1e-9) << "a quarter of the way on both";
}

TEST(AxisMapping, LogValueRaisesSmallValuesToTheMinimum) {
    struct TCase {
        std::string Name;
        double Value;
        double Expected;
    };
    const std::vector<TCase> cases = {{"zero maps to log10(1e-10)", 0, -10},
                                      {"negative maps to log10(1e-10)", -5, -10},
                                      {"below the minimum", 1e-12, -10},
                                      {"one", 1, 0},
                                      {"thousand", 1000, 3},
                                      {"half", 0.5, std::log10(0.5)}};
    for (const TCase& c : cases)
        EXPECT_NEAR(LogValue(c.Value, 1e-10), c.Expected, 1e-12) << c.Name;
}

TEST(AxisMapping, LogarithmicAxisMapsDecadesEvenly) {
    const TAxisMapping mapping = MapX(0, 100, LogValue(1, 1e-10), LogValue(100, 1e-10));
    EXPECT_NEAR(mapping.ToScreen(LogValue(10, 1e-10)), 50, 1e-9);
    EXPECT_NEAR(mapping.ToScreen(LogValue(100, 1e-10)), 100, 1e-9);
}

TEST(AxisMapping, DegenerateRangesAreWidened) {
    struct TCase {
        std::string Name;
        double Low, High, ExpectedLow, ExpectedHigh;
    };
    const std::vector<TCase> cases = {
        {"zero", 0, 0, -1, 1},
        {"positive point", 5, 5, 4.5, 5.5},
        {"negative point", -2, -2, -2.2, -1.8},
        {"tiny value whose tenth vanishes", 5e-324, 5e-324, 5e-324 - 1, 5e-324 + 1},
        {"ordinary range untouched", 1, 3, 1, 3},
        {"reversed range untouched", 3, 1, 3, 1}};
    for (const TCase& c : cases) {
        double low = c.Low;
        double high = c.High;
        WidenDegenerateRange(low, high);
        EXPECT_DOUBLE_EQ(low, c.ExpectedLow) << c.Name;
        EXPECT_DOUBLE_EQ(high, c.ExpectedHigh) << c.Name;
    }
}

TEST(AxisMapping, EqualEndsStillMapToFinitePixels) {
    ExpectRoundTrip(MapX(0, 100, 5, 5), {{"point in the middle", 5, 50}, {"widened left", 4.5, 0}});
    ExpectRoundTrip(MapY(0, 100, 0, 0), {{"zero in the middle", 0, 50}, {"widened top", 1, 0}});
}

} // namespace
} // namespace mirla
