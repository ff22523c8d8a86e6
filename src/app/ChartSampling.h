#pragma once

#include "engine/Extended.h"

#include <functional>
#include <string>
#include <vector>

namespace mirla {

struct EvalContext;
class TComplexEvaluator;
class TVtChartData;

/// Shows how far a sampling has come, 0 to 100 percent.
using TSamplingProgress = std::function<void(int percent)>;

/// Evaluates the engine's input text once; with `complex` (complex mode) the text is evaluated
/// as a complex line and the first part of its value taken. False when the evaluation failed or
/// gave a value beyond doubles (an overflow); the engine's error state tells which.
bool EvaluatePoint(EvalContext& engine, TComplexEvaluator* complex, double& value);

/// Lets window messages through, honours a requested break and evaluates the engine's input
/// text once; false, with the engine's error state set, on a break or as `EvaluatePoint`.
bool SamplePoint(EvalContext& engine, double& value);

/// The points of a surface: X from `A` in `Nx` steps of `Hx`, Y from `P` in `Ny` steps of `Hy`.
struct TSurfaceGrid {
    Extended A = 0;
    Extended Hx = 0;
    int Nx = 0;
    Extended P = 0;
    Extended Hy = 0;
    int Ny = 0;
};

/// Samples Z = f(X,Y), the engine's input text (blank-free), at every point of `grid` into
/// `chart`: `Nx` rows labelled with X and `Ny` columns labelled with Y (`RealToText` width 7),
/// each cell the value there. Progress and window messages pass every few milliseconds; a break
/// is honoured at every point. False, with the engine's error state set, at the first point that
/// fails or when the user breaks off; `chart` then holds a part of the grid.
bool SampleSurface(EvalContext& engine, TComplexEvaluator* complex, const TSurfaceGrid& grid,
                   TVtChartData& chart, const TSamplingProgress& progress);

/// Samples r = f(X), the engine's input text (blank-free), for `n` angles from `a` degrees in
/// steps of `h` degrees; the expression sees each angle in radians. Appends the angles (degrees)
/// and radii; false as for `SampleSurface`.
bool SamplePolar(EvalContext& engine, Extended a, Extended h, int n, std::vector<double>& angles,
                 std::vector<double>& radii, const TSamplingProgress& progress);

} // namespace mirla
