#include "numbers/RealFormat.h"

#include <benchmark/benchmark.h>

#include <array>

namespace mirla {
namespace {

/// Values that every notation and base can show: within the 32-bit range, and below
/// 596523 hours for the sexagesimal form.
constexpr std::array<Extended, 8> ShownValues = {
    0.000123L, 0.5L, 3.14159265358979L, 42, 1234.5678L, 98765.4321L, 300000, -77.7L};
/// A wider spread for the decimal notations: tiny, huge and everyday magnitudes.
constexpr std::array<Extended, 8> DecimalValues = {1.6e-19L,    0.000123L, 0.5L,     3.14159265358979L,
                                                   -1234.5678L, 1e7L,      6.02e23L, 1e300L};

template <std::size_t N>
void FormatValues(benchmark::State& state, int notation, int base, const std::array<Extended, N>& values) {
    EvalContext ctx;
    ctx.NotationMode = notation;
    ctx.Base = base;
    ctx.BitGroup = 8;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RealToText(ctx, 12, values[i++ % N]));
    }
    if (ctx.ErrorFlag) {
        state.SkipWithError("a value raised a formatting error");
    }
}

BENCHMARK_CAPTURE(FormatValues, Scn, NotationScn, BaseDecimal, DecimalValues);
BENCHMARK_CAPTURE(FormatValues, Fix, NotationFix, BaseDecimal, DecimalValues);
BENCHMARK_CAPTURE(FormatValues, Eng, NotationEng, BaseDecimal, DecimalValues);
BENCHMARK_CAPTURE(FormatValues, FixInRange, NotationFix, BaseDecimal, ShownValues);
BENCHMARK_CAPTURE(FormatValues, Sxg, NotationSxg, BaseDecimal, ShownValues);
BENCHMARK_CAPTURE(FormatValues, Hex, NotationScn, BaseHex, ShownValues);
BENCHMARK_CAPTURE(FormatValues, Bin, NotationScn, BaseBinary, ShownValues);

} // namespace
} // namespace mirla
