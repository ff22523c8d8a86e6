#pragma once

#include "engine/Extended.h"

#include <functional>
#include <vector>

namespace mirla {

struct EvalContext;
class TComplexEvaluator;
class TVtChartData;

/// Shows how far a sampling has come, 0 to 100 percent.
using TSampleProgress = std::function<void(int percent)>;

/// Evenly spaced sample points: `Count` points from `Low` in steps of `Step`.
struct TSampleAxis {
    Extended Low = 0;
    Extended Step = 0;
    int Count = 0;

    /// `count` points from `low` to `high` (count >= 2).
    static TSampleAxis Spanning(Extended low, Extended high, int count) {
        return {low, (high - low) / (count - 1), count};
    }
    /// Point `i`, counted from 0.
    Extended At(int i) const { return Low + i * Step; }
};

/// The points of a map or surface.
struct TSampleGrid {
    TSampleAxis X;
    TSampleAxis Y;
};

/// Evaluates the engine's input text once; with `complex` (complex mode) the text is evaluated
/// as a complex line and the first part of its value taken. False when the evaluation failed or
/// gave a value beyond doubles (an overflow); the engine's error state tells which.
bool EvaluatePoint(EvalContext& engine, TComplexEvaluator* complex, double& value);

/// Samples y = f(X), the engine's input text (blank-free), at the points of `x`, handing each
/// point to `addPoint`. Progress and window messages pass at every point, and so does a break. False, with the engine's error state set, at the first point that
/// fails or when the user breaks off; the points handed so far stay with the caller.
bool SampleCurve(EvalContext& engine, const TSampleAxis& x, const TSampleProgress& progress,
                 const std::function<void(double x, double y)>& addPoint);

/// Samples Z = f(X,Y), the engine's input text, at every point of `grid`, X outermost, handing
/// each (row i, column j, X, Y, Z) to `addPoint`; `complex` as for `EvaluatePoint`. Progress and
/// window messages pass every few milliseconds, a break is honoured at every point. False as for
/// `SampleCurve`.
bool SampleGrid(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                const TSampleProgress& progress,
                const std::function<void(int i, int j, Extended x, Extended y, double z)>& addPoint);

/// A function of X and Y sampled on a grid: the X and Y values and Z(i, j) at `Z[i * Y.size() + j]`.
struct TSampledGrid {
    std::vector<double> X;
    std::vector<double> Y;
    std::vector<double> Z;
};

/// `SampleGrid` into the X and Y values and the Z matrix of `sampled`.
bool SampleGridValues(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                      const TSampleProgress& progress, TSampledGrid& sampled);

/// `SampleGrid` into `chart`: one row per X, labelled with X, and one column per Y, labelled with
/// Y (`RealToText` width 7), each cell the value there. On failure `chart` holds a part of the grid.
bool SampleSurface(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                   TVtChartData& chart, const TSampleProgress& progress);

/// Samples r = f(X), the engine's input text, at the angles of `degrees`; the expression sees
/// each angle in radians, and the trigonometric functions take radians meanwhile. Appends the
/// angles (degrees) and radii; false as for `SampleCurve`.
bool SamplePolar(EvalContext& engine, const TSampleAxis& degrees, std::vector<double>& angles,
                 std::vector<double>& radii, const TSampleProgress& progress);

} // namespace mirla
