#include "plotlib/DxfDevice.h"
#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/LayerFiles.h"
#include "plotlib/Legend.h"
#include "plotlib/Series.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <gtest/gtest.h>

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
    const TCase cases[] = {
        {"an unknown class", "TWidget\n0 1 0 0 0 0 w\nTWidget\n", 1},
        {"a bad point in the second layer", badPoint, 14},
        {"a style out of range", "TSeries\n0 1 12 1 0.7 0 s\nTSeries\n0 1 0 4 0 0 0 1 0 0\n0\n", 3},
        {"more points announced than written",
         "TSeries\n0 1 2 1 0.7 0 s\nTSeries\n0 1 0 4 0 0 1 1 0 0\n2\n1 2 0\n", 7},
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

} // namespace
} // namespace mirla
