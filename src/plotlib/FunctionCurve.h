#pragma once

#include <memory>
#include <string>

namespace mirla {

class TGraph;
class TSeries;

/// A new curve for a function plot of `graph`, not yet added to it: named `name`, drawn with
/// lines and markers (one marker every `steps` / 20 points) in a colour and a marker shape that
/// no layer of the graph uses.
std::unique_ptr<TSeries> NewFunctionCurve(TGraph& graph, const std::string& name, int steps);

/// Gives a curve of the graph its entry in the graph's legend.
void AddLineLegend(TGraph& graph, TSeries& curve);

} // namespace mirla
