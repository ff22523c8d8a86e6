#include "plotlib/core/VtChartData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirla {
namespace {

TVtChartData Grid(int rows, int columns) {
    TVtChartData chart;
    chart.SetRowCount(rows);
    chart.SetColumnCount(columns);
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column)
            chart.SetCell(row, column, row * 10 + column);
    return chart;
}

TEST(VtChartData, CurrentCellStaysWithinTheCounts) {
    TVtChartData chart;
    EXPECT_EQ(chart.Row(), 0);
    EXPECT_FALSE(chart.SetData("1"));
    chart.SetRowCount(3);
    chart.SetColumnCount(2);
    EXPECT_EQ(chart.Row(), 1);
    chart.SetRow(9);
    chart.SetColumn(-4);
    EXPECT_EQ(chart.Row(), 3);
    EXPECT_EQ(chart.Column(), 1);
    chart.SetRowCount(2);
    EXPECT_EQ(chart.Row(), 2);
}

TEST(VtChartData, ResizingKeepsTheCellsOfBothGrids) {
    TVtChartData chart = Grid(2, 2);
    chart.SetColumnCount(4);
    chart.SetRowCount(3);
    EXPECT_EQ(chart.Cell(2, 2), 22.0);
    EXPECT_EQ(chart.Cell(1, 3), std::nullopt);
    EXPECT_EQ(chart.Cell(3, 1), std::nullopt);
    chart.SetColumnCount(1);
    EXPECT_EQ(chart.Cell(2, 1), 21.0);
    EXPECT_EQ(chart.Cell(2, 2), std::nullopt);
}

TEST(VtChartData, LabelsAndDataFollowTheCurrentCell) {
    TVtChartData chart = Grid(2, 3);
    chart.SetRow(2);
    chart.SetColumn(3);
    chart.SetRowLabel("-5");
    chart.SetColumnLabel("0.25");
    EXPECT_EQ(chart.RowLabelAt(2), "-5");
    EXPECT_EQ(chart.ColumnLabelAt(3), "0.25");
    EXPECT_EQ(chart.RowLabelAt(1), "");
    EXPECT_EQ(chart.Data(), "23");
}

TEST(VtChartData, DataReadsAndWritesNumbersAsText) {
    struct TCase {
        std::string Text;
        bool Accepted;
        std::string Shown;
    };
    const std::vector<TCase> cases = {
        {"0.1", true, "0.1"},   {"-2.5e-300", true, "-2.5e-300"},
        {"+7", true, "7"},      {"", true, ""},
        {"1,5", false, "99"},   {"abc", false, "99"},
        {"1e999", false, "99"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TVtChartData chart = Grid(1, 1);
        chart.SetCell(1, 1, 99);
        EXPECT_EQ(chart.SetData(c.Text), c.Accepted);
        EXPECT_EQ(chart.Data(), c.Shown);
    }
}

TEST(VtChartData, TabTextRoundTripsTheGrid) {
    TVtChartData chart = Grid(2, 2);
    chart.SetRow(1);
    chart.SetRowLabel("-1.5");
    chart.SetColumnLabel("Y 1");
    chart.ClearCell(2, 1);
    const std::string text = chart.TabText();
    EXPECT_EQ(text, "\tY 1\t\n-1.5\t11\t12\n\t\t22\n");
    TVtChartData copy;
    ASSERT_TRUE(copy.SetTabText(text));
    EXPECT_EQ(copy.TabText(), text);
    EXPECT_EQ(copy.RowCount(), 2);
    EXPECT_EQ(copy.ColumnCount(), 2);
    EXPECT_EQ(copy.Cell(2, 1), std::nullopt);
}

TEST(VtChartData, RefusedTabTextChangesNothing) {
    for (const std::string text : {"", "\ta\n", "\ta\n1\tx\n", "\ta\n1\t2\t3\n"}) {
        SCOPED_TRACE(text);
        TVtChartData chart = Grid(1, 1);
        EXPECT_FALSE(chart.SetTabText(text));
        EXPECT_EQ(chart.TabText(), "\t\n\t11\n");
    }
}

TEST(VtChartData, RotationsTurnAndWrapTheElevation) {
    struct TCase {
        const char* Name;
        void (TVtChartData::*Rotate)();
        float Elevation;
        float NewRotation;
        float NewElevation;
    };
    const std::vector<TCase> cases = {
        {"left", &TVtChartData::RotateLeft, 30, 35, 30},
        {"right", &TVtChartData::RotateRight, 30, 25, 30},
        {"down", &TVtChartData::RotateDown, 85, 30, 90},
        {"down past 90", &TVtChartData::RotateDown, 90, 30, 0},
        {"up", &TVtChartData::RotateUp, 5, 30, 0},
        {"up from 0", &TVtChartData::RotateUp, 0, 30, 90},
        {"up from 3", &TVtChartData::RotateUp, 3, 30, 90},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVtChartData chart;
        chart.Rotation = 30;
        chart.Elevation = c.Elevation;
        (chart.*c.Rotate)();
        EXPECT_EQ(chart.DrawMode, 1);
        EXPECT_EQ(chart.Rotation, c.NewRotation);
        EXPECT_EQ(chart.Elevation, c.NewElevation);
    }
}

TEST(VtChartData, GridToggleSwitchesBetweenNoneAndSolid) {
    TVtChartData chart;
    chart.ToggleGrid(2);
    EXPECT_EQ(chart.Axes[2].Grid, TGridStyle::None);
    EXPECT_EQ(chart.Axes[1].Grid, TGridStyle::Solid);
    chart.ToggleGrid(2);
    EXPECT_EQ(chart.Axes[2].Grid, TGridStyle::Solid);
}

TEST(VtChartData, ColoursSplitIntoRedGreenAndBlue) {
    EXPECT_EQ(RgbOfColor(16776960), (TRgb{0, 255, 255}));
    EXPECT_EQ(RgbOfColor(0x123456), (TRgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(ColorOfRgb({0x56, 0x34, 0x12}), 0x123456);
}

} // namespace
} // namespace mirla
