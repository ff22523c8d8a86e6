#include "plotlib/SeriesOperations.h"

#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/Legend.h"

#include <memory>

namespace mirla {

namespace {

/// A line series named `name` in a free colour through `points`.
std::unique_ptr<TSeries> LineSeries(TGraph& graph, const std::string& name,
                                    const std::vector<TCurvePoint>& points) {
    const TColor color = graph.FreeColor();
    auto series = std::make_unique<TSeries>(graph, name, ssLine, color);
    for (const TCurvePoint& point : points)
        series->AddPoint(color, "", point.X, point.Y);
    return series;
}

/// Gives `series` a new entry in the line legend.
void AddLegendEntry(TGraph& graph, TSeries& series) {
    auto entry = std::make_unique<TLineLegend>(graph);
    series.AttachLegend(entry.get());
    graph.Legend().Add(std::move(entry));
}

/// Hands `series` to the graph at `index` with its legend entry.
template <typename T> T& Insert(TGraph& graph, int index, std::unique_ptr<T> series) {
    T& added = *series;
    graph.InsertLayer(index, std::move(series));
    AddLegendEntry(graph, added);
    return added;
}

} // namespace

TSeries& AddDerivative(TGraph& graph, const TSeries& source) {
    return Insert(graph, 0,
                  LineSeries(graph, source.Name() + "'", Derivative(source.XValues(), source.YValues())));
}

TSeries* AddCombination(TGraph& graph, const TSeries& a, const TSeries& b, TCurveOperation operation) {
    const auto points = Combine(
        a.XValues(), a.YValues(), [&b](double x) { return b.ValueAt(x); }, operation);
    if (!points)
        return nullptr;
    const std::string name = a.Name() + OperationSign(operation) + b.Name();
    return &Insert(graph, graph.LayerCount(), LineSeries(graph, name, *points));
}

TFitSeries& AddFit(TGraph& graph, const TSeries& source, int degree) {
    return Insert(graph, graph.LayerCount(),
                  std::make_unique<TFitSeries>(graph, source, FitPointCount, degree));
}

} // namespace mirla
