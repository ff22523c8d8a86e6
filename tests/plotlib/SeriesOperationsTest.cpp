#include "plotlib/SeriesOperations.h"

#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace mirla {
namespace {

/// Adds a series "S" through the points (x[i], y[i]) to `graph`.
const TSeries& AddSource(TGraph& graph, TColor color, const std::vector<double>& x,
                         const std::vector<double>& y) {
    auto series = std::make_unique<TSeries>(graph, "S", ssPoints, color);
    for (std::size_t i = 0; i < x.size(); ++i)
        series->AddPoint(color, "", x[i], y[i]);
    return static_cast<const TSeries&>(*graph.Layer(graph.AddLayer(std::move(series))));
}

TEST(SeriesOperations, FitOfALineReproducesItOverTheSourceRange) {
    TGraph graph;
    const TSeries& source = AddSource(graph, RgbColor(200, 100, 30), {1, 2, 3, 4, 5}, {3, 5, 7, 9, 11});
    TFitSeries& fit = AddFit(graph, source, 1);
    EXPECT_EQ(graph.Layer(1), &fit);
    EXPECT_EQ(fit.Name(), "SFit1");
    EXPECT_EQ(fit.Style(), ssLine);
    EXPECT_EQ(fit.Color(), RgbColor(136, 36, 0));
    EXPECT_EQ(graph.Legend().IndexOfSeries(&fit), 0);
    ASSERT_EQ(fit.Count(), FitPointCount);
    EXPECT_EQ(fit.X(0), 1);
    EXPECT_DOUBLE_EQ(fit.X(FitPointCount - 1), 5);
    for (int j : {0, 71, FitPointCount - 1})
        EXPECT_NEAR(fit.Y(j), 2 * fit.X(j) + 1, 1e-12) << "point " << j;
    EXPECT_NEAR(fit.Coefficients()[0], 1, 1e-12);
    EXPECT_NEAR(fit.Coefficients()[1], 2, 1e-12);
    EXPECT_EQ(fit.Coefficients()[2], 0);
}

TEST(SeriesOperations, FitWithoutASingleSolutionIsAddedEmpty) {
    TGraph graph;
    TFitSeries& fit = AddFit(graph, AddSource(graph, clRed, {1, 1, 2, 3}, {1, 2, 3, 4}), 3);
    EXPECT_EQ(graph.IndexOf(&fit), 1);
    EXPECT_EQ(fit.Name(), "SFit3");
    EXPECT_EQ(fit.Count(), 0);
    EXPECT_EQ(fit.Coefficients()[0], 0);
}

} // namespace
} // namespace mirla
