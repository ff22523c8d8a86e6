#include "plotlib/FunctionCurve.h"

#include "plotlib/Graph.h"
#include "plotlib/Legend.h"
#include "plotlib/Series.h"

namespace mirla {

namespace {

constexpr int MarkersPerCurve = 20;

} // namespace

std::unique_ptr<TSeries> NewFunctionCurve(TGraph& graph, const std::string& name, int steps) {
    const TColor colour = graph.FreeColor();
    auto curve = std::make_unique<TSeries>(graph, name, ssLineAndPoint, colour);
    curve->SetMarkerStyle(graph.FreeMarker());
    curve->SetMarkerColor(colour);
    curve->SetMarkerStep(steps / MarkersPerCurve);
    return curve;
}

void AddLineLegend(TGraph& graph, TSeries& curve) {
    auto entry = std::make_unique<TLineLegend>(graph);
    curve.AttachLegend(entry.get());
    graph.Legend().Add(std::move(entry));
}

} // namespace mirla
