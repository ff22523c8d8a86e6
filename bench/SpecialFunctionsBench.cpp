#include "engine/SpecialFunctions.h"

#include <benchmark/benchmark.h>

namespace mirla {
namespace {

using Binary = Extended (*)(EvalContext&, Extended, Extended);

/// Times one special function at fixed arguments with the default integration agreement.
void CallSpecial(benchmark::State& state, Binary function, Extended a, Extended b) {
    EvalContext ctx;
    for (auto _ : state) {
        benchmark::DoNotOptimize(function(ctx, a, b));
    }
    if (ctx.ErrorFlag) {
        state.SkipWithError("the call raised an engine error");
    }
}

Extended GammaOf(EvalContext& ctx, Extended x, Extended /*unused*/) {
    return Gamma(ctx, x);
}

BENCHMARK_CAPTURE(CallSpecial, BesselJ_2_5_10, BesselJ, 2.5L, 10);
BENCHMARK_CAPTURE(CallSpecial, BesselK_1_2, BesselK, 1, 2);
BENCHMARK_CAPTURE(CallSpecial, Gamma_10_5, GammaOf, 10.5L, 0);
BENCHMARK_CAPTURE(CallSpecial, FermiDirac_0_5_2, FermiDirac, 0.5L, 2);

} // namespace
} // namespace mirla
