#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace mirla {

/// One point of a curve made by an operation.
struct TCurvePoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TCurvePoint&) const = default;
};

/// The numerical derivative of the curve through (x[i], y[i]): for each pair of neighbours the
/// difference quotient at the middle of their X values. A pair with equal X has no quotient and
/// gives no point; fewer than two points give none.
std::vector<TCurvePoint> Derivative(std::span<const double> x, std::span<const double> y);

/// The four operations that combine two curves point by point.
enum class TCurveOperation { Add, Subtract, Multiply, Divide };

/// The sign that names the result of `operation`: "+", "-", "x" or "/".
const char* OperationSign(TCurveOperation operation);

/// The curve A (x[i], y[i]) combined with curve B: at each X of A, A's Y and B's value there
/// (`valueOfB`, which gives `MissingValue` where B has no segment) are added, subtracted,
/// multiplied or divided. X values where B has no value are skipped. Nothing when any result is
/// not a finite number (a zero divisor, an overflow).
std::optional<std::vector<TCurvePoint>> Combine(std::span<const double> x, std::span<const double> y,
                                                const std::function<double(double)>& valueOfB,
                                                TCurveOperation operation);

} // namespace mirla
