#include "plotlib/SeriesOperations.h"

#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/Legend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// A graph holding series made from lists of X and Y, each with its legend entry.
class SeriesOperationsTest : public testing::Test {
protected:
    TSeries& Add(const std::string& name, TColor color, const std::vector<double>& x,
                 const std::vector<double>& y) {
        auto series = std::make_unique<TSeries>(m_graph, name, ssLineAndPoint, color);
        for (std::size_t i = 0; i < x.size(); ++i)
            series->AddPoint(color, "", x[i], y[i]);
        TSeries& added = *series;
        m_graph.AddLayer(std::move(series));
        auto entry = std::make_unique<TLineLegend>(m_graph);
        added.AttachLegend(entry.get());
        m_graph.Legend().Add(std::move(entry));
        return added;
    }

    /// Expects `series` to be a line listed in the legend under its name.
    void ExpectLineWithLegend(const TSeries& series, const std::string& name) {
        EXPECT_EQ(series.Name(), name);
        EXPECT_EQ(series.Style(), ssLine) << name;
        const int entry = m_graph.Legend().IndexOfSeries(&series);
        ASSERT_GE(entry, 0) << name;
        EXPECT_EQ(m_graph.Legend().Entry(entry).Caption, name);
    }

    TGraph m_graph;
};

TEST_F(SeriesOperationsTest, FitOfALineReproducesItOverTheSourceRange) {
    const TSeries& source = Add("S", RgbColor(200, 100, 30), {1, 2, 3, 4, 5}, {3, 5, 7, 9, 11});
    TFitSeries& fit = AddFit(m_graph, source, 1);
    EXPECT_EQ(m_graph.Layer(1), &fit);
    ExpectLineWithLegend(fit, "SFit1");
    EXPECT_EQ(fit.Color(), RgbColor(136, 36, 0));
    ASSERT_EQ(fit.Count(), FitPointCount);
    EXPECT_EQ(fit.X(0), 1);
    EXPECT_DOUBLE_EQ(fit.X(FitPointCount - 1), 5);
    for (int j : {0, 71, FitPointCount - 1})
        EXPECT_NEAR(fit.Y(j), 2 * fit.X(j) + 1, 1e-12) << "point " << j;
    EXPECT_NEAR(fit.Coefficients()[0], 1, 1e-12);
    EXPECT_NEAR(fit.Coefficients()[1], 2, 1e-12);
    EXPECT_EQ(fit.Coefficients()[2], 0);
}

TEST_F(SeriesOperationsTest, FitWithoutASingleSolutionIsAddedEmpty) {
    const TSeries& source = Add("S", clRed, {1, 1, 2, 3}, {1, 2, 3, 4});
    TFitSeries& fit = AddFit(m_graph, source, 3);
    ExpectLineWithLegend(fit, "SFit3");
    EXPECT_EQ(fit.Count(), 0);
    EXPECT_EQ(fit.Coefficients()[0], 0);
}

} // namespace
} // namespace mirla
