// The engine's sine, cosine and exponential beside the C library's, over the arguments of the
// evaluation sweep.
#include "Sweep.h"
#include "engine/Exponential.h"
#include "engine/Trigonometry.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace mirla {
namespace {

void Sweeping(benchmark::State& state, Extended (*function)(Extended)) {
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(function(bench::SweepPoint(i++)));
}

Extended LibrarySine(Extended t) {
    return std::sin(t);
}
Extended LibraryCosine(Extended t) {
    return std::cos(t);
}
Extended LibraryExponential(Extended t) {
    return std::exp(-t);
}
/// The exponential over [-10, 0], where the evaluation sweep takes it.
Extended NegatedExponential(Extended t) {
    return Exponential(-t);
}

BENCHMARK_CAPTURE(Sweeping, Sine, Sine);
BENCHMARK_CAPTURE(Sweeping, LibrarySine, LibrarySine);
BENCHMARK_CAPTURE(Sweeping, Cosine, Cosine);
BENCHMARK_CAPTURE(Sweeping, LibraryCosine, LibraryCosine);
BENCHMARK_CAPTURE(Sweeping, Exponential, NegatedExponential);
BENCHMARK_CAPTURE(Sweeping, LibraryExponential, LibraryExponential);

} // namespace
} // namespace mirla
