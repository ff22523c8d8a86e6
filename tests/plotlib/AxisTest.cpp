#include "plotlib/Axis.h"
#include "plotlib/Graph.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

struct TTickCase {
    const char* Name;
    double Min;
    double Max;
    int Count;
    double Step;
    std::vector<double> Majors;
    std::vector<std::string> Labels;
};

std::vector<double> MajorValues(const TAxis& axis) {
    std::vector<double> values;
    for (const TAxis::TTick& tick : axis.TickValues())
        if (tick.Major)
            values.push_back(tick.Value);
    return values;
}

std::vector<std::string> Labels(const TAxis& axis) {
    std::vector<std::string> labels;
    for (const TAxis::TTick& tick : axis.TickValues())
        if (tick.Labelled)
            labels.push_back(axis.LabelText(tick.Value));
    return labels;
}

void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected, const char* name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << name << " value " << i;
}

class AxisTicks : public testing::TestWithParam<TTickCase> {};

TEST_P(AxisTicks, LinearTicksMajorsAndLabels) {
    const TTickCase& c = GetParam();
    TGraph graph;
    TAxis& axis = graph.XAxis();
    axis.ComputeTicks(c.Min, c.Max);
    const std::vector<TAxis::TTick> ticks = axis.TickValues();
    ASSERT_EQ(static_cast<int>(ticks.size()), c.Count) << c.Name;
    EXPECT_NEAR(ticks[1].Value - ticks[0].Value, c.Step, 1e-12) << c.Name;
    ExpectValues(MajorValues(axis), c.Majors, c.Name);
    EXPECT_EQ(Labels(axis), c.Labels) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, AxisTicks,
    testing::Values(
        TTickCase{"0..1", 0, 1, 11, 0.1, {0, 0.5, 1}, {"0", "0.5", "1"}},
        TTickCase{"0..7", 0, 7, 15, 0.5, {0, 2, 4, 6}, {"0", "2", "4", "6"}},
        TTickCase{"0..3", 0, 3, 16, 0.2, {0, 1, 2, 3}, {"0", "1", "2", "3"}},
        TTickCase{
            "0..0.0035", 0, 0.0035, 19, 0.0002, {0, 0.001, 0.002, 0.003}, {"0", "0.001", "0.002", "0.003"}},
        TTickCase{"swapped 7..0", 7, 0, 15, 0.5, {0, 2, 4, 6}, {"0", "2", "4", "6"}}),
    [](const testing::TestParamInfo<TTickCase>& info) { return "Case" + std::to_string(info.index); });

TEST(AxisTickValues, TickFrequencyLabelsEveryNthMajor) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    axis.TickFrequency = 2;
    axis.ComputeTicks(0, 7);
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"0", "4"}));
    ExpectValues(MajorValues(axis), {0, 2, 4, 6}, "majors stay");
}

TEST(AxisTickValues, IntegerLabellingStartsBelowTheWorldMinimum) {
    TGraph graph;
    graph.SetViews({{0, 0, 4, 1}, {0, 0, 1, 1}});
    TAxis& axis = graph.XAxis();
    axis.LabelStyle = asInteger;
    axis.ComputeTicks(0, 4);
    ExpectValues(MajorValues(axis), {0, 1, 2, 3, 4, 5}, "0..4");
    // rnd(0.6 - 0.5) = 0 and rnd(-0.7 - 0.5) = -1.
    graph.SetViews({{0.6, 0, 4, 1}, {0, 0, 1, 1}});
    EXPECT_DOUBLE_EQ(axis.TickValues().front().Value, 0);
    graph.SetViews({{-0.7, 0, 4, 1}, {0, 0, 1, 1}});
    EXPECT_DOUBLE_EQ(axis.TickValues().front().Value, -1);
}

TEST(AxisTickValues, LogarithmicAxisLabelsDecades) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    axis.SetLog(true);
    graph.SetViews({{0, 0, 3, 1}, {0, 0, 1, 1}}); // 1 to 1000
    axis.ComputeTicks(0, 3);
    const std::vector<TAxis::TTick> ticks = axis.TickValues();
    ASSERT_EQ(ticks.size(), 28u) << "1..9, 10..90, 100..900 and 1000";
    EXPECT_NEAR(ticks[1].Value, std::log10(2.0), 1e-12);
    EXPECT_NEAR(ticks[10].Value, std::log10(20.0), 1e-12);
    ExpectValues(MajorValues(axis), {0, 1, 2, 3}, "decades");
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"0", "1", "2", "3"})) << "exponents of 10";
}

TEST(AxisTickValues, ComputeTicksReturnsTheLimitTheGraphAdopts) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    EXPECT_DOUBLE_EQ(axis.ComputeTicks(0, 0.30004), 0.3);
    axis.AutoMax = false;
    EXPECT_DOUBLE_EQ(axis.ComputeTicks(0, 0.30004), 0.30004);
    axis.AutoMax = true;
    axis.SetLog(true);
    EXPECT_DOUBLE_EQ(axis.ComputeTicks(0, 2.30004), 2.30004) << "logarithmic limits stay";
}

// ---- label texts

TEST(AxisLabels, RoundingResidueNextToZeroReadsZero) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    axis.ComputeTicks(0, 7);
    EXPECT_EQ(axis.LabelText(1e-17), "0.0");
    EXPECT_EQ(axis.LabelText(-2), "-2");
}

TEST(AxisLabels, DateAxisShowsTheDayAndTheTimeOfFractions) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    axis.LabelStyle = asDate;
    axis.ComputeTicks(45000, 45010);
    const QLocale locale;
    // Day 45000 after 1899-12-30 is 2023-03-15.
    EXPECT_EQ(axis.LabelText(45000), locale.toString(QDate(2023, 3, 15), QLocale::ShortFormat).toStdString());
    EXPECT_EQ(
        axis.LabelText(45000.5),
        locale.toString(QDateTime(QDate(2023, 3, 15), QTime(12, 0)), QLocale::ShortFormat).toStdString());
    EXPECT_EQ(
        axis.LabelText(0.25),
        locale.toString(QDateTime(QDate(1899, 12, 30), QTime(6, 0)), QLocale::ShortFormat).toStdString());
}

// ---- scale and limits

TEST(AxisSettings, SetLogRunsCallbacksAroundTheChangeAndMovesAnInsideLegend) {
    TGraph graph;
    TAxis& axis = graph.YAxis();
    graph.Legend().Style = lsInside;
    std::vector<std::string> events;
    axis.BeforeLogChange = [&](TGraph& g, bool log) {
        EXPECT_EQ(&g, &graph);
        EXPECT_TRUE(log);
        EXPECT_FALSE(axis.Log()) << "not switched yet";
        events.push_back("before");
    };
    axis.AfterLogChange = [&](TGraph&) {
        EXPECT_TRUE(axis.Log());
        events.push_back("after");
    };
    axis.SetLog(true);
    axis.SetLog(true);
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after"})) << "an unchanged value runs nothing";
    EXPECT_EQ(graph.Legend().Style, lsRight);
}

TEST(AxisSettings, SecondAxisKeepsAZoomedViewWhenItsScaleSwitches) {
    TGraph graph;
    graph.SetViews({{0, 0, 1, 1}, {1, 10, 100, 1000}});
    graph.YAxis2().SetLog(true);
    EXPECT_DOUBLE_EQ(graph.World2().YMin, 1);
    EXPECT_DOUBLE_EQ(graph.World2().YMax, 3);
    graph.YAxis2().SetLog(false);
    EXPECT_NEAR(graph.World2().YMin, 10, 1e-9);
    EXPECT_NEAR(graph.World2().YMax, 1000, 1e-9);
    EXPECT_DOUBLE_EQ(graph.World2().XMin, 1) << "the other axis of the pair stays";
}

TEST(AxisSettings, LimitsAreStoredOnceSet) {
    TGraph graph;
    TAxis& axis = graph.XAxis();
    EXPECT_EQ(axis.Minimum(), MissingValue);
    EXPECT_FALSE(axis.StoreLimits);
    axis.SetMax(5);
    EXPECT_TRUE(axis.StoreLimits);
    EXPECT_EQ(axis.Maximum(), 5);
    axis.SetMax(MissingValue);
    EXPECT_FALSE(axis.StoreLimits);
}

TEST(AxisSettings, SecondAxesStartHiddenWithVerticalRightLabels) {
    TGraph graph;
    EXPECT_TRUE(graph.XAxis().Visible);
    EXPECT_FALSE(graph.XAxis2().Visible);
    EXPECT_FALSE(graph.YAxis2().Visible);
    EXPECT_EQ(graph.YAxis2().LabelDirection, adVertical);
    EXPECT_EQ(graph.YAxis().LabelDirection, adHorizontal);
}

// ---- reserved space and drawing

TEST(AxisSpace, ReservationFollowsNameLabelsAndTicks) {
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    TGraph graph;
    TAxis& y = graph.YAxis();
    const QFontMetricsF labels(ToQFont(y.Font), &image);
    const int plain = y.ReservedSpace(painter);
    EXPECT_GE(plain, labels.horizontalAdvance("3.333333E200")) << "room for the widest label";
    y.Name = "Y";
    const QFontMetricsF names(ToQFont(y.NameFont), &image);
    EXPECT_GE(y.ReservedSpace(painter) - plain, std::floor(1.2 * names.height()));
    y.Ticks.Direction = tdIN;
    EXPECT_LT(y.ReservedSpace(painter), plain + 1.2 * names.height()) << "inward ticks take no room";
    y.Location = alInside;
    y.Name.clear();
    EXPECT_EQ(y.ReservedSpace(painter), 0) << "an inside axis keeps its labels inside";
    y.Visible = false;
    y.Location = alOutside;
    EXPECT_EQ(y.ReservedSpace(painter), 0);

    TAxis& x = graph.XAxis();
    EXPECT_GE(x.ReservedSpace(painter), std::floor(1.1 * labels.height()));
    EXPECT_LT(x.ReservedSpace(painter), labels.horizontalAdvance("3.333333E200")) << "horizontal labels";
}

QImage DrawGraph(TGraph& graph) {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    graph.Draw(painter, image.rect());
    return image;
}

/// Whether the pixel at column x (or the next one left or right: a tick may fall between two) and row y is
/// black.
bool IsBlack(const QImage& image, double x, double y) {
    for (int dx = -1; dx <= 1; ++dx)
        if (image.pixelColor(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y))) ==
            QColor(Qt::black))
            return true;
    return false;
}

TEST(AxisDrawing, MajorTicksAreLongerThanMinorTicks) {
    TGraph graph;
    const QImage image = DrawGraph(graph);
    const int bottom = graph.PlotArea().bottom();
    const double major = graph.XToScreen(0.5);
    const double minor = graph.XToScreen(0.1);
    EXPECT_TRUE(IsBlack(image, major, bottom + 1));
    EXPECT_TRUE(IsBlack(image, major, bottom + 3));
    EXPECT_TRUE(IsBlack(image, minor, bottom + 1));
    EXPECT_FALSE(IsBlack(image, minor, bottom + 3));
    EXPECT_FALSE(IsBlack(image, minor, bottom - 2)) << "outward ticks stay out of the plot";
}

TEST(AxisDrawing, InwardTicksPointIntoThePlot) {
    TGraph graph;
    graph.XAxis().Ticks.Direction = tdIN;
    const QImage image = DrawGraph(graph);
    const int bottom = graph.PlotArea().bottom();
    EXPECT_TRUE(IsBlack(image, graph.XToScreen(0.5), bottom - 3));
    EXPECT_FALSE(IsBlack(image, graph.XToScreen(0.5), bottom + 2));
}

TEST(AxisDrawing, UserLabelsGetMajorTicks) {
    TGraph graph;
    graph.XAxis().RegularLabelsVisible = false;
    graph.XAxis().UserLabels.push_back({"here", 0.3});
    const QImage image = DrawGraph(graph);
    EXPECT_TRUE(IsBlack(image, graph.XToScreen(0.3), graph.PlotArea().bottom() + 3));
}

TEST(AxisDrawing, LabelsAppearUnderTheAxis) {
    TGraph graph;
    const QImage image = DrawGraph(graph);
    const QRect area = graph.PlotArea();
    // The label "0.5" is centred on its tick below the tick marks.
    int dark = 0;
    for (int y = area.bottom() + 5; y < area.bottom() + 25; ++y)
        for (int x = static_cast<int>(graph.XToScreen(0.5)) - 10; x <= graph.XToScreen(0.5) + 10; ++x)
            dark += image.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 5);
}

} // namespace
} // namespace mirla
