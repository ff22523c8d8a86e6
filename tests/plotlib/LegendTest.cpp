#include "plotlib/Legend.h"
#include "plotlib/Graph.h"
#include "plotlib/Series.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace mirla {
namespace {

/// A graph whose legend is laid out on an image of 400 x 300 pixels.
class LegendTest : public testing::Test {
protected:
    LegendTest() : m_image(400, 300, QImage::Format_RGB32) { m_image.fill(Qt::white); }

    TGraph graph;
    TWLegend& legend = graph.Legend();

    /// Adds a series with an attached entry to the graph and the legend.
    TSeries& AddCurve(const std::string& name, TColor color) {
        auto series = std::make_unique<TSeries>(graph, name, ssLine, color);
        auto entry = std::make_unique<TLineLegend>(graph);
        series->AttachLegend(entry.get());
        legend.Add(std::move(entry));
        TSeries& added = *series;
        graph.AddLayer(std::move(series));
        return added;
    }

    /// Reserves the legend's place in a plot area and returns what is left of it.
    QRect Reserve(QRect area) {
        QPainter painter(&m_image);
        legend.Reserve(painter, area);
        return area;
    }

    /// Draws the whole graph into the image.
    void RenderGraph() {
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        graph.Draw(painter, m_image.rect(), TDrawTarget::Export);
    }

    /// Runs `paint` on a white image and tells whether any pixel changed.
    template <typename Paint> bool PaintsSomething(Paint paint) {
        m_image.fill(Qt::white);
        {
            QPainter painter(&m_image);
            paint(painter);
        }
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                if (m_image.pixelColor(x, y) != QColor(Qt::white))
                    return true;
        return false;
    }

    /// Whether any pixel of `area` has `color`.
    bool HasColor(const QRect& area, TColor color) const {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (m_image.rect().contains(x, y) && m_image.pixelColor(x, y) == ToQColor(color))
                    return true;
        return false;
    }

    /// Row height and sample width of the legend font on the image.
    int RowHeight() const { return static_cast<int>(std::lround(1.3 * Metrics().height())); }
    int SampleWidth() const { return Metrics().horizontalAdvance(QStringLiteral("-----------")); }
    int TextWidth(const char* text) const { return Metrics().horizontalAdvance(QString::fromUtf8(text)); }
    QFontMetrics Metrics() const { return QFontMetrics(ToQFont(legend.Font), &m_image); }

    QImage m_image;
};

TEST_F(LegendTest, StartsWithItsNameAndLook) {
    EXPECT_EQ(legend.Name(), "Legend");
    EXPECT_EQ(graph.ColorLegend().Name(), "ColorLegend");
    EXPECT_EQ(legend.Style, lsRight);
    EXPECT_EQ(legend.Font.Name, "Arial");
    EXPECT_EQ(legend.Font.Size, 8);
    EXPECT_EQ(legend.ShadowThickness, 3);
    EXPECT_EQ(legend.Count(), 0);
}

TEST_F(LegendTest, WithoutEntriesItTakesNoSpaceAndDrawsNothing) {
    for (TLegendStyle style : {lsRight, lsLeft, lsTop, lsBottom, lsInside}) {
        legend.Style = style;
        const QRect area(10, 10, 300, 200);
        EXPECT_EQ(Reserve(area), area) << "style " << style;
        EXPECT_FALSE(PaintsSomething([&](QPainter& painter) { legend.Draw(painter); })) << "style " << style;
    }
}

TEST_F(LegendTest, EntriesOfHiddenSeriesOnlyTakeNoSpace) {
    TSeries& series = AddCurve("hidden", clRed);
    series.SetVisible(false);
    const QRect area(10, 10, 300, 200);
    EXPECT_EQ(Reserve(area), area);
    EXPECT_FALSE(PaintsSomething([&](QPainter& painter) { legend.Draw(painter); }));
}

TEST_F(LegendTest, RightStyleTakesAColumnBesideThePlot) {
    AddCurve("sin(x)", clRed);
    AddCurve("a longer caption", clBlue);
    const QRect area(10, 10, 380, 280);
    const QRect left = Reserve(area);
    const int column = SampleWidth() + TextWidth("a longer caption") + 3;
    EXPECT_EQ(left.left(), area.left());
    EXPECT_EQ(left.top(), area.top());
    EXPECT_EQ(left.bottom(), area.bottom());
    EXPECT_LE(left.right(), area.right() - column) << "the plot area narrows by at least a column";
    EXPECT_GT(legend.Rect.left(), left.right()) << "the legend lies right of the plot area";
    EXPECT_LE(legend.Rect.right(), area.right());
    EXPECT_GE(legend.Rect.width(), static_cast<int>(std::lround(column * 1.05)));
    EXPECT_GE(legend.Rect.height(), 2 * RowHeight());
    EXPECT_EQ(legend.Entry(1).Top - legend.Entry(0).Top, RowHeight()) << "entries one row apart";
    EXPECT_TRUE(PaintsSomething([&](QPainter& painter) { legend.Draw(painter); }));
    EXPECT_TRUE(HasColor(legend.Rect, clRed)) << "the red curve's sample";
    EXPECT_TRUE(HasColor(legend.Rect, clBlue)) << "the blue curve's sample";
    EXPECT_FALSE(HasColor(left, clRed)) << "nothing drawn over the plot area";
}

TEST_F(LegendTest, LeftStyleTakesAColumnAtTheLeft) {
    AddCurve("f", clRed);
    legend.Style = lsLeft;
    const QRect area(10, 10, 380, 280);
    const QRect left = Reserve(area);
    EXPECT_EQ(legend.Rect.left(), area.left());
    EXPECT_GT(left.left(), legend.Rect.right());
    EXPECT_EQ(left.right(), area.right());
}

TEST_F(LegendTest, BandStylesPutAsManyEntriesInARowAsFit) {
    for (TLegendStyle style : {lsTop, lsBottom}) {
        legend.Clear();
        for (int i = 0; i < 12; ++i)
            AddCurve("curve " + std::to_string(i), clRed);
        legend.Style = style;
        const QRect area(10, 10, 380, 280);
        const QRect left = Reserve(area);
        const int column = SampleWidth() + TextWidth("curve 10") + 3;
        const int perRow = std::max(1, (area.width() - 10) / column);
        const int rows = (12 + perRow - 1) / perRow;
        EXPECT_GE(area.height() - left.height(), rows * RowHeight()) << "style " << style;
        EXPECT_EQ(left.left(), area.left()) << "style " << style;
        EXPECT_EQ(left.width(), area.width()) << "style " << style;
        if (style == lsTop) {
            EXPECT_GT(left.top(), legend.Rect.bottom());
        } else {
            EXPECT_LT(left.bottom(), legend.Rect.top());
        }
        EXPECT_GT(legend.Entry(1).Left, legend.Entry(0).Left) << "second entry beside the first";
        EXPECT_EQ(legend.Entry(1).Top, legend.Entry(0).Top) << "in the same row";
        EXPECT_GT(legend.Entry(11).Top, legend.Entry(0).Top) << "the last one in a later row";
    }
}

TEST_F(LegendTest, InsideLayoutSkipsHiddenSeriesAndFollowsTheAnchor) {
    for (TAxis* axis : {&graph.XAxis(), &graph.YAxis()}) {
        axis->AutoMin = false;
        axis->AutoMax = false;
        axis->SetMin(0);
        axis->SetMax(10);
    }
    TSeries& hidden = AddCurve("hidden", clRed);
    AddCurve("shown", clBlue);
    hidden.SetVisible(false);
    legend.Style = lsInside;
    legend.AnchorX = 2;
    legend.AnchorY = 8;
    RenderGraph();
    const QPoint corner(static_cast<int>(std::lround(graph.DataXToScreen(2))),
                        static_cast<int>(std::lround(graph.DataYToScreen(8))));
    EXPECT_EQ(legend.Rect.topLeft(), corner);
    const TLegend& shown = legend.Entry(1);
    EXPECT_EQ(shown.Top, corner.y() + RowHeight() / 4) << "the shown entry takes the first row";
    EXPECT_EQ(legend.Rect.width(),
              static_cast<int>(std::lround((SampleWidth() + TextWidth("shown") + 3) * 1.05)));
    EXPECT_LT(legend.Rect.height(), 2 * RowHeight()) << "one row only";
    EXPECT_TRUE(HasColor(legend.Rect, clBlue));
    EXPECT_FALSE(HasColor(legend.Rect, clRed));

    legend.AnchorX = 50; // right of the plot: the legend moves to the plot area's left edge
    RenderGraph();
    EXPECT_EQ(legend.Rect.left(), graph.PlotArea().left());
    EXPECT_EQ(legend.Rect.top(), corner.y());
}

TEST_F(LegendTest, LookupsFindTheFirstMatch) {
    TSeries& first = AddCurve("twin", clRed);
    TSeries& second = AddCurve("twin", clBlue);
    EXPECT_EQ(legend.IndexOfCaption("twin"), 0);
    EXPECT_EQ(legend.IndexOfCaption("none"), -1);
    EXPECT_EQ(legend.IndexOfSeries(&first), 0);
    EXPECT_EQ(legend.IndexOfSeries(&second), 1);
    EXPECT_EQ(legend.IndexOfSeries(nullptr), -1);
}

TEST_F(LegendTest, DeletingAnEntryDetachesItsSeries) {
    TSeries& first = AddCurve("a", clRed);
    TSeries& second = AddCurve("b", clBlue);
    legend.Delete(0);
    EXPECT_EQ(legend.Count(), 1);
    EXPECT_EQ(first.Legend(), nullptr);
    EXPECT_EQ(legend.IndexOfSeries(&second), 0);
    legend.Delete(5); // no such entry: nothing happens
    EXPECT_EQ(legend.Count(), 1);
    legend.Clear();
    EXPECT_EQ(legend.Count(), 0);
    EXPECT_EQ(second.Legend(), nullptr);
}

TEST_F(LegendTest, SamplesShowTheSeriesLook) {
    const QRect area(20, 20, SampleWidth(), RowHeight());
    TLineLegend line(graph);
    line.Color = clRed;
    line.StyleCode = ssLineAndPoint;
    line.Marker.Style = msRect1;
    line.Marker.Color = clBlue;
    line.Marker.FillColor = clBlue;
    EXPECT_TRUE(PaintsSomething([&](QPainter& painter) { line.DrawSample(painter, area); }));
    EXPECT_TRUE(HasColor(QRect(area.left() + 2, area.center().y(), 5, 1), clRed)) << "line at the left end";
    EXPECT_TRUE(HasColor(QRect(area.center(), QSize(1, 1)), clBlue)) << "marker in the middle";

    line.ShowMarker = false;
    PaintsSomething([&](QPainter& painter) { line.DrawSample(painter, area); });
    EXPECT_FALSE(HasColor(area, clBlue)) << "marker switched off";

    TLineLegend bar(graph);
    bar.Color = clGreen;
    bar.StyleCode = ssBar;
    PaintsSomething([&](QPainter& painter) { bar.DrawSample(painter, area); });
    EXPECT_TRUE(HasColor(QRect(area.center(), QSize(1, 1)), clGreen)) << "bars show a filled box";

    TContourLegend contour(graph);
    PaintsSomething([&](QPainter& painter) { contour.DrawSample(painter, area); });
    for (TColor color : {clBlue, clGreen, clRed})
        EXPECT_TRUE(HasColor(area, color)) << "ellipse colour " << color;
    EXPECT_FALSE(HasColor(QRect(area.center(), QSize(1, 1)), clRed)) << "ellipses are not filled";
}

TEST_F(LegendTest, BoxHasShadowBackgroundAndFrame) {
    AddCurve("f", clRed);
    legend.BackColor = clYellow;
    legend.ShadowColor = clGray;
    legend.FrameColor = clNavy;
    Reserve(QRect(10, 10, 380, 280));
    const QRect box = legend.Rect;
    PaintsSomething([&](QPainter& painter) { legend.Draw(painter); });
    EXPECT_EQ(m_image.pixelColor(box.topLeft()), ToQColor(clNavy)) << "frame";
    EXPECT_EQ(m_image.pixelColor(box.bottomRight() + QPoint(2, 2)), ToQColor(clGray)) << "shadow";
    EXPECT_EQ(m_image.pixelColor(box.right() - 3, box.bottom() - 2), ToQColor(clYellow)) << "background";

    legend.TransparentBackGround = true;
    legend.ShadowVisible = false;
    PaintsSomething([&](QPainter& painter) { legend.Draw(painter); });
    EXPECT_FALSE(HasColor(m_image.rect(), clYellow));
    EXPECT_FALSE(HasColor(m_image.rect(), clGray));
}

/// A layer that explains itself with a red-to-blue colour scale.
class TScaledLayer : public TLayer {
public:
    using TLayer::TLayer;
    bool Colored = true;
    bool ShowsColorScale() const override { return Colored; }
    QColor ScaleColor(double fraction) const override { return fraction < 0.5 ? Qt::red : Qt::blue; }
    double MinZ() const override { return -2; }
    double MaxZ() const override { return 6; }
};

TEST_F(LegendTest, ColorLegendNeedsASourceThatUsesColours) {
    TColorLegend& scale = graph.ColorLegend();
    const QRect area(10, 10, 380, 280);
    QRect left = area;
    {
        QPainter painter(&m_image);
        scale.Reserve(painter, left);
    }
    EXPECT_FALSE(scale.Shown());
    EXPECT_EQ(left, area) << "no source, no space";

    auto owned = std::make_unique<TScaledLayer>(graph);
    TScaledLayer& layer = *owned;
    graph.AddLayer(std::move(owned));
    scale.Source = &layer;
    layer.Colored = false;
    EXPECT_FALSE(scale.Shown()) << "a source without colours";
    layer.Colored = true;
    EXPECT_TRUE(scale.Shown());
    {
        QPainter painter(&m_image);
        scale.Reserve(painter, left);
    }
    EXPECT_LT(left.right(), area.right());
    EXPECT_GT(scale.Rect.left(), left.right());
    EXPECT_TRUE(PaintsSomething([&](QPainter& painter) { scale.Draw(painter); }));
    EXPECT_TRUE(HasColor(scale.Rect, clRed)) << "low end of the bar";
    EXPECT_TRUE(HasColor(scale.Rect, clBlue)) << "high end of the bar";

    graph.DeleteLayer(graph.IndexOf(&layer));
    EXPECT_FALSE(scale.Shown()) << "a source that left the graph";
}

} // namespace
} // namespace mirla
