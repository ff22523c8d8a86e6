#include "plotlib/core/ColorChoice.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace mirla {
namespace {

std::vector<TColor> TableColors() {
    return {DefaultColors.begin(), DefaultColors.end()};
}

std::vector<TColor> ShiftedTableColors(int amount) {
    std::vector<TColor> colors;
    for (const TColor color : DefaultColors)
        colors.push_back(amount < 0 ? Darkened(color, -amount) : Lightened(color, amount));
    return colors;
}

std::vector<TColor> Joined(std::vector<TColor> a, const std::vector<TColor>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ColorChoice, TableOrder) {
    const std::vector<TColor> expected = {clRed,    clBlue,  clGreen,  clTeal,    clMaroon, clNavy,
                                          clPurple, clOlive, clSilver, clGray,    clBlack,  clFuchsia,
                                          clLime,   clAqua,  clYellow, 0x00A8C1CE};
    EXPECT_EQ(TableColors(), expected);
}

TEST(ColorChoice, ShiftedChannelsStayWithinBounds) {
    struct TCase {
        std::string Name;
        TColor Actual, Expected;
    };
    const std::vector<TCase> cases = {
        {"red darkened", Darkened(clRed, 32), RgbColor(223, 0, 0)},
        {"mixed darkened, floored at 0", Darkened(RgbColor(10, 100, 200), 32), RgbColor(0, 68, 168)},
        {"mixed lightened, capped at 255", Lightened(RgbColor(240, 100, 0), 32), RgbColor(255, 132, 32)},
        {"white lightened stays white", Lightened(clWhite, 32), clWhite},
        {"black darkened stays black", Darkened(clBlack, 32), clBlack}};
    for (const TCase& c : cases)
        EXPECT_EQ(c.Actual, c.Expected) << c.Name;
}

TEST(ColorChoice, FreeColor) {
    struct TCase {
        std::string Name;
        std::vector<TColor> Layers;
        TColor Plot;
        TColor Expected;
    };
    const std::vector<TColor> all = TableColors();
    const std::vector<TColor> allAndDarkened = Joined(all, ShiftedTableColors(-32));
    const std::vector<TColor> everything = Joined(allAndDarkened, ShiftedTableColors(32));
    const std::vector<TCase> cases = {
        {"no layers", {}, clWhite, clRed},
        {"red taken", {clRed}, clWhite, clBlue},
        {"first gap in table order", {clRed, clGreen}, clWhite, clBlue},
        {"all 16 taken: red darkened by 32", all, clWhite, RgbColor(223, 0, 0)},
        {"plot colour red, no layers: darkened table", {}, clRed, RgbColor(223, 0, 0)},
        {"plot colour is the first free one", {clRed}, clBlue, RgbColor(223, 0, 0)},
        {"darkened red taken too", Joined(all, {RgbColor(223, 0, 0)}), clWhite, RgbColor(0, 0, 223)},
        {"all darkened taken: red lightened", allAndDarkened, clWhite, RgbColor(255, 32, 32)},
        {"first lightened is the plot colour", allAndDarkened, RgbColor(255, 32, 32), -1},
        {"every colour taken", everything, clWhite, -1}};
    for (const TCase& c : cases)
        EXPECT_EQ(ChooseFreeColor(c.Layers, c.Plot), c.Expected) << c.Name;
}

TEST(ColorChoice, FreeMarker) {
    std::vector<int> all;
    for (int style = 1; style <= 50; ++style)
        all.push_back(style);
    const std::vector<int> allButLast(all.begin(), all.end() - 1);
    struct TCase {
        std::string Name;
        std::vector<int> Used;
        int Expected;
    };
    const std::vector<TCase> cases = {{"none used", {}, 1},
                                      {"first three used", {1, 2, 3}, 4},
                                      {"gap at the start", {2}, 1},
                                      {"styles beyond 50 do not count", {1, 51, 52}, 2},
                                      {"only 50 free", allButLast, 50},
                                      {"all used", all, 1}};
    for (const TCase& c : cases)
        EXPECT_EQ(ChooseFreeMarker(c.Used), c.Expected) << c.Name;
}

std::set<int> MarkedPoints(int count, int step) {
    std::set<int> marked;
    for (int i = 0; i < count; ++i) {
        if (HasMarkerAt(i, count, step))
            marked.insert(i);
    }
    return marked;
}

std::set<int> EveryNth(int count, int step) {
    std::set<int> points;
    for (int i = 0; i < count; i += step)
        points.insert(i);
    return points;
}

TEST(ColorChoice, MarkerSteps) {
    struct TCase {
        std::string Name;
        int Count, Step;
        std::set<int> Expected;
    };
    std::set<int> hundredBy5 = EveryNth(100, 5);
    hundredBy5.insert(99);
    std::set<int> sixtyBy3 = EveryNth(60, 3);
    sixtyBy3.insert(59);
    const std::vector<TCase> cases = {{"100 points step 5: every 5th and the last", 100, 5, hundredBy5},
                                      {"10 points step 5: 3*5 >= 10, all", 10, 5, EveryNth(10, 1)},
                                      {"step 0 counts as 1", 10, 0, EveryNth(10, 1)},
                                      {"60 points step 3", 60, 3, sixtyBy3},
                                      {"last point already on the step", 21, 5, EveryNth(21, 5)}};
    for (const TCase& c : cases)
        EXPECT_EQ(MarkedPoints(c.Count, c.Step), c.Expected) << c.Name;
}

TEST(ColorChoice, MulDivRoundsHalvesAwayFromZero) {
    struct TCase {
        std::string Name;
        int A, B, C, Expected;
    };
    const std::vector<TCase> cases = {{"half up", 1, 1, 2, 1},
                                      {"negative half", -1, 1, 2, -1},
                                      {"7.5", 3, 10, 4, 8},
                                      {"-7.5", -3, 10, 4, -8},
                                      {"two negatives", 3, -10, -4, 8},
                                      {"negative divisor", 10, 5, -3, -17},
                                      {"rounds down", 7, 10, 3, 23},
                                      {"product beyond 32 bits", 100000, 100000, 10, 1000000000},
                                      {"division by zero", 1, 1, 0, -1},
                                      {"result beyond int", INT_MAX, 2, 1, -1}};
    for (const TCase& c : cases)
        EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected) << c.Name;
}

TEST(ColorChoice, NoGradientBelowTwoPixels) {
    EXPECT_TRUE(GradientBands(1, clWhite, clBlack).empty());
    EXPECT_TRUE(GradientBands(0, clWhite, clBlack).empty());
    EXPECT_TRUE(GradientBands(-5, clWhite, clBlack).empty());
}

TEST(ColorChoice, SmallGradients) {
    EXPECT_EQ(GradientBands(2, clRed, clBlue), (std::vector<TGradientBand>{{0, 1, clRed}}));
    // Band 2 (start colour) at the left, band 1 halfway (255 - 127.5 rounded away from zero), the right
    // pixel left to the background.
    EXPECT_EQ(GradientBands(3, clBlack, clWhite),
              (std::vector<TGradientBand>{{0, 1, clBlack}, {1, 2, RgbColor(127, 127, 127)}}));
}

TEST(ColorChoice, WideGradientHas255ContiguousBands) {
    const std::vector<TGradientBand> bands = GradientBands(1000, clRed, clBlue);
    ASSERT_EQ(bands.size(), 255u);
    EXPECT_EQ(bands.front().From, 0);
    EXPECT_EQ(bands.front().Color, clRed) << "start colour at the left edge";
    // Band 1 ends 1000/256 = 3.9 -> 4 pixels before the right edge, one step away from the end colour.
    EXPECT_EQ(bands.back().To, 996);
    EXPECT_EQ(bands.back().Color, RgbColor(1, 0, 254));
    for (std::size_t i = 1; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].From, bands[i - 1].To) << "band " << i;
        EXPECT_LE(RedOf(bands[i].Color), RedOf(bands[i - 1].Color)) << "band " << i;
    }
}

TEST(ColorChoice, GradientOfExactly256PixelsUsesOnePixelBands) {
    const std::vector<TGradientBand> bands = GradientBands(256, clWhite, clBlack);
    ASSERT_EQ(bands.size(), 255u);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].From, static_cast<int>(i)) << "band " << i;
        EXPECT_EQ(bands[i].To, static_cast<int>(i) + 1) << "band " << i;
    }
    EXPECT_EQ(bands.front().Color, clWhite);
    EXPECT_EQ(bands.back().Color, RgbColor(1, 1, 1));
}

} // namespace
} // namespace mirla
