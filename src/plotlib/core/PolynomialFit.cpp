#include "plotlib/core/PolynomialFit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

/// Number of different values in `x`, or -1 when one is not a finite number.
int DistinctFiniteCount(std::span<const double> x) {
    std::vector<double> sorted(x.begin(), x.end());
    if (!std::all_of(sorted.begin(), sorted.end(), [](double v) { return std::isfinite(v); }))
        return -1;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<int>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

/// The coefficients of X^k of the polynomial with coefficients `scaled` of t^k, t = (X - centre) /
/// halfWidth, expanded by Horner's scheme: q := q * t + a_k from the highest k down.
std::vector<double> Unscaled(const std::vector<double>& scaled, double centre, double halfWidth) {
    const double slope = 1 / halfWidth;
    const double offset = -centre / halfWidth;
    std::vector<double> q{scaled.back()};
    for (auto k = static_cast<int>(scaled.size()) - 2; k >= 0; --k) {
        std::vector<double> next(q.size() + 1, 0.0);
        for (std::size_t j = 0; j < q.size(); ++j) {
            next[j] += offset * q[j];
            next[j + 1] += slope * q[j];
        }
        next[0] += scaled[k];
        q = std::move(next);
    }
    return q;
}

} // namespace

double TPolynomialFit::ValueAt(double x) const {
    const double t = (x - Centre) / HalfWidth;
    double value = 0;
    for (auto k = ScaledCoefficients.rbegin(); k != ScaledCoefficients.rend(); ++k)
        value = value * t + *k;
    return value;
}

std::optional<TPolynomialFit> FitPolynomial(std::span<const double> x, std::span<const double> y,
                                            int degree) {
    if (degree < 0 || x.size() != y.size() || DistinctFiniteCount(x) < degree + 1 ||
        !std::all_of(y.begin(), y.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    TPolynomialFit fit;
    fit.Centre = (*low + *high) / 2;
    fit.HalfWidth = (*high - *low) / 2;
    // Powers of X far from 0 or of a high degree do not fit a double and lose every digit in the
    // normal equations; powers of t in [-1, 1] solved by QR keep them.
    const auto rows = static_cast<Eigen::Index>(x.size());
    Eigen::MatrixXd powers(rows, degree + 1);
    for (Eigen::Index i = 0; i < rows; ++i) {
        const double t = (x[i] - fit.Centre) / fit.HalfWidth;
        double power = 1;
        for (int k = 0; k <= degree; ++k, power *= t)
            powers(i, k) = power;
    }
    const Eigen::VectorXd values = Eigen::Map<const Eigen::VectorXd>(y.data(), rows);
    const Eigen::VectorXd solution = powers.colPivHouseholderQr().solve(values);
    fit.ScaledCoefficients.assign(solution.begin(), solution.end());
    fit.Coefficients = Unscaled(fit.ScaledCoefficients, fit.Centre, fit.HalfWidth);
    return fit;
}

std::vector<TCurvePoint> SampleFit(const TPolynomialFit& fit, double from, double to, int count) {
    std::vector<TCurvePoint> points;
    const double step = (to - from) / (count - 1);
    for (int j = 0; j < count; ++j) {
        const double x = from + j * step;
        points.push_back({x, fit.ValueAt(x)});
    }
    return points;
}

} // namespace mirla
