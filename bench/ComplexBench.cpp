#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"

#include <benchmark/benchmark.h>

#include <complex>
#include <string>

namespace {

using mirla::ComplexValue;

constexpr const char* BenchLine = "sin(comp(1,2))*exp(comp(0.5,0.25))/comp(3,4)";

/// The whole line read and computed by the complex evaluator, the "comp(" parts through the
/// real engine.
void BM_EvaluateComplex(benchmark::State& state) {
    mirla::EvalContext ctx;
    mirla::TComplexEvaluator evaluator(ctx);
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    ComplexValue value;
    for (auto _ : state) {
        std::string text = BenchLine;
        evaluator.EvaluateComplex(text, failed, errorPos, value, errorLength);
        benchmark::DoNotOptimize(value);
    }
    if (failed)
        state.SkipWithError("the benchmark line failed to evaluate");
}
BENCHMARK(BM_EvaluateComplex);

/// The same computation written directly with the standard library's extended complex type.
void BM_StdComplexSameComputation(benchmark::State& state) {
    std::complex<long double> a(1, 2);
    std::complex<long double> b(0.5L, 0.25L);
    std::complex<long double> c(3, 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(c);
        std::complex<long double> result = std::sin(a) * std::exp(b) / c;
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_StdComplexSameComputation);

} // namespace
