#include "plotlib/Contour.h"
#include "plotlib/DxfDevice.h"
#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/LayerFiles.h"
#include "plotlib/Legend.h"
#include "plotlib/Series.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace mirla {
namespace {

TSeries& AddSeries(TGraph& graph, const std::string& name, TColor color, std::vector<double> ys) {
    auto series = std::make_unique<TSeries>(graph, name, ssLineAndPoint, color);
    for (std::size_t i = 0; i < ys.size(); ++i)
        series->AddPoint(color, std::string(), static_cast<double>(i), ys[i]);
    TSeries& added = *series;
    graph.AddLayer(std::move(series));
    return added;
}

TSeries& SeriesAt(const TGraph& graph, int index) {
    return dynamic_cast<TSeries&>(*graph.Layer(index));
}

/// sin(X) * cos(Y) on a 9 x 7 grid over 0..4 x `bottom`..`bottom` + 3 with node (2, 3) missing;
/// Y per node (each column raised a little more) when `nodeY` is set.
TContourGrid Wave(double bottom, bool nodeY) {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
    for (int i = 0; i < 9; ++i) {
        x.push_back(i * 0.5);
        for (int j = 0; j < 7; ++j) {
            z.push_back(i == 2 && j == 3 ? MissingValue : std::sin(i * 0.5) * std::cos(j * 0.5));
            if (nodeY || i == 0)
                y.push_back(bottom + j * 0.5 + (nodeY ? i * 0.01 : 0));
        }
    }
    return nodeY ? TContourGrid(x, 7, y, z) : TContourGrid(x, y, z);
}

/// A labelled map of lines with a contour added by a click, and a shaded map above it.
void AddMaps(TGraph& graph) {
    auto lines = std::make_unique<TContour>(graph, false, 6, Wave(0, false));
    lines->SetName("sin(X)*cos(Y)");
    lines->LabelDigits = 3;
    lines->LabelFont.Name = "DejaVu Sans";
    lines->Levels.UserLevelsOn = true;
    lines->Levels.UserLevels = {"0.25", "not a level"};
    lines->Levels.UserStep = "0.3";
    lines->Recompute();
    lines->SetEditMode(emAddContour);
    lines->MouseUp({Qt::LeftButton, Qt::NoModifier, QPoint(), 3.3, 0.7});
    lines->SetEditMode(emNone);
    AddMapWithLegends(graph, std::move(lines));
    auto shade = std::make_unique<TContour>(graph, true, 1, Wave(4, true));
    shade->SetName("shade");
    shade->Palette = 5;
    shade->SquareSize = 3;
    shade->Levels.FixedMin = true;
    shade->Levels.MinLimit = -0.5;
    AddMapWithLegends(graph, std::move(shade));
}

QImage Picture(TGraph& graph) {
    QImage image(300, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    graph.Draw(painter, image.rect(), TDrawTarget::Export);
    return image;
}

TEST(LayerFiles, SeriesRoundTrip) {
    TGraph source;
    TSeries& a = AddSeries(source, "f(x) = x / 3", clRed, {0.1, 1.0 / 3.0, -2e300});
    a.SetPointName(1, "the third");
    a.SetPointColor(2, clBlue);
    a.SetStyle(ssBar);
    a.SetLineStyle(psDashDot);
    a.SetLineWidth(3);
    a.SetMarkerStyle(msDiamond1);
    a.SetMarkerSize(7);
    a.SetMarkerFillColor(clYellow);
    a.SetMarkerStep(2);
    a.SetBarWidth(0.5);
    a.SetShowInLegend(false);
    a.SetUsesYAxis2(true);
    a.SetSelected(true);
    AddSeries(source, "second", clGreen, {4, 5}).SetVisible(false);

    TGraph copy;
    std::string error;
    ASSERT_TRUE(LoadLayersText(copy, LayersText(source), false, error)) << error;
    ASSERT_EQ(copy.LayerCount(), 2);
    EXPECT_EQ(LayersText(copy), LayersText(source));
    const TSeries& b = SeriesAt(copy, 0);
    EXPECT_EQ(b.Name(), a.Name());
    EXPECT_EQ(b.Y(1), 1.0 / 3.0);
    EXPECT_EQ(b.PointName(1), "the third");
    EXPECT_EQ(b.PointColor(2), clBlue);
    EXPECT_EQ(b.Style(), ssBar);
    EXPECT_EQ(b.MarkerStyle(), msDiamond1);
    EXPECT_TRUE(b.UsesYAxis2());
    EXPECT_TRUE(b.Selected());
    EXPECT_FALSE(SeriesAt(copy, 1).Visible());
    // Only the series shown in the legend gets an entry.
    EXPECT_EQ(copy.Legend().Count(), 1);
    EXPECT_EQ(copy.Legend().IndexOfSeries(&SeriesAt(copy, 1)), 0);
}

TEST(LayerFiles, FitSeriesRoundTrip) {
    TGraph source;
    TSeries& data = AddSeries(source, "data", clRed, {1, 3, 7, 13});
    source.AddLayer(std::make_unique<TFitSeries>(source, data, 200, 2));

    TGraph copy;
    std::string error;
    ASSERT_TRUE(LoadLayersText(copy, LayersText(source), false, error)) << error;
    ASSERT_EQ(copy.LayerCount(), 2);
    EXPECT_EQ(LayersText(copy), LayersText(source));
    const auto& fit = dynamic_cast<const TFitSeries&>(*copy.Layer(1));
    EXPECT_EQ(fit.Degree(), 2);
    EXPECT_EQ(fit.Count(), 200);
    // y = x^2 + x + 1 through the four points.
    EXPECT_NEAR(fit.Coefficients()[2], 1, 1e-12);
    EXPECT_NEAR(fit.Coefficients()[0], 1, 1e-12);
}

TEST(LayerFiles, ContourRoundTrip) {
    TGraph source;
    AddMaps(source);
    const auto& edited = dynamic_cast<const TContour&>(*source.Layer(0));
    ASSERT_EQ(edited.Lines().front().Level, NormalizeLevel(Wave(0, false).ValueAt(3.3, 0.7)))
        << "the click added a contour first";

    TGraph copy;
    std::string error;
    ASSERT_TRUE(LoadLayersText(copy, LayersText(source), false, error)) << error;
    ASSERT_EQ(copy.LayerCount(), 2);
    EXPECT_EQ(LayersText(copy), LayersText(source));
    EXPECT_EQ(Picture(copy), Picture(source));
    const auto& loaded = dynamic_cast<const TContour&>(*copy.Layer(0));
    EXPECT_EQ(loaded.Lines().size(), edited.Lines().size());
    EXPECT_EQ(loaded.Lines().front().Label->Text, edited.Lines().front().Label->Text);
    EXPECT_EQ(loaded.Grid().Z(2, 3), MissingValue);
    EXPECT_TRUE(dynamic_cast<const TContour&>(*copy.Layer(1)).Grid().HasNodeY());
    EXPECT_EQ(copy.ColorLegend().Source, copy.Layer(1));
    EXPECT_EQ(copy.Legend().IndexOfCaption("sin(X)*cos(Y)"), 0);
    // A map replaced by name keeps the one legend entry of its name.
    ASSERT_TRUE(LoadLayersText(copy, LayersText(source), true, error)) << error;
    EXPECT_EQ(copy.LayerCount(), 2);
    EXPECT_EQ(copy.Legend().Count(), 1);
}

TEST(LayerFiles, ReplacingByName) {
    TGraph source;
    AddSeries(source, "kept", clRed, {1});
    AddSeries(source, "new", clBlue, {2, 3});
    const std::string text = LayersText(source);

    for (const bool replace : {false, true}) {
        TGraph graph;
        AddSeries(graph, "new", clGreen, {9});
        AddSeries(graph, "other", clGreen, {9});
        std::string error;
        ASSERT_TRUE(LoadLayersText(graph, text, replace, error));
        std::vector<std::string> names;
        for (int i = 0; i < graph.LayerCount(); ++i)
            names.push_back(graph.Layer(i)->Name());
        const std::vector<std::string> expected =
            replace ? std::vector<std::string>{"other", "kept", "new"}
                    : std::vector<std::string>{"new", "other", "kept", "new"};
        EXPECT_EQ(names, expected) << "replace " << replace;
    }
}

TEST(LayerFiles, AFaultNamesTheLineAndChangesNothing) {
    TGraph source;
    AddSeries(source, "a", clRed, {1, 2});
    AddSeries(source, "b", clBlue, {3, 4});
    const std::string good = LayersText(source);
    struct TCase {
        const char* Name;
        std::string Text;
        int Line;
    };
    std::string badPoint = good;
    badPoint.replace(badPoint.rfind("1 4 "), 4, "1 x ");
    TGraph maps;
    AddMaps(maps);
    const std::string map = LayersText(maps);
    // Lines 1 to 3 head the map, 4 holds its settings, 5 the label font, 6 the level settings,
    // 7 the number of user levels, 8 and 9 those levels, 10 the grid's size, 11 its X values,
    // 12 its Y values and 13 to 21 its columns of Z values.
    const auto lineStart = [&map](int number) {
        std::size_t start = 0;
        for (int k = 1; k < number; ++k)
            start = map.find('\n', start) + 1;
        return start;
    };
    const auto mapWithLine = [&](int number, const std::string& line) {
        std::string text = map;
        const std::size_t start = lineStart(number);
        text.replace(start, text.find('\n', start) - start, line);
        return text;
    };
    const TCase cases[] = {
        {"an unknown class", "TWidget\n0 1 0 0 0 0 w\nTWidget\n", 1},
        {"a bad point in the second layer", badPoint, 14},
        {"a style out of range", "TSeries\n0 1 12 1 0.7 0 s\nTSeries\n0 1 0 4 0 0 0 1 0 0\n0\n", 3},
        {"more points announced than written",
         "TSeries\n0 1 2 1 0.7 0 s\nTSeries\n0 1 0 4 0 0 1 1 0 0\n2\n1 2 0\n", 7},
        {"a palette out of range", mapWithLine(4, "1 0 0 3 8 2 0"), 4},
        {"a grid value that is not a number", mapWithLine(15, "0 0 x 0 0 0 0"), 15},
        {"a grid row too short", mapWithLine(16, "0 0"), 16},
        {"a map cut short", map.substr(0, lineStart(31)), 31},
    };
    for (const TCase& c : cases) {
        TGraph graph;
        AddSeries(graph, "a", clGreen, {9});
        std::string error;
        EXPECT_FALSE(LoadLayersText(graph, c.Text, true, error)) << c.Name;
        EXPECT_TRUE(error.starts_with("line " + std::to_string(c.Line) + ":")) << c.Name << ": " << error;
        ASSERT_EQ(graph.LayerCount(), 1) << c.Name;
        EXPECT_EQ(SeriesAt(graph, 0).Y(0), 9) << c.Name;
    }
}

/// What a DXF reader finds in a file: the layer table and the entities per layer.
class TDxfContents : public DL_CreationAdapter {
public:
    void addLayer(const DL_LayerData& data) override { Layers.push_back(data.name); }
    void addLine(const DL_LineData& data) override {
        ++Lines[getAttributes().getLayer()];
        for (const double y : {data.y1, data.y2})
            MaxY = std::max(MaxY, y);
    }
    void addSolid(const DL_SolidData&) override { ++Solids[getAttributes().getLayer()]; }
    std::vector<std::string> Layers;
    std::map<std::string, int> Lines;
    std::map<std::string, int> Solids;
    double MaxY = 0;
};

TEST(DxfRecording, APlotReadsBackWithItsLayers) {
    TGraph graph;
    AddSeries(graph, "a b/c", clRed, {0, 4, 1, 3});
    AddSeries(graph, "bars", clBlue, {2, 1}).SetStyle(ssBar);
    graph.Title.Text = "Title";
    const std::string text = GraphDxf(graph, QSize(400, 300));

    std::istringstream stream(text);
    TDxfContents contents;
    DL_Dxf reader;
    ASSERT_TRUE(reader.in(stream, &contents));
    EXPECT_EQ(contents.Layers, (std::vector<std::string>{"0", "A_B_C"}));
    // The three segments of the curve, cut to the plot area but not lost.
    EXPECT_GE(contents.Lines["A_B_C"], 3);
    // Frame, axes, ticks and the glyphs of the title are drawn on the base layer.
    EXPECT_GT(contents.Lines["0"], 20);
    // The bars of a group are filled rectangles.
    EXPECT_GE(contents.Solids["0"], 2);
    EXPECT_LE(contents.MaxY, 300);
    EXPECT_EQ(text.find(" 10\n0\n 20\n0\n 11\n0\n 21\n300\n"), std::string::npos)
        << "the background is not recorded";
}

TEST(DxfRecording, AContourMapKeepsItsLines) {
    TGraph graph;
    auto map = std::make_unique<TContour>(graph, false, 6, Wave(0, false));
    map->SetName("waves");
    map->LabelsOn = false;
    std::size_t segments = 0;
    for (const TContourLine& line : map->Lines())
        segments += line.Points.size() - 1;
    ASSERT_GT(segments, 20u);
    graph.AddLayer(std::move(map));

    std::istringstream stream(GraphDxf(graph, QSize(400, 300)));
    TDxfContents contents;
    DL_Dxf reader;
    ASSERT_TRUE(reader.in(stream, &contents));
    EXPECT_EQ(contents.Layers, (std::vector<std::string>{"0", "WAVES"}));
    // Every segment of the traced lines lies in the plot area and is recorded on the map's layer.
    EXPECT_EQ(contents.Lines["WAVES"], static_cast<int>(segments));
}

} // namespace
} // namespace mirla
