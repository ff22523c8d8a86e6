#pragma once

#include "plotlib/core/PlotTypes.h"

#include <string>
#include <vector>

namespace mirla {

/// What the tick computation needs to know about an axis and its graph.
struct TTickRequest {
    double Min = 0;                       ///< world limit (either end)
    double Max = 1;                       ///< world limit (either end)
    TAxisLabelStyle LabelStyle = asFloat; ///< asInteger may switch to integer labelling
    bool AutoMax = true;                  ///< the maximum is automatic and may be rounded
    bool Zoomed = false;                  ///< the zoom stack is not empty
    bool GraphHasData = true;             ///< some layer of the graph has a data point
};

/// Ticks of a linear axis: the first tick value, the step between ticks (minor step), the number of ticks,
/// minor steps per major tick, label digits; RoundedMax is the max rounded to Digits+1 decimals when AutoMax
/// and not zoomed (else Max unchanged); IntegerLabels tells that integer labelling applied (the drawing then
/// starts at rnd(world min - 0.5), which is also what First holds then).
struct TTickLayout {
    double First = 0;           ///< value of the first tick
    double Step = 0.1;          ///< distance between neighbouring ticks
    int Count = 0;              ///< number of ticks, 0 when the range is empty
    int MinorPerMajor = 5;      ///< ticks 0, k, 2k, ... are major
    int Digits = 1;             ///< decimals of the labels
    double RoundedMax = 1;      ///< the maximum an automatic axis adopts
    bool IntegerLabels = false; ///< integer labelling applied
};

/// The tick rule for a range (min > max swapped first; an empty or non-finite range gives Count 0).
TTickLayout ComputeTicks(const TTickRequest& request);

/// One tick of a logarithmic axis: its real value, whether it is a decade (major, labelled) and the decade's
/// exponent.
struct TLogTick {
    double Value; ///< real value (not log10)
    bool Decade;  ///< a power of ten: major and labelled
    int Exponent; ///< log10 of the tick's decade
};

/// Ticks of a logarithmic axis whose world limits are logMin..logMax in log10 units (1, 2, ..., 9 times each
/// power of ten), within the limits, in rising order; an inverted axis passes its limits in either order.
std::vector<TLogTick> LogTicks(double logMin, double logMax);

/// The label text of a tick value with `digits` decimals: fixed format without trailing zeros, or, below
/// 0.001 and from 1000000 on, general format written like "1.5E-5" or "2.0E6"; a rounding residue next to
/// zero on a linear axis (|step/v| > 1e6) reads "0.0".
std::string AxisLabelText(double value, int digits, double step, bool linear);

/// rnd: nearest integer, halves to even.
double RoundHalfEven(double x);

} // namespace mirla
