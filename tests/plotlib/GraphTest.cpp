#include "plotlib/Graph.h"
#include "plotlib/Series.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mirla {
namespace {

constexpr int ImageWidth = 600;
constexpr int ImageHeight = 400;
/// A colour no part of a default drawing uses, to see what a probe painted.
constexpr TColor ProbeColor = 0x3060A0;

/// A layer that records its drawings and reports a fixed data extent.
class TProbeLayer : public TLayer {
public:
    TProbeLayer(TGraph& graph, const std::string& name, TExtent extent = {})
        : TLayer(graph), m_extent(extent) {
        SetName(name);
    }
    int Draws = 0;
    std::function<void(QPainter&)> Paint;
    void Draw(QPainter& painter) override {
        ++Draws;
        if (Paint)
            Paint(painter);
    }
    TExtent GetExtent() const override { return m_extent; }

private:
    TExtent m_extent;
};

TExtent ExtentOf(double xMin, double yMin, double xMax, double yMax) {
    TExtent extent;
    extent.Include(xMin, yMin);
    extent.Include(xMax, yMax);
    return extent;
}

TProbeLayer& AddProbe(TGraph& graph, const std::string& name, TExtent extent = {}) {
    auto layer = std::make_unique<TProbeLayer>(graph, name, extent);
    TProbeLayer& probe = *layer;
    graph.AddLayer(std::move(layer));
    return probe;
}

TSeries& AddSeries(TGraph& graph, int style, TColor color,
                   const std::vector<std::pair<double, double>>& points) {
    auto series = std::make_unique<TSeries>(graph, "s", style, color);
    for (const auto& [x, y] : points)
        series->AddPoint(color, "", x, y);
    TSeries& result = *series;
    graph.AddLayer(std::move(series));
    return result;
}

QImage DrawGraph(TGraph& graph, int width = ImageWidth, int height = ImageHeight,
                 TDrawTarget target = TDrawTarget::Screen) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    graph.Draw(painter, image.rect(), target);
    return image;
}

bool PixelIs(const QImage& image, double x, double y, TColor color) {
    return image.pixelColor(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))) ==
           ToQColor(color);
}

/// Whether the pixel at (x, y) or one of its eight neighbours has `color`.
bool NearPixelIs(const QImage& image, double x, double y, TColor color) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (PixelIs(image, x + dx, y + dy, color))
                return true;
    return false;
}

int CountPixels(const QImage& image, const QRect& area, TColor color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == ToQColor(color);
    return count;
}

// ---- mapping

TEST(GraphMapping, LinearWorldEndsLandOnThePlotAreaEdges) {
    TGraph graph;
    DrawGraph(graph);
    graph.SetViews({{-5, 10, 15, 30}, {0, 0, 1, 1}});
    const QRect area = graph.PlotArea();
    EXPECT_NEAR(graph.XToScreen(-5), area.left(), 1e-9);
    EXPECT_NEAR(graph.XToScreen(15), area.right(), 1e-9);
    EXPECT_NEAR(graph.XToScreen(5), (area.left() + area.right()) / 2.0, 1e-9);
    EXPECT_NEAR(graph.YToScreen(10), area.bottom(), 1e-9);
    EXPECT_NEAR(graph.YToScreen(30), area.top(), 1e-9);
    EXPECT_NEAR(graph.ScreenToX(area.right()), 15, 1e-9);
    EXPECT_NEAR(graph.ScreenToY(area.top()), 30, 1e-9);
}

TEST(GraphMapping, LogarithmicAxisMapsZeroToTheMinimumLogValue) {
    TGraph graph;
    graph.YAxis().SetLog(true);
    DrawGraph(graph);
    graph.SetViews({{0, -10, 1, 2}, {0, 0, 1, 1}});
    // log10(1e-10) = -10: zero and negative values land on the lowest row the axis can show.
    EXPECT_DOUBLE_EQ(graph.DataYToScreen(0), graph.YToScreen(-10));
    EXPECT_NEAR(graph.DataYToScreen(0), graph.PlotArea().bottom(), 1e-9);
    EXPECT_DOUBLE_EQ(graph.DataYToScreen(-3), graph.YToScreen(-10));
    EXPECT_NEAR(graph.DataYToScreen(100), graph.PlotArea().top(), 1e-9);
    EXPECT_DOUBLE_EQ(graph.DataXToScreen(0.5), graph.XToScreen(0.5)) << "the linear X axis takes data as is";
}

TEST(GraphMapping, InvertedXAxisPutsTheSmallestXAtTheRightEdge) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddSeries(graph, ssLine, clRed, {{0, 0}, {1, 1}});
    graph.XAxis().Invert = true;
    DrawGraph(graph);
    EXPECT_DOUBLE_EQ(graph.DataXToScreen(0), graph.PlotArea().right());
    EXPECT_DOUBLE_EQ(graph.DataXToScreen(1), graph.PlotArea().left());
    EXPECT_DOUBLE_EQ(graph.DataYToScreen(0), graph.PlotArea().bottom()) << "the Y axis is not inverted";
}

TEST(GraphMapping, SecondAxesUseTheirOwnWorldRectangle) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddSeries(graph, ssLine, clRed, {{0, 0}, {1, 1}});
    TSeries& second = AddSeries(graph, ssLine, clBlue, {{100, 20}, {200, 40}});
    second.SetUsesXAxis2(true);
    second.SetUsesYAxis2(true);
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), (TWorldRect{0, 0, 1, 1}));
    EXPECT_EQ(graph.World2(), (TWorldRect{100, 20, 200, 40}));
    graph.SetDrawingOnSecondAxes(true, true);
    EXPECT_DOUBLE_EQ(graph.XToScreen(100), graph.PlotArea().left());
    EXPECT_DOUBLE_EQ(graph.XToScreen(200), graph.PlotArea().right());
    EXPECT_DOUBLE_EQ(graph.YToScreen(40), graph.PlotArea().top());
    const TZoomPoint point = graph.WorldAt(graph.PlotArea().right(), graph.PlotArea().top());
    EXPECT_DOUBLE_EQ(point.X, 1);
    EXPECT_DOUBLE_EQ(point.Y, 1);
    EXPECT_DOUBLE_EQ(point.X2, 200);
    EXPECT_DOUBLE_EQ(point.Y2, 40);
}

// ---- world rectangles

TEST(GraphWorld, NoLayersGivesZeroToOneOnEveryAxis) {
    TGraph graph;
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), (TWorldRect{0, 0, 1, 1}));
    EXPECT_EQ(graph.World2(), (TWorldRect{0, 0, 1, 1}));
}

TEST(GraphWorld, ComesFromTheExtentsOfVisibleLayers) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddProbe(graph, "a", ExtentOf(2, -3, 5, 7));
    AddProbe(graph, "b", ExtentOf(3, -1, 6, 4));
    AddProbe(graph, "hidden", ExtentOf(-100, -100, 100, 100)).SetVisible(false);
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), (TWorldRect{2, -3, 6, 7}));
}

TEST(GraphWorld, FixedLimitsReplaceTheDataEnds) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddProbe(graph, "a", ExtentOf(2, 3, 5, 7));
    graph.XAxis().AutoMin = false;
    graph.XAxis().SetMin(-10);
    graph.YAxis().AutoMax = false;
    graph.YAxis().SetMax(20);
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), (TWorldRect{-10, 3, 5, 20}));
}

TEST(GraphWorld, AutomaticFlagOrMissingLimitUsesTheData) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddProbe(graph, "a", ExtentOf(2, 3, 5, 7));
    graph.XAxis().SetMin(-10);     // AutoMin still set
    graph.YAxis().AutoMin = false; // no limit stored
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), (TWorldRect{2, 3, 5, 7}));
}

TEST(GraphWorld, LogarithmicAxisKeepsFixedLimitsAndDataInDecades) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddProbe(graph, "a", ExtentOf(10, 1, 1000, 100));
    graph.XAxis().SetLog(true);
    graph.YAxis().SetLog(true);
    graph.YAxis().AutoMin = false;
    graph.YAxis().SetMin(0.01);
    DrawGraph(graph);
    EXPECT_DOUBLE_EQ(graph.World().XMin, 1);
    EXPECT_DOUBLE_EQ(graph.World().XMax, 3);
    EXPECT_DOUBLE_EQ(graph.World().YMin, -2);
    EXPECT_DOUBLE_EQ(graph.World().YMax, 2);
}

TEST(GraphWorld, OnePointIsWidenedToAMappableRange) {
    TGraph graph;
    graph.ClipMarkers = true;
    AddSeries(graph, ssPoints, clRed, {{3, 0}});
    DrawGraph(graph);
    // A point at 3 spans 3 -/+ 10 %; a point at 0 spans -1..1.
    EXPECT_NEAR(graph.World().XMin, 2.7, 1e-12);
    EXPECT_NEAR(graph.World().XMax, 3.3, 1e-12);
    EXPECT_NEAR(graph.World().YMin, -1, 1e-12);
    EXPECT_NEAR(graph.World().YMax, 1, 1e-12);
    EXPECT_TRUE(std::isfinite(graph.DataXToScreen(3)));
    EXPECT_NEAR(graph.DataXToScreen(3), (graph.PlotArea().left() + graph.PlotArea().right()) / 2.0, 1e-9);
}

TEST(GraphWorld, AutomaticMaximumTakesTheRoundedTickMaximum) {
    TGraph graph;
    graph.ClipMarkers = true;
    // Range 0.3: one shift to reach 3, so two label digits and the maximum rounded to three decimals.
    AddProbe(graph, "a", ExtentOf(0, 0, 0.30004, 1));
    DrawGraph(graph);
    EXPECT_DOUBLE_EQ(graph.World().XMax, 0.3);
}

TEST(GraphWorld, ZoomedViewStaysAsSet) {
    TGraph graph;
    AddSeries(graph, ssLineAndPoint, clRed, {{0, 0}, {10, 10}});
    DrawGraph(graph);
    const TZoomViews zoomed{{2, 3, 4, 5}, {0, 0, 1, 1}};
    graph.Zoom().Push(graph.Views());
    graph.SetViews(zoomed);
    DrawGraph(graph);
    EXPECT_EQ(graph.Views(), zoomed) << "neither data nor marker margin change a zoomed view";
}

TEST(GraphWorld, StackedBarsTakeTheirLowerEndFromTheBars) {
    struct TCase {
        TBarStyle Style;
        int Bars;
        bool AutoMinAfter;
    };
    for (const TCase& c : {TCase{bsStacked, 2, false}, TCase{bs100Stacked, 2, false},
                           TCase{bsClustered, 2, true}, TCase{bsStacked, 1, true}}) {
        TGraph graph;
        graph.BarStyle = c.Style;
        for (int i = 0; i < c.Bars; ++i)
            AddSeries(graph, ssBar, clRed, {{1, 2}, {2, 3}});
        DrawGraph(graph);
        const std::string name = "style " + std::to_string(c.Style) + ", " + std::to_string(c.Bars) + " bars";
        EXPECT_EQ(graph.YAxis().AutoMin, c.AutoMinAfter) << name;
        EXPECT_EQ(graph.YAxis2().AutoMin, c.AutoMinAfter) << name;
        EXPECT_TRUE(graph.XAxis().AutoMin) << name;
    }
}

// ---- marker margin

TEST(GraphMarkerMargin, WidensAutomaticEndsByTheMarkerSize) {
    TGraph graph;
    TSeries& series = AddSeries(graph, ssLineAndPoint, clRed, {{0, 0}, {1, 1}});
    series.SetMarkerSize(4);
    DrawGraph(graph);
    const QRect area = graph.PlotArea();
    // Each end moves out by round(unit * 4 * 1.6) + 1 pixels of the unwidened scale.
    const double pixels = std::round(graph.TextUnit() * 4 * 1.6) + 1;
    const double width = area.right() - area.left();
    const double expected = pixels / (1 + 2 * pixels / width);
    EXPECT_LT(graph.World().XMin, 0);
    EXPECT_GT(graph.World().XMax, 1);
    EXPECT_NEAR(graph.DataXToScreen(0) - area.left(), expected, 1e-6);
    EXPECT_NEAR(area.right() - graph.DataXToScreen(1), expected, 1e-6);
}

TEST(GraphMarkerMargin, FixedEndsStay) {
    TGraph graph;
    AddSeries(graph, ssLineAndPoint, clRed, {{0, 0}, {1, 1}});
    graph.XAxis().AutoMin = false;
    graph.XAxis().SetMin(0);
    DrawGraph(graph);
    EXPECT_EQ(graph.World().XMin, 0);
    EXPECT_GT(graph.World().XMax, 1);
}

TEST(GraphMarkerMargin, NoneWhenClipMarkersOrNoLayers) {
    TGraph clipped;
    clipped.ClipMarkers = true;
    AddSeries(clipped, ssLineAndPoint, clRed, {{0, 0}, {1, 1}});
    DrawGraph(clipped);
    EXPECT_EQ(clipped.World(), (TWorldRect{0, 0, 1, 1}));

    TGraph empty;
    DrawGraph(empty);
    EXPECT_EQ(empty.World(), (TWorldRect{0, 0, 1, 1}));
}

TEST(GraphMarkerMargin, DoesNotGrowWhileZoomModeKeepsTheView) {
    TGraph graph;
    AddSeries(graph, ssLineAndPoint, clRed, {{0, 0}, {1, 1}});
    DrawGraph(graph);
    const TWorldRect first = graph.World();
    graph.Zoom().Enabled = true;
    DrawGraph(graph);
    DrawGraph(graph);
    EXPECT_EQ(graph.World(), first);
}

// ---- colours, markers, 3-D look

TEST(GraphChoice, FreeColorAndFreeMarkerSkipWhatSeriesUse) {
    TGraph graph;
    EXPECT_EQ(graph.FreeColor(), clRed);
    EXPECT_EQ(graph.FreeMarker(), msRect);
    TSeries& first = AddSeries(graph, ssPoints, clRed, {});
    first.SetMarkerStyle(msRect);
    EXPECT_EQ(graph.FreeColor(), clBlue);
    EXPECT_EQ(graph.FreeMarker(), msCircle);
    AddProbe(graph, "not a series").SetColor(clBlue);
    EXPECT_EQ(graph.FreeColor(), clGreen) << "every layer's colour counts";
    EXPECT_EQ(graph.FreeMarker(), msCircle) << "only series have markers";
}

TEST(GraphChoice, FreeColorNeverReturnsThePlotColour) {
    TGraph graph;
    graph.Color = clRed;
    EXPECT_EQ(graph.FreeColor(), RgbColor(223, 0, 0));
}

TEST(GraphLook, View3DSwitchesTheAxesAndBack) {
    TGraph graph;
    graph.Frame.Width = 3;
    graph.SetView3D(50);
    EXPECT_DOUBLE_EQ(graph.View3D(), 50);
    for (const TAxis* axis : {&graph.XAxis(), &graph.YAxis()}) {
        EXPECT_EQ(axis->Ticks.Direction, tdIN) << axis->ComponentName();
        EXPECT_FALSE(axis->Ticks.MinorVisible) << axis->ComponentName();
        EXPECT_EQ(axis->Ticks.MajorLength, 3) << axis->ComponentName();
        EXPECT_FALSE(axis->MajorLineVisible) << axis->ComponentName();
    }
    DrawGraph(graph);
    EXPECT_GT(graph.Depth3D(), 0);
    graph.SetView3D(0);
    EXPECT_EQ(graph.Depth3D(), 0);
    for (const TAxis* axis : {&graph.XAxis(), &graph.YAxis(), &graph.XAxis2(), &graph.YAxis2()}) {
        EXPECT_EQ(axis->Ticks.Direction, tdOut) << axis->ComponentName();
        EXPECT_TRUE(axis->Ticks.MinorVisible) << axis->ComponentName();
        EXPECT_EQ(axis->Ticks.MajorLength, 4) << axis->ComponentName();
        EXPECT_EQ(axis->Ticks.MinorLength, 2) << axis->ComponentName();
        EXPECT_TRUE(axis->MajorLineVisible) << axis->ComponentName();
    }
}

TEST(GraphLook, DepthShrinksThePlotAreaForTheBackWall) {
    TGraph flat;
    DrawGraph(flat);
    TGraph deep;
    deep.SetView3D(20);
    DrawGraph(deep);
    EXPECT_EQ(deep.PlotArea().top() - flat.PlotArea().top(), deep.Depth3D());
    EXPECT_EQ(flat.PlotArea().right() - deep.PlotArea().right(), deep.Depth3D());
}

// ---- layers

TEST(GraphLayers, DeleteLayerRaisesOnDeleteSeriesBeforeUnlinking) {
    TGraph graph;
    TProbeLayer& probe = AddProbe(graph, "a");
    int calls = 0;
    graph.OnDeleteSeries = [&](TLayer& layer) {
        ++calls;
        EXPECT_EQ(&layer, &probe);
        EXPECT_EQ(graph.IndexOf(&layer), 0) << "still in the list while the handler runs";
    };
    EXPECT_EQ(graph.DeleteLayer(1), nullptr);
    EXPECT_EQ(graph.DeleteLayer(-1), nullptr);
    EXPECT_EQ(calls, 0);
    const std::unique_ptr<TLayer> unlinked = graph.DeleteLayer(0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(unlinked.get(), &probe);
    EXPECT_EQ(graph.LayerCount(), 0);
    EXPECT_EQ(graph.IndexOf(&probe), -1);
}

TEST(GraphLayers, DeletedLayerLeavesTheColourLegend) {
    TGraph graph;
    TProbeLayer& probe = AddProbe(graph, "map");
    graph.ColorLegend().Source = &probe;
    graph.DeleteLayer(0);
    EXPECT_EQ(graph.ColorLegend().Source, nullptr);
}

TEST(GraphLayers, ClearEmptiesLayersLegendAndUserLabels) {
    TGraph graph;
    TSeries& series = AddSeries(graph, ssLine, clRed, {{0, 0}});
    auto entry = std::make_unique<TLineLegend>(graph);
    series.AttachLegend(entry.get());
    graph.Legend().Add(std::move(entry));
    graph.XAxis().UserLabels.push_back({"a", 1});
    graph.YAxis().UserLabels.push_back({"b", 2});
    EXPECT_TRUE(graph.HasDataPoints());
    graph.Clear();
    EXPECT_EQ(graph.LayerCount(), 0);
    EXPECT_EQ(graph.Legend().Count(), 0);
    EXPECT_TRUE(graph.XAxis().UserLabels.empty());
    EXPECT_TRUE(graph.YAxis().UserLabels.empty());
    EXPECT_FALSE(graph.HasDataPoints());
}

TEST(GraphLayers, HasDataPointsLooksAtEveryLayer) {
    TGraph graph;
    EXPECT_FALSE(graph.HasDataPoints());
    AddSeries(graph, ssLine, clRed, {});
    EXPECT_FALSE(graph.HasDataPoints());
    AddSeries(graph, ssLine, clBlue, {{1, 2}});
    EXPECT_TRUE(graph.HasDataPoints());
}

// ---- drawing

TEST(GraphDrawing, SeriesAxisFrameAndBackgroundPixels) {
    TGraph graph;
    graph.Color = RgbColor(250, 240, 200);
    graph.BackColor = RgbColor(200, 220, 250);
    AddSeries(graph, ssLine, clRed, {{0, 0}, {1, 1}});
    const QImage image = DrawGraph(graph);
    const QRect area = graph.PlotArea();
    ASSERT_TRUE(QRect(0, 0, ImageWidth, ImageHeight).contains(area));
    for (double t : {0.2, 0.5, 0.8})
        EXPECT_TRUE(NearPixelIs(image, graph.DataXToScreen(t), graph.DataYToScreen(t), clRed))
            << "diagonal at " << t;
    EXPECT_TRUE(PixelIs(image, area.left() + area.width() / 3 + 1, area.bottom(), clBlack)) << "X axis line";
    EXPECT_TRUE(PixelIs(image, area.left(), area.top() + area.height() / 3 + 1, clBlack)) << "Y axis line";
    EXPECT_TRUE(PixelIs(image, graph.DataXToScreen(0.8), graph.DataYToScreen(0.2), graph.Color))
        << "plot area";
    EXPECT_TRUE(PixelIs(image, 1, 1, graph.BackColor)) << "surface";
    EXPECT_TRUE(PixelIs(image, ImageWidth - 2, ImageHeight / 2, graph.BackColor)) << "surface";
}

TEST(GraphDrawing, PrintingAndExportFillTheSurfaceWhite) {
    TGraph graph;
    graph.BackColor = RgbColor(200, 220, 250);
    EXPECT_TRUE(PixelIs(DrawGraph(graph, ImageWidth, ImageHeight, TDrawTarget::Export), 1, 1, clWhite));
    EXPECT_TRUE(PixelIs(DrawGraph(graph, ImageWidth, ImageHeight, TDrawTarget::Printer), 1, 1, clWhite));
    EXPECT_FALSE(graph.Printing()) << "the target is only set while drawing";
}

TEST(GraphDrawing, GridLinesOnlyWhenGridIsSet) {
    TGraph graph;
    graph.ClipMarkers = true;
    graph.XAxis().GridColor = RgbColor(0, 200, 0);
    AddSeries(graph, ssLine, clRed, {{0, 0}, {1, 1}});
    const auto gridNear = [&](double x) {
        const QImage image = DrawGraph(graph);
        return NearPixelIs(image, graph.DataXToScreen(x), graph.DataYToScreen(0.1), graph.XAxis().GridColor);
    };
    EXPECT_FALSE(gridNear(0.5));
    graph.XAxis().Grid = true;
    EXPECT_TRUE(gridNear(0.5)) << "a grid line at the labelled tick 0.5";
    EXPECT_FALSE(gridNear(0.3)) << "no grid line at the minor tick 0.3";
}

TEST(GraphDrawing, LayerDrawingIsClippedToThePlotArea) {
    TGraph graph;
    TProbeLayer& probe = AddProbe(graph, "flood");
    probe.Paint = [](QPainter& painter) {
        painter.fillRect(QRect(-1000, -1000, 5000, 5000), ToQColor(ProbeColor));
    };
    const QImage image = DrawGraph(graph);
    const QRect area = graph.PlotArea();
    EXPECT_EQ(probe.Draws, 1);
    EXPECT_TRUE(PixelIs(image, area.center().x(), area.center().y(), ProbeColor));
    EXPECT_EQ(CountPixels(image, QRect(0, 0, ImageWidth, area.top() - 1), ProbeColor), 0);
    EXPECT_EQ(CountPixels(image, QRect(area.right() + 2, 0, ImageWidth - area.right() - 2, ImageHeight),
                          ProbeColor),
              0);
}

TEST(GraphDrawing, InvisibleLayersAreSkippedAndOrderIsListOrder) {
    TGraph graph;
    std::vector<std::string> order;
    TProbeLayer& first = AddProbe(graph, "first");
    TProbeLayer& hidden = AddProbe(graph, "hidden");
    TProbeLayer& last = AddProbe(graph, "last");
    hidden.SetVisible(false);
    first.Paint = [&](QPainter&) { order.push_back("first"); };
    last.Paint = [&](QPainter&) { order.push_back("last"); };
    DrawGraph(graph);
    EXPECT_EQ(hidden.Draws, 0);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "last"}));
}

TEST(GraphDrawing, SecondAxisFlagsAreSetPerLayerAndClearedAfterwards) {
    TGraph graph;
    TProbeLayer& top = AddProbe(graph, "top");
    top.SetUsesXAxis2(true);
    bool sawSecondX = false;
    bool sawSecondY = true;
    top.Paint = [&](QPainter&) {
        sawSecondX = &graph.CurrentXAxis() == &graph.XAxis2();
        sawSecondY = &graph.CurrentYAxis() == &graph.YAxis2();
    };
    DrawGraph(graph);
    EXPECT_TRUE(sawSecondX);
    EXPECT_FALSE(sawSecondY);
    EXPECT_EQ(&graph.CurrentXAxis(), &graph.XAxis());
}

TEST(GraphDrawing, DrawingReenteredFromBeforeDrawDoesNothing) {
    TGraph graph;
    TProbeLayer& probe = AddProbe(graph, "a");
    int before = 0;
    QImage inner(100, 100, QImage::Format_RGB32);
    inner.fill(Qt::magenta);
    graph.BeforeDraw = [&](TGraph& g) {
        ++before;
        QPainter painter(&inner);
        g.Draw(painter, inner.rect());
    };
    DrawGraph(graph);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(probe.Draws, 1);
    EXPECT_EQ(CountPixels(inner, inner.rect(), FromQColor(QColor(Qt::magenta))), 100 * 100);
    DrawGraph(graph);
    EXPECT_EQ(before, 2) << "the busy flag is cleared after a drawing";
}

TEST(GraphDrawing, StatusTextAndMessagePumping) {
    struct TCase {
        TDrawTarget Target;
        bool Silent;
        std::vector<QString> Texts;
        int Pumps;
    };
    const std::vector<TCase> cases{
        {TDrawTarget::Screen, false, {"\tNow draw a", "\tNow draw b", ""}, 2},
        {TDrawTarget::Screen, true, {""}, 0},
        {TDrawTarget::Printer, false, {"\rNow printing a", "\rNow printing b", ""}, 0},
        {TDrawTarget::Export, false, {}, 0},
    };
    for (const TCase& c : cases) {
        TGraph graph;
        AddProbe(graph, "a");
        AddProbe(graph, "b").SetVisible(false);
        std::vector<QString> texts;
        int pumps = 0;
        graph.StatusText = [&](const QString& text) { texts.push_back(text); };
        graph.PumpMessages = [&] { ++pumps; };
        graph.SilentDraw = c.Silent;
        DrawGraph(graph, 200, 200, c.Target);
        const std::string name =
            "target " + std::to_string(static_cast<int>(c.Target)) + " silent " + std::to_string(c.Silent);
        EXPECT_EQ(texts, c.Texts) << name;
        EXPECT_EQ(pumps, c.Pumps) << name;
    }
}

TEST(GraphDrawing, BeforeAndAfterDrawSurroundTheLayers) {
    TGraph graph;
    std::vector<std::string> events;
    AddProbe(graph, "a").Paint = [&](QPainter&) { events.push_back("layer"); };
    graph.BeforeDraw = [&](TGraph&) { events.push_back("before"); };
    graph.AfterDraw = [&](TGraph&) { events.push_back("after"); };
    DrawGraph(graph);
    EXPECT_EQ(events, (std::vector<std::string>{"before", "layer", "after"}));
}

TEST(GraphDrawing, TinySurfaceKeepsAUsablePlotArea) {
    TGraph graph;
    graph.Title.Text = "A title";
    graph.XAxis().Name = "x";
    AddSeries(graph, ssLineAndPoint, clRed, {{0, 0}, {1, 1}});
    for (int side : {1, 10, 30}) {
        DrawGraph(graph, side, side);
        EXPECT_GE(graph.PlotArea().width(), 4) << side;
        EXPECT_GE(graph.PlotArea().height(), 4) << side;
        EXPECT_TRUE(std::isfinite(graph.DataXToScreen(0.5))) << side;
    }
}

TEST(GraphDrawing, TitleTakesItsBandAboveThePlot) {
    TGraph graph;
    const QImage untitled = DrawGraph(graph);
    const int top = graph.PlotArea().top();
    graph.Title.Text = "Title";
    graph.Title.Font.Color = ProbeColor;
    const QImage titled = DrawGraph(graph);
    EXPECT_GT(graph.PlotArea().top(), top);
    EXPECT_EQ(CountPixels(untitled, QRect(0, 0, ImageWidth, top), ProbeColor), 0);
    EXPECT_GT(CountPixels(titled, QRect(0, 0, ImageWidth, graph.PlotArea().top()), ProbeColor), 0);
}

TEST(GraphDrawing, GradientRunsFromStartColourToTheBackground) {
    TGraph graph;
    graph.BackColor = RgbColor(10, 20, 30);
    graph.Gradient.Style = gsLeftRight;
    graph.Gradient.StartColor = RgbColor(255, 0, 0);
    graph.Gradient.EndColor = RgbColor(0, 0, 255);
    const QImage image = DrawGraph(graph);
    EXPECT_TRUE(PixelIs(image, 0, 1, graph.Gradient.StartColor));
    EXPECT_TRUE(PixelIs(image, ImageWidth - 1, 1, graph.BackColor)) << "band 0 keeps the background";
}

TEST(GraphDrawing, InfoBubbleShowsOnlyWithContent) {
    TGraph graph;
    const auto bubblePixels = [&] {
        const QImage image = DrawGraph(graph);
        return CountPixels(image, graph.PlotArea(), graph.Info.Color);
    };
    EXPECT_EQ(bubblePixels(), 0);
    graph.Info.Content = {"X=1", "Y=2"};
    EXPECT_GT(bubblePixels(), 0);
    graph.Info.Visible = false;
    EXPECT_EQ(bubblePixels(), 0);
}

} // namespace
} // namespace mirla
