#include "plotlib/Series.h"
#include "plotlib/Graph.h"
#include "plotlib/Legend.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace mirla {
namespace {

/// A graph with fixed axes drawn into an image, and probes of the pixels at data points.
class TDrawnGraph {
public:
    explicit TDrawnGraph(int width = 400, int height = 300) : m_image(width, height, QImage::Format_RGB32) {
        Fix(0, 10, 0, 10);
    }

    TGraph Graph;

    /// Fixes both primary axes to the given ranges.
    void Fix(double xMin, double xMax, double yMin, double yMax) {
        for (auto [axis, lo, hi] :
             {std::tuple{&Graph.XAxis(), xMin, xMax}, std::tuple{&Graph.YAxis(), yMin, yMax}}) {
            axis->AutoMin = false;
            axis->AutoMax = false;
            axis->SetMin(lo);
            axis->SetMax(hi);
        }
    }

    /// Adds a series to the graph and returns it.
    TSeries& Add(const std::string& name, int style, TColor color) {
        auto series = std::make_unique<TSeries>(Graph, name, style, color);
        TSeries& added = *series;
        Graph.AddLayer(std::move(series));
        return added;
    }

    /// Draws the whole graph as a picture export (white surface).
    void Render() {
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        Graph.Draw(painter, m_image.rect(), TDrawTarget::Export);
    }

    /// The pixel at a data point.
    QPoint PixelOf(double x, double y) const {
        return {static_cast<int>(std::lround(Graph.DataXToScreen(x))),
                static_cast<int>(std::lround(Graph.DataYToScreen(y)))};
    }

    /// Whether a pixel within `radius` of the data point has exactly `color`.
    bool ColorNear(double x, double y, TColor color, int radius = 1) const {
        const QPoint centre = PixelOf(x, y);
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p = centre + QPoint(dx, dy);
                if (m_image.rect().contains(p) && m_image.pixelColor(p) == ToQColor(color))
                    return true;
            }
        return false;
    }

    /// The colour of the pixel at a data point.
    QColor PixelAt(double x, double y) const { return m_image.pixelColor(PixelOf(x, y)); }

    /// Whether the pixel exactly at the data point has `color`.
    bool ColorAt(double x, double y, TColor color) const { return ColorNear(x, y, color, 0); }

    /// The last rendered picture.
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
};

/// The action named `name` in `menu`, or nullptr.
QAction* FindAction(QMenu& menu, const char* name) {
    for (QAction* action : menu.actions())
        if (action->objectName() == QLatin1String(name))
            return action;
    return nullptr;
}

// ---- colours

TEST(LayerColor, StoredColoursBecomeQtColours) {
    struct Case {
        TColor stored;
        int red, green, blue;
    };
    const std::vector<Case> cases{{clRed, 255, 0, 0},     {clBlue, 0, 0, 255},      {clGreen, 0, 128, 0},
                                  {0x00030201, 1, 2, 3},  {clWhite, 255, 255, 255}, {-1, 0, 0, 0},
                                  {clGray, 128, 128, 128}};
    for (const Case& c : cases) {
        EXPECT_EQ(ToQColor(c.stored), QColor(c.red, c.green, c.blue)) << "stored " << c.stored;
        if (c.stored >= 0) {
            EXPECT_EQ(FromQColor(QColor(c.red, c.green, c.blue)), c.stored) << "stored " << c.stored;
        }
    }
}

TEST(LayerFont, StylesAndSizeReachTheQtFont) {
    const QFont font = ToQFont({"Courier New", 14, clBlack, 1, fsBold | fsStrikeOut});
    EXPECT_EQ(font.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(font.pointSizeF(), 14);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_TRUE(font.strikeOut());
}

TEST(LayerMenu, DeleteErasesTheLayerAndReportsTheChange) {
    TGraph graph;
    int changes = 0;
    graph.Changed = [&] { ++changes; };
    auto owned = std::make_unique<TLayer>(graph);
    TLayer* layer = owned.get();
    graph.AddLayer(std::move(owned));
    QMenu menu;
    layer->BuildPopupMenu(menu);
    ASSERT_NE(FindAction(menu, "miProperties"), nullptr);
    EXPECT_EQ(FindAction(menu, "miProperties")->text(), QStringLiteral("&Properties"));
    QAction* erase = FindAction(menu, "miErase");
    ASSERT_NE(erase, nullptr);
    EXPECT_EQ(erase->text(), QStringLiteral("&Delete  <Ctrl>"));
    erase->trigger();
    EXPECT_EQ(graph.LayerCount(), 0);
    EXPECT_EQ(changes, 1);
}

// ---- creation and points

TEST(SeriesCreate, StartsWithTheDocumentedSettings) {
    TGraph graph;
    const TSeries series(graph, std::string(300, 'n'), ssLineAndPoint, clTeal);
    EXPECT_EQ(series.Name().size(), 255u);
    EXPECT_EQ(series.Style(), ssLineAndPoint);
    EXPECT_EQ(series.Color(), clTeal);
    EXPECT_EQ(series.MarkerColor(), clTeal);
    EXPECT_EQ(series.MarkerSize(), 4);
    EXPECT_EQ(series.MarkerStyle(), msNone);
    EXPECT_EQ(series.MarkerStep(), 1);
    EXPECT_TRUE(series.MarkersVisible());
    EXPECT_EQ(series.LineWidth(), 1);
    EXPECT_EQ(series.LineStyle(), psSolid);
    EXPECT_DOUBLE_EQ(series.BarWidth(), 0.7);
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(graph.LayerCount(), 0) << "the host adds the series";
}

TEST(SeriesAddPoint, EachSegmentStartsAtThePointBefore) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    series.SetMarkerStyle(msDiamond);
    const std::vector<std::pair<double, double>> xy{{1, 2}, {3, -4}, {5, 6}};
    for (const auto& [x, y] : xy)
        series.AddPoint(clBlue, "p", x, y);
    for (int i = 0; i < series.Count(); ++i) {
        const auto& before = xy[i == 0 ? 0 : i - 1];
        EXPECT_EQ(series.X(i), xy[i].first) << "point " << i;
        EXPECT_EQ(series.Y(i), xy[i].second) << "point " << i;
        EXPECT_EQ(series.PrevX(i), before.first) << "point " << i;
        EXPECT_EQ(series.PrevY(i), before.second) << "point " << i;
        EXPECT_EQ(series.PointColor(i), clBlue) << "point " << i;
        EXPECT_EQ(series.PointName(i), "p") << "point " << i;
        const std::optional<TMarker> marker = series.PointMarker(i);
        ASSERT_TRUE(marker.has_value()) << "point " << i;
        EXPECT_EQ(marker->Style, msDiamond) << "point " << i;
        EXPECT_EQ(marker->Color, clRed) << "point " << i;
    }
}

TEST(SeriesPoint, IndexIsClampedToTheList) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    for (int i = 0; i < 5; ++i)
        series.AddPoint(clRed, "", i, i * i);
    const std::vector<std::pair<int, double>> cases{{-1, 0}, {-100, 0}, {0, 0}, {2, 2},
                                                    {4, 4},  {5, 4},    {99, 4}};
    for (const auto& [index, x] : cases)
        EXPECT_EQ(series.X(index), x) << "index " << index;
}

TEST(SeriesPoint, AnEmptySeriesHasNoPointToGive) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    EXPECT_THROW(series.X(0), std::out_of_range);
}

TEST(SeriesDeletePoint, NeighboursStayConnected) {
    struct Case {
        const char* what;
        int index;
        std::vector<std::vector<double>> segments; // PrevX, PrevY, X, Y of what remains
    };
    const std::vector<Case> cases{
        {"middle", 1, {{0, 0, 0, 0}, {0, 0, 2, 20}, {2, 20, 3, 30}}},
        {"first", 0, {{1, 10, 1, 10}, {1, 10, 2, 20}, {2, 20, 3, 30}}},
        {"last", 3, {{0, 0, 0, 0}, {0, 0, 1, 10}, {1, 10, 2, 20}}},
        {"outside", 7, {{0, 0, 0, 0}, {0, 0, 1, 10}, {1, 10, 2, 20}, {2, 20, 3, 30}}},
    };
    for (const Case& c : cases) {
        TGraph graph;
        TSeries series(graph, "s", ssLine, clRed);
        for (int i = 0; i < 4; ++i)
            series.AddPoint(clRed, "", i, 10 * i);
        series.DeletePoint(c.index);
        ASSERT_EQ(series.Count(), static_cast<int>(c.segments.size())) << c.what;
        for (int i = 0; i < series.Count(); ++i) {
            EXPECT_EQ((std::vector<double>{series.PrevX(i), series.PrevY(i), series.X(i), series.Y(i)}),
                      c.segments[i])
                << c.what << " point " << i;
        }
    }
}

TEST(SeriesDeleteHitPoint, NothingHappensWithoutAHit) {
    TDrawnGraph drawn;
    int changes = 0;
    drawn.Graph.Changed = [&] { ++changes; };
    TSeries& series = drawn.Add("s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.DeleteHitPoint();
    EXPECT_EQ(series.Count(), 1);
    EXPECT_EQ(changes, 0);
}

TEST(SeriesDeleteHitPoint, RemovesTheHitPointAndRedraws) {
    TDrawnGraph drawn;
    int changes = 0;
    drawn.Graph.Changed = [&] { ++changes; };
    TSeries& series = drawn.Add("s", ssLine, clRed);
    for (int i = 0; i < 3; ++i)
        series.AddPoint(clRed, "", i, i);
    series.SetHitIndex(1);
    series.DeleteHitPoint();
    ASSERT_EQ(series.Count(), 2);
    EXPECT_EQ(series.X(1), 2);
    EXPECT_EQ(series.PrevX(1), 0);
    EXPECT_EQ(series.HitIndex(), -1);
    EXPECT_EQ(changes, 1);
}

TEST(SeriesDeleteHitPoint, AnEmptiedSeriesLeavesTheGraphWithItsLegendEntry) {
    TDrawnGraph drawn;
    int changes = 0;
    drawn.Graph.Changed = [&] { ++changes; };
    TSeries& series = drawn.Add("s", ssLine, clRed);
    auto entry = std::make_unique<TLineLegend>(drawn.Graph);
    series.AttachLegend(entry.get());
    drawn.Graph.Legend().Add(std::move(entry));
    series.AddPoint(clRed, "", 1, 1);
    series.SetHitIndex(0);
    series.DeleteHitPoint();
    EXPECT_EQ(drawn.Graph.LayerCount(), 0);
    EXPECT_EQ(drawn.Graph.Legend().Count(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(SeriesClear, RemovesEveryPoint) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 2, 2);
    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    EXPECT_TRUE(series.GetExtent().Empty());
}

// ---- attributes of single points

/// A series of five points, point k at (k, 10 k), with attributes of their own: names on points
/// 1 and 3, a colour on point 2, an own marker on point 3, none on point 4, and point 3's segment
/// starting at (7, 70) instead of at point 2.
class TAttributedSeries {
public:
    TAttributedSeries() : Series(Graph, "s", ssLineAndPoint, clRed) {
        Series.SetMarkerStyle(msRect);
        Look.Style = msRect;
        Look.Color = clRed;
        Star.Style = msStar;
        Star.Color = clGreen;
        Names = {"", "b", "", "d", ""};
        Colors = {clRed, clRed, clBlue, clRed, clRed};
        for (int k = 0; k < 5; ++k)
            Series.AddPoint(Colors[k], Names[k], k, 10 * k);
        Markers = {Look, Look, Look, Star, std::nullopt};
        Series.SetPointMarker(3, Star);
        Series.SetPointMarker(4, std::nullopt);
        Series.SetPrevious(3, 7, 70);
    }

    TGraph Graph;
    TSeries Series;
    /// The series' marker look: its colour, the default size and fill.
    TMarker Look;
    TMarker Star;
    std::vector<std::string> Names;
    std::vector<TColor> Colors;
    std::vector<std::optional<TMarker>> Markers;
};

TEST(SeriesPointAttributes, StayWithTheirPointsThroughAppendAndDelete) {
    struct Case {
        const char* what;
        int deleted;           // -1: point 5 is appended instead
        std::vector<int> kept; // the original index of each point that remains
        std::vector<std::pair<double, double>> starts;
    };
    const std::vector<Case> cases{
        {"append", -1, {0, 1, 2, 3, 4, 5}, {{0, 0}, {0, 0}, {1, 10}, {7, 70}, {3, 30}, {4, 40}}},
        {"delete first", 0, {1, 2, 3, 4}, {{1, 10}, {1, 10}, {7, 70}, {3, 30}}},
        {"delete the point before an own start", 2, {0, 1, 3, 4}, {{0, 0}, {0, 0}, {1, 10}, {3, 30}}},
        {"delete last", 4, {0, 1, 2, 3}, {{0, 0}, {0, 0}, {1, 10}, {7, 70}}},
    };
    for (const Case& c : cases) {
        TAttributedSeries attributed;
        TSeries& series = attributed.Series;
        if (c.deleted < 0)
            series.AddPoint(clRed, "", 5, 50);
        else
            series.DeletePoint(c.deleted);
        ASSERT_EQ(series.Count(), static_cast<int>(c.kept.size())) << c.what;
        for (int i = 0; i < series.Count(); ++i) {
            const auto k = static_cast<std::size_t>(c.kept[i]);
            const bool appended = k == 5;
            EXPECT_EQ(series.X(i), static_cast<double>(k)) << c.what << " point " << i;
            EXPECT_EQ((std::pair{series.PrevX(i), series.PrevY(i)}), c.starts[i]) << c.what << " point " << i;
            EXPECT_EQ(series.PointName(i), appended ? "" : attributed.Names[k]) << c.what << " point " << i;
            EXPECT_EQ(series.PointColor(i), appended ? clRed : attributed.Colors[k])
                << c.what << " point " << i;
            EXPECT_EQ(series.PointMarker(i), appended ? attributed.Look : attributed.Markers[k])
                << c.what << " point " << i;
        }
    }
}

TEST(SeriesPointAttributes, NoneOutliveClear) {
    TAttributedSeries attributed;
    TSeries& series = attributed.Series;
    series.Clear();
    for (int k = 0; k < 5; ++k)
        series.AddPoint(clLime, "", k, k);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(series.PointName(k), "") << "point " << k;
        EXPECT_EQ(series.PointColor(k), clLime) << "point " << k;
        EXPECT_EQ(series.PointMarker(k), attributed.Look) << "point " << k;
        EXPECT_EQ(series.PrevX(k), k == 0 ? 0 : k - 1) << "point " << k;
    }
}

TEST(SeriesPointAttributes, MarkerSettersGiveOwnMarkersTheSeriesLookAndKeepNone) {
    TAttributedSeries attributed;
    TSeries& series = attributed.Series;
    series.SetMarkerColor(clNavy);
    EXPECT_EQ(series.PointMarker(3).value().Style, msRect);
    EXPECT_EQ(series.PointMarker(3).value().Color, clNavy);
    EXPECT_FALSE(series.PointMarker(4).has_value());
}

// ---- values and extent

TEST(SeriesValueAt, InterpolatesOnTheSpanningSegment) {
    struct Case {
        int style;
        double x;
        double expected;
    };
    // Points (0, 0), (2, 4), (4, 0), (5, 10).
    const std::vector<Case> cases{
        {ssLine, 1, 2},
        {ssLine, 3, 2},
        {ssLine, 4.5, 5},
        {ssLine, 0, 0},
        {ssLine, 5, 10},
        {ssLine, -0.1, MissingValue},
        {ssLine, 5.1, MissingValue},
        {ssPiecewiseConstant, 1, 0},
        {ssPiecewiseConstant, 3, 4},
        {ssPiecewiseConstant, 4.5, 0},
        {ssPiecewiseConstant, 6, MissingValue},
    };
    for (const Case& c : cases) {
        TGraph graph;
        TSeries series(graph, "s", c.style, clRed);
        for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {2, 4}, {4, 0}, {5, 10}})
            series.AddPoint(clRed, "", x, y);
        EXPECT_DOUBLE_EQ(series.ValueAt(c.x), c.expected) << "style " << c.style << " x " << c.x;
    }
}

TEST(SeriesValueAt, FollowsTheLogarithmOnALogarithmicAxis) {
    TGraph graph;
    graph.YAxis().SetLog(true);
    TSeries series(graph, "s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 3, 10000);
    // Halfway between 10^0 and 10^4 on the logarithm is 10^2.
    EXPECT_NEAR(series.ValueAt(2), 100, 1e-9);
}

TEST(SeriesValueAt, ASinglePointSpansOnlyItself) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    series.AddPoint(clRed, "", 3, 7);
    EXPECT_EQ(series.ValueAt(3), 7);
    EXPECT_EQ(series.ValueAt(3.001), MissingValue);
}

TEST(SeriesExtent, CoversEverySegmentEnd) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    EXPECT_TRUE(series.GetExtent().Empty());
    series.AddPoint(clRed, "", 2, 5);
    const TExtent one = series.GetExtent();
    EXPECT_EQ((std::vector<double>{one.XMin, one.XMax, one.YMin, one.YMax}),
              (std::vector<double>{2, 2, 5, 5}));
    series.AddPoint(clRed, "", -1, 9);
    series.AddPoint(clRed, "", 4, -3);
    const TExtent all = series.GetExtent();
    EXPECT_EQ((std::vector<double>{all.XMin, all.XMax, all.YMin, all.YMax}),
              (std::vector<double>{-1, 4, -3, 9}));
}

TEST(SeriesExtent, CoversASegmentStartSetApart) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 2, 2);
    series.SetPrevious(1, -5, 30);
    const TExtent extent = series.GetExtent();
    EXPECT_EQ((std::vector<double>{extent.XMin, extent.XMax, extent.YMin, extent.YMax}),
              (std::vector<double>{-5, 2, 1, 30}));
}

TEST(SeriesExtent, StackedBarsReachTheTopOfTheirPile) {
    TDrawnGraph drawn;
    drawn.Graph.BarStyle = bsStacked;
    TSeries& a = drawn.Add("a", ssBar, clRed);
    TSeries& b = drawn.Add("b", ssBar, clBlue);
    a.AddPoint(clRed, "", 1, 2);
    a.AddPoint(clRed, "", 2, -1);
    b.AddPoint(clBlue, "", 1, 3);
    b.AddPoint(clBlue, "", 2, -4);
    const TExtent extent = a.GetExtent();
    EXPECT_EQ((std::vector<double>{extent.XMin, extent.XMax, extent.YMin, extent.YMax}),
              (std::vector<double>{1, 2, -5, 5}));
    drawn.Graph.BarStyle = bs100Stacked;
    const TExtent percent = b.GetExtent();
    EXPECT_DOUBLE_EQ(percent.YMax, 100);
    EXPECT_DOUBLE_EQ(percent.YMin, -100);
}

// ---- markers and legend

TEST(SeriesMarker, SettersReachEveryPointAndTheLegendEntry) {
    TGraph graph;
    TSeries series(graph, "s", ssLineAndPoint, clRed);
    TLineLegend entry(graph);
    series.AttachLegend(&entry);
    series.AddPoint(clRed, "", 0, 0);
    series.AddPoint(clRed, "", 1, 1);
    series.SetMarkerStyle(ms5Star1);
    series.SetMarkerSize(7);
    series.SetMarkerColor(clNavy);
    series.SetMarkerFillColor(clYellow);
    for (int i = 0; i < series.Count(); ++i) {
        const TMarker marker = series.PointMarker(i).value();
        EXPECT_EQ(marker.Style, ms5Star1) << "point " << i;
        EXPECT_EQ(marker.Size, 7) << "point " << i;
        EXPECT_EQ(marker.Color, clNavy) << "point " << i;
        EXPECT_EQ(marker.FillColor, clYellow) << "point " << i;
    }
    EXPECT_EQ(entry.Marker.Style, ms5Star1);
    EXPECT_EQ(entry.Marker.Color, clNavy);
    EXPECT_EQ(entry.Marker.FillColor, clYellow);
    EXPECT_EQ(entry.Marker.Size, 3) << "the sample keeps the size that fits a legend row";
    series.AttachLegend(nullptr);
}

TEST(SeriesLegend, AttachCopiesTheLookAndLinksBothWays) {
    TGraph graph;
    TSeries series(graph, "f(x)", ssPiecewiseConstant, clGreen);
    series.SetMarkerStyle(msStar);
    series.SetMarkerFillColor(clAqua);
    series.SetLineStyle(psDashDot);
    series.SetLineWidth(3);
    TLineLegend entry(graph);
    series.AttachLegend(&entry);
    EXPECT_EQ(series.Legend(), &entry);
    EXPECT_EQ(entry.Series, &series);
    EXPECT_EQ(entry.Caption, "f(x)");
    EXPECT_EQ(entry.Marker.Style, msStar);
    EXPECT_EQ(entry.Marker.Color, clGreen);
    EXPECT_EQ(entry.Marker.FillColor, clAqua);
    EXPECT_EQ(entry.StyleCode, ssPiecewiseConstant);
    EXPECT_EQ(entry.Color, clGreen);
    EXPECT_EQ(entry.LineWidth, 3);
    EXPECT_EQ(entry.LineStyle, psDashDot);

    series.SetColor(clPurple);
    series.SetName("g(x)");
    series.RefreshLegend();
    EXPECT_EQ(entry.Color, clPurple);
    EXPECT_EQ(entry.Caption, "g(x)");

    series.AttachLegend(nullptr);
    EXPECT_EQ(series.Legend(), nullptr);
    EXPECT_EQ(entry.Series, nullptr);
}

TEST(SeriesLegend, FreeingASeriesRemovesItsEntry) {
    TGraph graph;
    auto series = std::make_unique<TSeries>(graph, "s", ssLine, clRed);
    auto entry = std::make_unique<TLineLegend>(graph);
    series->AttachLegend(entry.get());
    auto other = std::make_unique<TLineLegend>(graph);
    other->Caption = "other";
    graph.Legend().Add(std::move(other));
    graph.Legend().Add(std::move(entry));
    series.reset();
    ASSERT_EQ(graph.Legend().Count(), 1);
    EXPECT_EQ(graph.Legend().Entry(0).Caption, "other");
}

TEST(SeriesBar, EffectiveMarkerSizeIsTheBarWidth) {
    TDrawnGraph drawn;
    TSeries& line = drawn.Add("line", ssLine, clBlue);
    line.SetMarkerSize(6);
    TSeries& bars = drawn.Add("bars", ssBar, clRed);
    for (int i = 0; i <= 4; ++i)
        bars.AddPoint(clRed, "", 2 * i, i);
    drawn.Render();
    // The X range 0..8 shared by 5 points, 70 % of it: 1.12 data units.
    const double expected = std::abs(drawn.Graph.DataXToScreen(1.12) - drawn.Graph.DataXToScreen(0));
    EXPECT_NEAR(bars.EffectiveMarkerSize(), expected, 1.0);
    EXPECT_EQ(line.EffectiveMarkerSize(), 6);
}

// ---- menu

TEST(SeriesMenu, OffersSelectInfoDeleteAndUnvisible) {
    TGraph graph;
    TSeries series(graph, "s", ssLine, clRed);
    QMenu menu;
    series.BuildPopupMenu(menu);
    for (const char* name : {"miSelectOnOff", "miInfo", "miErase", "miUnvisible"})
        EXPECT_NE(FindAction(menu, name), nullptr) << name;
    EXPECT_EQ(FindAction(menu, "miErase")->text(), QStringLiteral("&Delete  <Ctrl>"));
    EXPECT_EQ(FindAction(menu, "miUnvisible")->text(), QStringLiteral("&Unvisible  <Ctrl>"));
}

TEST(SeriesMenu, UnvisibleHidesAndDeleteRemovesTheHitPoint) {
    TDrawnGraph drawn;
    int changes = 0;
    drawn.Graph.Changed = [&] { ++changes; };
    TSeries& series = drawn.Add("s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 2, 4);
    QMenu menu;
    series.BuildPopupMenu(menu);
    FindAction(menu, "miUnvisible")->trigger();
    EXPECT_FALSE(series.Visible());
    EXPECT_EQ(changes, 1);
    FindAction(menu, "miSelectOnOff")->trigger();
    EXPECT_TRUE(series.Selected());

    FindAction(menu, "miErase")->trigger(); // no point hit: nothing happens
    EXPECT_EQ(series.Count(), 2);
    series.SetHitIndex(0);
    FindAction(menu, "miErase")->trigger();
    ASSERT_EQ(series.Count(), 1);
    EXPECT_EQ(series.X(0), 2);
    series.SetHitIndex(0);
    FindAction(menu, "miErase")->trigger(); // the last point takes the emptied series with it
    EXPECT_EQ(drawn.Graph.LayerCount(), 0);
}

TEST(SeriesMenu, SelectionAndDeletionAreJournaled) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 2, 4);
    QMenu menu;
    series.BuildPopupMenu(menu);
    FindAction(menu, "miSelectOnOff")->trigger();
    FindAction(menu, "miSelectOnOff")->trigger();
    series.SetHitIndex(0);
    FindAction(menu, "miErase")->trigger();
    const std::vector<TUndoRecord> expected = {{UndoSeparator, nullptr}, {UndoSelectOn, &series},
                                               {UndoSeparator, nullptr}, {UndoSelectOff, &series},
                                               {UndoSeparator, nullptr}, {UndoEdit, &series}};
    EXPECT_EQ(drawn.Graph.Undo().Records(), expected);
}

// ---- drawing

TEST(SeriesDraw, ARedLineShowsAlongItsPath) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 9, 9);
    drawn.Render();
    for (double t : {1.5, 3.0, 5.0, 7.0, 8.5})
        EXPECT_TRUE(drawn.ColorNear(t, t, clRed)) << "on the line at " << t;
    EXPECT_FALSE(drawn.ColorNear(3, 7, clRed, 3)) << "off the line";
}

TEST(SeriesDraw, ASinglePointShowsOnlyItsMarker) {
    for (bool markers : {false, true}) {
        TDrawnGraph drawn;
        TSeries& series = drawn.Add("s", markers ? ssLineAndPoint : ssLine, clRed);
        series.SetMarkerStyle(msRect1);
        series.SetMarkerFillColor(clRed);
        series.AddPoint(clRed, "", 5, 5);
        drawn.Render();
        EXPECT_EQ(drawn.ColorNear(5, 5, clRed, 2), markers) << "markers " << markers;
    }
}

TEST(SeriesDraw, MarkersFollowTheMarkerStep) {
    struct Case {
        int count;
        int step;
    };
    for (const Case& c : {Case{100, 5}, Case{10, 5}, Case{20, 0}}) {
        TDrawnGraph drawn(2200, 200);
        drawn.Fix(-1, c.count, 0, 1);
        TSeries& series = drawn.Add("s", ssPoints, clBlue);
        series.SetMarkerStyle(msRect1);
        series.SetMarkerSize(2);
        series.SetMarkerColor(clRed);
        series.SetMarkerFillColor(clRed);
        series.SetMarkerStep(c.step);
        for (int i = 0; i < c.count; ++i)
            series.AddPoint(clBlue, "", i, 0.5);
        drawn.Render();
        const int step = c.step < 1 ? 1 : c.step;
        for (int i = 0; i < c.count; ++i) {
            const bool expected = 3 * step >= c.count || i % step == 0 || i == c.count - 1;
            EXPECT_EQ(drawn.ColorAt(i, 0.5, clRed), expected)
                << c.count << " points step " << c.step << " index " << i;
        }
    }
}

// A dense curve is drawn with fewer segments per pixel column; the picture must stay that of the
// whole polyline: the same pixels in the series colour, give or take a few at column borders.
TEST(SeriesDraw, DenseCurvesLookTheSameAsTheirWholePolyline) {
    TDrawnGraph drawn(600, 400);
    drawn.Fix(0, 1, -1.5, 1.5);
    TSeries& series = drawn.Add("dense", ssLine, clRed);
    constexpr int count = 20000;
    for (int i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / (count - 1);
        series.AddPoint(clRed, "", x, std::sin(60 * x) + 0.3 * std::sin(2000 * x));
    }
    drawn.Render();
    const QImage thinned = drawn.Image().copy();

    series.SetVisible(false);
    drawn.Render();
    QImage whole = drawn.Image().copy();
    QPolygonF polyline;
    for (int i = 0; i < count; ++i)
        polyline.append(
            QPointF(drawn.Graph.DataXToScreen(series.X(i)), drawn.Graph.DataYToScreen(series.Y(i))));
    QPainter painter(&whole);
    painter.setClipRect(drawn.Graph.PlotArea());
    painter.setPen(QPen(ToQColor(clRed), 1));
    painter.drawPolyline(polyline);
    painter.end();

    int curvePixels = 0;
    int differing = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x) {
            const bool inWhole = whole.pixelColor(x, y) == ToQColor(clRed);
            curvePixels += inWhole;
            differing += inWhole != (thinned.pixelColor(x, y) == ToQColor(clRed));
        }
    ASSERT_GT(curvePixels, 1000);
    EXPECT_LT(differing, curvePixels / 50) << differing << " of " << curvePixels << " pixels differ";
}

TEST(SeriesDraw, MarkersOutsideThePlotAreaAreLeftOut) {
    TDrawnGraph drawn;
    drawn.Fix(0, 10, 0, 10);
    TSeries& series = drawn.Add("s", ssPoints, clBlue);
    series.SetMarkerStyle(msRect1);
    series.SetMarkerColor(clRed);
    series.SetMarkerFillColor(clRed);
    series.AddPoint(clBlue, "", 5, 5);
    series.AddPoint(clBlue, "", 5, 12);
    drawn.Render();
    EXPECT_TRUE(drawn.ColorAt(5, 5, clRed));
    EXPECT_FALSE(drawn.ColorNear(5, 12, clRed, 2));
}

TEST(SeriesDraw, PiecewiseConstantStepsAtThePreviousValue) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssPiecewiseConstant, clRed);
    series.AddPoint(clRed, "", 1, 2);
    series.AddPoint(clRed, "", 9, 8);
    drawn.Render();
    EXPECT_TRUE(drawn.ColorNear(5, 2, clRed)) << "level at the previous value";
    EXPECT_TRUE(drawn.ColorNear(9, 5, clRed)) << "rise at the new point";
    EXPECT_FALSE(drawn.ColorNear(5, 5, clRed, 2)) << "no slanted line";
}

TEST(SeriesDraw, AreaFillsBetweenTheCurveAndZero) {
    TDrawnGraph drawn;
    drawn.Fix(0, 10, -10, 10);
    TSeries& series = drawn.Add("s", ssArea, clBlue);
    series.AddPoint(clBlue, "", 2, 5);
    series.AddPoint(clBlue, "", 8, 5);
    drawn.Render();
    EXPECT_TRUE(drawn.ColorAt(5, 2.5, clBlue)) << "below the curve";
    EXPECT_FALSE(drawn.ColorAt(5, 7.5, clBlue)) << "above the curve";
    EXPECT_FALSE(drawn.ColorAt(5, -2.5, clBlue)) << "below the zero line";
    EXPECT_FALSE(drawn.ColorAt(1, 2.5, clBlue)) << "beside the curve";
}

TEST(SeriesDraw, VolumeShadesABandDarkeningTowardsZero) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssVolume, clLime);
    series.AddPoint(clLime, "", 2, 8);
    series.AddPoint(clLime, "", 8, 8);
    drawn.Render();
    const QColor high = drawn.PixelAt(5, 7);
    const QColor low = drawn.PixelAt(5, 1);
    EXPECT_EQ(drawn.PixelAt(5, 9), ToQColor(clWhite)) << "above the curve";
    EXPECT_EQ(high.red(), 0) << "the band has the series' hue";
    EXPECT_EQ(high.blue(), 0);
    EXPECT_GT(high.green(), low.green()) << "darker towards the foot";
    EXPECT_GT(low.green(), 0);
}

TEST(SeriesDraw, PerPointSegmentsTakeTheirPointsColour) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssPerPoint, clGreen);
    series.AddPoint(clRed, "", 1, 5);
    series.AddPoint(clBlue, "", 5, 5);
    series.AddPoint(clRed, "", 9, 5);
    drawn.Render();
    EXPECT_TRUE(drawn.ColorNear(3, 5, clBlue)) << "segment ending at the blue point";
    EXPECT_TRUE(drawn.ColorNear(7, 5, clRed)) << "segment ending at the red point";
}

TEST(SeriesDraw, BarsStandOnZero) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssBar, clRed);
    for (int x : {2, 4, 6, 8})
        series.AddPoint(clRed, "", x, x);
    drawn.Render();
    for (int x : {2, 4, 6, 8}) {
        EXPECT_TRUE(drawn.ColorAt(x, x / 2.0, clRed)) << "inside bar " << x;
        EXPECT_FALSE(drawn.ColorAt(x, x + 1.0, clRed)) << "above bar " << x;
        EXPECT_FALSE(drawn.ColorAt(x + 1, x / 2.0, clRed)) << "between bars after " << x;
    }
}

TEST(SeriesDraw, ClusteredBarsStandSideBySide) {
    TDrawnGraph drawn;
    TSeries& a = drawn.Add("a", ssBar, clRed);
    TSeries& b = drawn.Add("b", ssBar, clBlue);
    for (int x : {2, 5, 8}) {
        a.AddPoint(clRed, "", x, 6);
        b.AddPoint(clBlue, "", x, 6);
    }
    drawn.Render();
    const double quarter = (drawn.Graph.ScreenToX(a.EffectiveMarkerSize()) - drawn.Graph.ScreenToX(0)) / 4;
    for (int x : {2, 5, 8}) {
        EXPECT_TRUE(drawn.ColorAt(x - quarter, 3, clRed)) << "left half at " << x;
        EXPECT_TRUE(drawn.ColorAt(x + quarter, 3, clBlue)) << "right half at " << x;
    }
}

TEST(SeriesDraw, StackedBarsPileUp) {
    for (TBarStyle style : {bsStacked, bs100Stacked}) {
        TDrawnGraph drawn;
        drawn.Graph.BarStyle = style;
        const double top = style == bsStacked ? 10 : 100;
        drawn.Fix(0, 10, 0, top);
        TSeries& a = drawn.Add("a", ssBar, clRed);
        TSeries& b = drawn.Add("b", ssBar, clBlue);
        // 1 below 3: a quarter of the pile is red, the rest blue, and the pile ends at 4 (or 100 %).
        a.AddPoint(clRed, "", 5, 1);
        b.AddPoint(clBlue, "", 5, 3);
        drawn.Render();
        const double scale = style == bsStacked ? 1 : 25;
        EXPECT_TRUE(drawn.ColorAt(5, 0.5 * scale, clRed)) << "style " << style;
        EXPECT_TRUE(drawn.ColorAt(5, 2.5 * scale, clBlue)) << "style " << style;
        if (style == bsStacked) {
            EXPECT_FALSE(drawn.ColorAt(5, 4.5, clBlue)) << "above the pile";
        }
    }
}

TEST(SeriesDraw, ZOrderedBarsOverlapInListOrder) {
    TDrawnGraph drawn;
    drawn.Graph.BarStyle = bsZOrdered;
    TSeries& a = drawn.Add("a", ssBar, clRed);
    TSeries& b = drawn.Add("b", ssBar, clBlue);
    a.AddPoint(clRed, "", 5, 8);
    b.AddPoint(clBlue, "", 5, 4);
    drawn.Render();
    EXPECT_TRUE(drawn.ColorAt(5, 2, clBlue)) << "the later series lies over the earlier one";
    EXPECT_TRUE(drawn.ColorAt(5, 6, clRed)) << "the taller earlier bar shows above";
}

TEST(SeriesDraw, HiddenSeriesDrawNothing) {
    TDrawnGraph drawn;
    TSeries& series = drawn.Add("s", ssLine, clRed);
    series.AddPoint(clRed, "", 1, 1);
    series.AddPoint(clRed, "", 9, 9);
    series.SetVisible(false);
    drawn.Render();
    EXPECT_FALSE(drawn.ColorNear(5, 5, clRed, 2));
}

// ---- matrix series

TEST(MatrixSeries, FixesTheAxesAndExplainsItsColours) {
    TGraph graph;
    TMatrixSeries matrix(graph, "m", 2, 3);
    EXPECT_EQ(matrix.Style(), ssMatrix);
    EXPECT_EQ(matrix.Color(), clRed);
    EXPECT_EQ(matrix.MarkerStyle(), msCircle);
    EXPECT_FALSE(graph.XAxis().AutoMin);
    EXPECT_FALSE(graph.YAxis().AutoMax);
    EXPECT_EQ(graph.XAxis().Minimum(), 0.5);
    EXPECT_EQ(graph.XAxis().Maximum(), 3.5);
    EXPECT_EQ(graph.YAxis().Minimum(), 0.5);
    EXPECT_EQ(graph.YAxis().Maximum(), 2.5);
    const TExtent extent = matrix.GetExtent();
    EXPECT_EQ((std::vector<double>{extent.XMin, extent.YMin, extent.XMax, extent.YMax}),
              (std::vector<double>{0, 0, 4, 3}));
    EXPECT_EQ(graph.ColorLegend().Source, &matrix);
    ASSERT_NE(graph.Legend().IndexOfCaption("Positive"), -1);
    ASSERT_NE(graph.Legend().IndexOfCaption("Negative"), -1);
    EXPECT_EQ(graph.Legend().Entry(graph.Legend().IndexOfCaption("Positive")).Marker.Color, clRed);
    EXPECT_EQ(graph.Legend().Entry(graph.Legend().IndexOfCaption("Negative")).Marker.Style, msDiamond);
    QMenu menu;
    matrix.BuildPopupMenu(menu);
    EXPECT_EQ(FindAction(menu, "miErase"), nullptr);
    EXPECT_NE(FindAction(menu, "miUnvisible"), nullptr);
}

TEST(MatrixSeries, CellsHoldValuesTextsAndTheZRange) {
    TGraph graph;
    TMatrixSeries matrix(graph, "m", 2, 2);
    matrix.SetValue(1, 2, -7.5);
    matrix.SetValue(2, 1, 3);
    matrix.SetText(2, 2, "x");
    EXPECT_EQ(matrix.Value(1, 2), -7.5);
    EXPECT_EQ(matrix.Value(1, 1), 0);
    EXPECT_EQ(matrix.Text(2, 2), "x");
    EXPECT_EQ(matrix.MinZ(), -7.5);
    EXPECT_EQ(matrix.MaxZ(), 3);
    for (const auto& [row, column] : std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {1, 0}, {1, 3}})
        EXPECT_THROW(matrix.Value(row, column), std::out_of_range) << row << "," << column;
}

TEST(MatrixSeries, DrawsRedForPositiveAndBlueForNegative) {
    TDrawnGraph drawn;
    auto owned = std::make_unique<TMatrixSeries>(drawn.Graph, "m", 2, 2);
    TMatrixSeries& matrix = *owned;
    drawn.Graph.AddLayer(std::move(owned));
    matrix.SetValue(1, 1, 4);  // top left
    matrix.SetValue(2, 2, -4); // bottom right
    matrix.SetValue(1, 2, 1);  // small marker, top right
    drawn.Render();
    ASSERT_LT(drawn.Graph.PlotArea().width(), drawn.Graph.PlotArea().height());
    // Row 1 is the top row (Y = 2), row 2 the bottom one (Y = 1). The plot area is taller than wide, so a
    // cell's smaller side is its width: the largest markers reach half a unit left and right.
    EXPECT_TRUE(drawn.ColorNear(1.5, 2, clRed, 2)) << "right edge of the largest positive circle";
    EXPECT_TRUE(drawn.ColorNear(1.5, 1, clBlue, 2)) << "left corner of the largest negative diamond";
    EXPECT_TRUE(drawn.ColorNear(2.125, 2, clRed, 2)) << "edge of the quarter-size positive circle";
    EXPECT_FALSE(drawn.ColorNear(2.3, 2, clRed, 2)) << "a quarter-size marker stays near its centre";
    EXPECT_FALSE(drawn.ColorNear(1, 1, clBlue, 3)) << "an empty cell shows nothing";
}

} // namespace
} // namespace mirla
