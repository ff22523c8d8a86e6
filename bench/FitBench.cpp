// Least-squares polynomial fits of the plot component on many points. The counter "error" is the
// largest distance of the fitted curve from the exact polynomial the noise-free points lie on,
// relative to the polynomial's largest value over the range.
#include "plotlib/core/PolynomialFit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace mirla {
namespace {

/// A polynomial of degree 10 in the scaled variable with roots spread over the range.
double Exact(double x, double from, double to) {
    const double t = (2 * x - from - to) / (to - from);
    double value = 1;
    for (int k = 0; k < 10; ++k)
        value *= t - (-0.95 + 0.19 * k);
    return value;
}

/// A degree-10 fit of `state.range(0)` points spread over X from 1000 to 1100, where powers of X
/// reach 1e30.
void PolynomialFit10(benchmark::State& state) {
    constexpr double From = 1000;
    constexpr double To = 1100;
    const auto count = static_cast<int>(state.range(0));
    std::vector<double> x, y;
    for (int i = 0; i < count; ++i) {
        x.push_back(From + (To - From) * i / (count - 1));
        y.push_back(Exact(x.back(), From, To));
    }
    std::optional<TPolynomialFit> fit;
    for (auto _ : state) {
        fit = FitPolynomial(x, y, 10);
        benchmark::DoNotOptimize(fit);
    }
    if (!fit) {
        state.SkipWithError("the fit found no solution");
        return;
    }
    double error = 0;
    double largest = 0;
    for (const TCurvePoint& point : SampleFit(*fit, From, To, 200)) {
        const double exact = Exact(point.X, From, To);
        error = std::max(error, std::abs(point.Y - exact));
        largest = std::max(largest, std::abs(exact));
    }
    state.counters["error"] = error / largest;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(PolynomialFit10)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mirla
