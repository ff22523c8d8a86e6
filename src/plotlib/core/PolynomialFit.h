#pragma once

#include "plotlib/core/CurveOperations.h"

#include <optional>
#include <span>
#include <vector>

namespace mirla {

/// A least-squares polynomial fitted to a curve. It is solved and evaluated in the scaled variable
/// t = (X - Centre) / HalfWidth, which runs from -1 to 1 over the data, and also kept as the
/// coefficients of the powers of X itself.
struct TPolynomialFit {
    double Centre = 0;
    double HalfWidth = 1;
    /// Coefficients of t^0 .. t^m.
    std::vector<double> ScaledCoefficients;
    /// Coefficients c0 .. cm of X^0 .. X^m.
    std::vector<double> Coefficients;

    /// The polynomial's value at `x`.
    double ValueAt(double x) const;
};

/// The polynomial of degree `degree` that fits the points (x[i], y[i]) best in the least-squares
/// sense. Nothing when the problem has no single solution (fewer distinct X values than
/// degree + 1, a negative degree) or a coordinate is not a finite number.
std::optional<TPolynomialFit> FitPolynomial(std::span<const double> x, std::span<const double> y, int degree);

/// `count` points of `fit` evenly spaced from `from` to `to` (both included; `count` >= 2).
std::vector<TCurvePoint> SampleFit(const TPolynomialFit& fit, double from, double to, int count);

} // namespace mirla
