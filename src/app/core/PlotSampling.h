#pragma once

#include "engine/Extended.h"

#include <functional>
#include <string>
#include <vector>

namespace mirla {

struct EvalContext;
class TComplexEvaluator;

/// Hears the progress of a sampling in percent, 0 to 100, at every point.
using TSampleProgress = std::function<void(int percent)>;

/// Point `i` (0-based) of `steps` evenly spaced points from `low` to `high`, in extended precision.
Extended SamplePoint(Extended low, Extended high, int steps, int i);

/// Samples the engine's prepared input at X = a, ..., b (`steps` points), handing each point to
/// `addPoint` as doubles. At every point it reports progress, lets events through and honours a
/// break. False at the first error, which the engine's error state names (a value beyond the
/// range of a double is an overflow); the points handed so far stay with the caller.
bool SampleCurve(EvalContext& engine, Extended a, Extended b, int steps, const TSampleProgress& progress,
                 const std::function<void(double x, double y)>& addPoint);

/// The axis range and number of points of one grid direction.
struct TSampleAxis {
    Extended Low = 0;
    Extended High = 0;
    int Steps = 0;
};

/// A function of X and Y sampled on a grid: the X and Y values and Z(i, j) at `Z[i * Y.size() + j]`.
struct TSampledGrid {
    std::vector<double> X;
    std::vector<double> Y;
    std::vector<double> Z;
};

/// Samples `text` (blank-free engine text) over the grid of `x` and `y`: with the engine, or with
/// `complex` when it is not null, as |text| through "abs(". At every point it reports progress,
/// lets events through and honours a break. False at the first error, which the engine's error
/// state names; `grid` is then incomplete.
bool SampleGrid(EvalContext& engine, TComplexEvaluator* complex, const std::string& text,
                const TSampleAxis& x, const TSampleAxis& y, const TSampleProgress& progress,
                TSampledGrid& grid);

} // namespace mirla
