#pragma once

#include "plotlib/core/CurveOperations.h"

namespace mirla {

class TFitSeries;
class TGraph;
class TSeries;

/// Points of a fitted curve.
inline constexpr int FitPointCount = 200;

/// Makes the derivative of `source` (named after it with "'"), a line in a free colour with its
/// legend entry, and inserts it at the front of the layers so that it is drawn beneath the others.
TSeries& AddDerivative(TGraph& graph, const TSeries& source);

/// Makes the curve `a` combined with `b` by `operation` (named "a+b", "a-b", "axb" or "a/b"), a line
/// in a free colour with its legend entry, and appends it to the layers. Nothing is added, and
/// nullptr returned, when a result is not a finite number (a zero divisor, an overflow).
TSeries* AddCombination(TGraph& graph, const TSeries& a, const TSeries& b, TCurveOperation operation);

/// Makes the least-squares polynomial of degree `degree` fitted to `source` (`FitPointCount`
/// points, see `TFitSeries`) with its legend entry and appends it to the layers.
TFitSeries& AddFit(TGraph& graph, const TSeries& source, int degree);

} // namespace mirla
