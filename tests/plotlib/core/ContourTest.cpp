#include "plotlib/core/ColorScale.h"
#include "plotlib/core/ContourGrid.h"
#include "plotlib/core/ContourTracing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace mirla;

namespace {

constexpr double M = MissingValue;

/// One cell from (0, 0) to (1, 1) with corner values z1 (0, 0), z2 (1, 0), z3 (1, 1), z4 (0, 1).
TContourGrid Cell(double z1, double z2, double z3, double z4) {
    return TContourGrid({0, 1}, {0, 1}, {z1, z4, z2, z3});
}

std::vector<TContourSegment> Trace(const TContourGrid& grid, double level) {
    std::vector<TContourSegment> segments;
    TraceLevel(grid, level, segments);
    return segments;
}

void ExpectPoint(const TContourPoint& point, double x, double y, const std::string& where) {
    EXPECT_NEAR(point.X, x, 1e-12) << where;
    EXPECT_NEAR(point.Y, y, 1e-12) << where;
}

} // namespace

TEST(ContourTracing, OneCellGivesOneLineThroughItsTriangles) {
    const std::vector<TContourLine> lines = TraceContours(Cell(0, 1, 1, 0), {0.25});
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<TContourPoint>& p = lines[0].Points;
    ASSERT_EQ(p.size(), 4u);
    ExpectPoint(p[0], 0.25, 0, "quarter of z1-z2");
    ExpectPoint(p[1], 0.25, 0.25, "middle of z1-centre");
    ExpectPoint(p[2], 0.25, 0.75, "middle of z4-centre");
    ExpectPoint(p[3], 0.25, 1, "three quarters of z3-z4");
}

TEST(ContourTracing, EachTriangleCaseGivesItsSegments) {
    struct TCase {
        const char* Name;
        double Z[4];
        double Level;
        std::size_t Segments;
        TContourPoint A; ///< first point of the first segment
        TContourPoint B;
    };
    const TCase cases[] = {
        {"corner edge on the level", {1, 1, 3, 3}, 1, 1, {0, 0}, {1, 0}},
        {"corner and centre on the level", {0, 2, 2, 0}, 1, 2, {0.5, 0}, {0.5, 0.5}},
        {"crossing two edges", {0, 0, 4, 4}, 1, 3, {0.75, 0.25}, {0.25, 0.25}},
        {"all above", {2, 2, 3, 3}, 1, 0, {}, {}},
        {"all on the level", {1, 1, 1, 1}, 1, 0, {}, {}},
    };
    for (const TCase& c : cases) {
        const std::vector<TContourSegment> segments = Trace(Cell(c.Z[0], c.Z[1], c.Z[2], c.Z[3]), c.Level);
        ASSERT_EQ(segments.size(), c.Segments) << c.Name;
        if (!segments.empty()) {
            ExpectPoint(segments[0].A, c.A.X, c.A.Y, c.Name);
            ExpectPoint(segments[0].B, c.B.X, c.B.Y, c.Name);
        }
    }
}

TEST(ContourTracing, MissingCornersAreRepairedOrTheCellSkipped) {
    struct TCase {
        const char* Name;
        double Missing[4];
        double Repaired[4]; ///< all zero: the cell is skipped
    };
    const TCase cases[] = {
        {"one corner: mean of its neighbours", {M, 2, 4, 0}, {1, 2, 4, 0}},
        {"two lower corners: copies of the upper", {0, 4, M, -M}, {0, 4, 4, 0}},
        {"left corners present: copied right", {0, M, -M, 4}, {0, 0, 4, 4}},
        {"upper left corner: mean of its neighbours", {0, 2, 4, M}, {0, 2, 4, 2}},
        {"opposite corners missing", {M, 2, M, 0}, {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        const auto& r = c.Repaired;
        const std::vector<TContourSegment> got =
            Trace(Cell(c.Missing[0], c.Missing[1], c.Missing[2], c.Missing[3]), 1);
        const std::vector<TContourSegment> want = Trace(Cell(r[0], r[1], r[2], r[3]), 1);
        ASSERT_EQ(got.size(), want.size()) << c.Name;
        for (std::size_t k = 0; k < got.size(); ++k) {
            ExpectPoint(got[k].A, want[k].A.X, want[k].A.Y, c.Name);
            ExpectPoint(got[k].B, want[k].B.X, want[k].B.Y, c.Name);
        }
    }
}

TEST(ContourTracing, ALevelAlongAGridLineGivesOneLine) {
    // Z = X on three columns: level 1 runs along the middle column, shared by four cells.
    const TContourGrid grid({0, 1, 2}, {0, 1, 2}, {0, 0, 0, 1, 1, 1, 2, 2, 2});
    const std::vector<TContourLine> lines = TraceContours(grid, {1});
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].Points.size(), 3u);
    ExpectPoint(lines[0].Start(), 1, 0, "start");
    ExpectPoint(lines[0].End(), 1, 2, "end");
}

TEST(ContourTracing, ASegmentBridgingTwoLinesJoinsThem) {
    TContourJoiner joiner(1e-3);
    joiner.Add(1, {{0, 0}, {1, 0}, 5});
    joiner.Add(1, {{2, 0}, {3, 0}, 1});
    joiner.Add(1, {{1, 0}, {2, 1e-6}, 3});
    joiner.Add(2, {{5, 5}, {6, 6}, 0});
    const std::vector<TContourLine> lines = joiner.TakeLines();
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].Points.size(), 4u);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(lines[0].Points[static_cast<std::size_t>(k)].X, k, 1e-12) << k;
    EXPECT_EQ(lines[0].Flattest.Gradient, 1);
    EXPECT_EQ(lines[1].Level, 2);
}

TEST(ContourTracing, LinesOfASmoothMapCloseAndKeepTheirLevel) {
    // A cone: each level is one closed ring around the centre.
    std::vector<double> x, z;
    for (int i = 0; i <= 40; ++i)
        x.push_back(-2 + i * 0.1);
    for (double xi : x)
        for (double yj : x)
            z.push_back(std::hypot(xi, yj));
    const std::vector<TContourLine> lines = TraceContours(TContourGrid(x, x, z), {0.5, 1.5});
    ASSERT_EQ(lines.size(), 2u);
    for (const TContourLine& line : lines) {
        EXPECT_NEAR(line.Start().X, line.End().X, 1e-5);
        EXPECT_NEAR(line.Start().Y, line.End().Y, 1e-5);
        for (const TContourPoint& p : line.Points)
            EXPECT_NEAR(std::hypot(p.X, p.Y), line.Level, 0.02);
    }
}

TEST(ContourLevels, FollowCountLimitsStepAndUserLevels) {
    struct TCase {
        const char* Name;
        TLevelOptions Options;
        double DataMin;
        double DataMax;
        std::vector<double> Levels;
    };
    TLevelOptions fixed;
    fixed.Count = 4;
    fixed.FixedMin = fixed.FixedMax = true;
    fixed.MinLimit = 2;
    fixed.MaxLimit = 6;
    TLevelOptions stepped;
    stepped.Count = 3;
    stepped.UserStep = "0.25";
    TLevelOptions user;
    user.Automatic = false;
    user.UserLevelsOn = true;
    user.UserLevels = {"0.5", "x", "-1e-3"};
    TLevelOptions one;
    one.Count = 1;
    const TCase cases[] = {
        {"ten over 0..1", {}, 0, 1, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}},
        {"fixed limits", fixed, 0, 10, {2, 3, 4, 5}},
        {"user step", stepped, 1, 9, {1, 1.25, 1.5}},
        {"user levels only", user, 0, 1, {0.5, -1e-3}},
        {"one level", one, 0, 4, {0}},
        {"flat data", {}, 3, 3, {}},
    };
    for (const TCase& c : cases) {
        const std::vector<double> levels = ContourLevels(c.Options, c.DataMin, c.DataMax);
        ASSERT_EQ(levels.size(), c.Levels.size()) << c.Name;
        for (std::size_t k = 0; k < levels.size(); ++k)
            EXPECT_NEAR(levels[k], c.Levels[k], 1e-12) << c.Name << " level " << k;
    }
}

TEST(ContourLabels, TextsFollowTheDigits) {
    struct TCase {
        double Value;
        int Digits;
        const char* Text;
    };
    const TCase cases[] = {
        {0.00123, 2, "1.23E-3"}, {0.0001236, 2, "1.24E-4"}, {0.00999, 1, "10.0E-3"},
        {12.5, 2, "12.50"},      {25000, 2, "25000"},       {123456789, 2, "1.23457E+08"},
        {-0.125, 2, "-0.13"},    {-9.996, 2, "-10.00"},     {0, 2, "0.0"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ContourLabelText(c.Value, c.Digits), c.Text) << c.Value;
}

TEST(ContourLabels, SitOnTheFlattestSegmentAtItsAngle) {
    EXPECT_EQ(ContourLabelAngle({1, 0}, {1, 5}), -90);
    EXPECT_NEAR(ContourLabelAngle({0, 0}, {2, 2}), 45, 1e-12);
    std::vector<TContourLine> lines(2);
    lines[0].Level = 0;
    lines[1].Level = 0.5;
    lines[1].Flattest = {{0, 1}, {1, 0}, 0};
    PlaceLabels(lines, 2);
    EXPECT_FALSE(lines[0].Label);
    ASSERT_TRUE(lines[1].Label);
    EXPECT_EQ(lines[1].Label->Text, "0.50");
    EXPECT_NEAR(lines[1].Label->Angle, -45, 1e-12);
}

TEST(ColorScale, BreakpointsMapValuesToPaletteIndices) {
    const TColorScale scale(0, 7, false);
    const TColorScale fixed(0, 7, true);
    struct TCase {
        const TColorScale* Scale;
        double Value;
        int Index;
    };
    const TCase cases[] = {
        {&scale, 7, 254}, {&scale, 0, 9},   {&scale, 6.5, 237}, {&scale, 1, 44},  {&scale, 7.5, -1},
        {&scale, -1, 9},  {&fixed, -1, -1}, {&scale, M, -2},    {&scale, -M, -3},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Scale->Index(c.Value), c.Index) << c.Value;
    EXPECT_EQ(TColorScale(2, 2, false).Index(2), 254);
}

TEST(ColorScale, PalettesGiveTheirColours) {
    struct TCase {
        int Palette;
        int Index;
        TColor Color;
    };
    const TCase cases[] = {
        {0, 9, RgbColor(60, 60, 207)},
        {0, 254, RgbColor(185, 60, 60)},
        {0, 100, RgbColor(60, 240, 180)},
        {0, 150, RgbColor(100, 240, 60)},
        {0, 200, RgbColor(255, 180, 60)},
        {1, 100, RgbColor(155, 155, 155)},
        {2, 100, RgbColor(255, 155, 155)},
        {3, 100, RgbColor(155, 155, 255)},
        {4, 100, RgbColor(255, 255, 155)},
        {5, 100, RgbColor(155, 255, 155)},
        {6, 100, RgbColor(155, 255, 255)},
        {7, 100, RgbColor(255, 155, 255)},
        {3, -2, 8421377},
        {3, -3, 32897},
        {0, -1, clWhite},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PaletteColor(c.Palette, c.Index), c.Color) << c.Palette << " " << c.Index;
}

TEST(ContourGrid, BilinearValuesAndRange) {
    const TContourGrid grid({0, 1, 3}, {0, 2}, {0, 2, 2, 4, 3, M});
    EXPECT_EQ(grid.DataMin(), 0);
    EXPECT_EQ(grid.DataMax(), 4);
    EXPECT_DOUBLE_EQ(grid.ValueAt(0.5, 1), 2);
    EXPECT_DOUBLE_EQ(grid.ValueAt(0, 0), 0);
    EXPECT_EQ(grid.ValueAt(2, 1), M);
    EXPECT_EQ(grid.ValueAt(3.5, 1), M);
    EXPECT_EQ(TContourGrid({0, 1}, {0, 1}, {-M, 1, 1, 1}).ValueAt(0.5, 0.5), -M);
    // Per-node Y: the second column is shifted up by one.
    const TContourGrid nodes({0, 1}, 2, {0, 2, 1, 3}, {0, 2, 0, 2});
    EXPECT_DOUBLE_EQ(nodes.ValueAt(1, 2), 1);
    EXPECT_EQ(nodes.Extent().YMax, 3);
}
