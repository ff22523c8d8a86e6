#include "engine/Engine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <string>

namespace mirla {
namespace {

constexpr long double NoReference = std::numeric_limits<long double>::quiet_NaN();

/// Sets the context up so that the next search of `line` over [lower, upper] is its first
/// (subdivision count 1) or its first repetition (count doubled to 2). Only the repetition
/// looks at the bounds.
void PrepareSearch(EvalContext& ctx, const std::string& line, Extended lower, Extended upper, bool repeated) {
    ctx.LastSearchText = repeated ? line : std::string();
    ctx.LastLower = lower;
    ctx.LastUpper = upper;
    ctx.Subdivisions = 1;
}

/// Evaluates `line` (in radians) once per iteration and reports the evaluations of f(X) per
/// call and, when a reference value is given, the absolute error of the result.
void EvaluateProcedure(benchmark::State& state, std::string line, long double reference, bool search,
                       bool repeated) {
    EvalContext ctx;
    ctx.AngleMode = 0;
    Extended value = 0;
    for (auto _ : state) {
        if (search)
            PrepareSearch(ctx, line, 0, 10, repeated);
        ctx.Input = line;
        ctx.ArgDepth = 0;
        value = Evaluate(ctx);
        benchmark::DoNotOptimize(value);
    }
    if (ctx.ErrorFlag) {
        state.SkipWithError("the procedure raised an error");
        return;
    }
    // The context counts the evaluations of f(X) of its own procedures, from 0.
    const auto evaluations = static_cast<double>(ctx.TrialEvaluations);
    state.counters["f_evals"] = evaluations / static_cast<double>(state.iterations());
    state.counters["subdivisions"] = ctx.Subdivisions;
    if (!std::isnan(reference))
        state.counters["abs_error"] = static_cast<double>(std::fabs(value - reference));
}

BENCHMARK_CAPTURE(EvaluateProcedure, IntegralSin, "integral(0,pi,sin(X))", 2.0L, false, false);
BENCHMARK_CAPTURE(EvaluateProcedure, IntegralSqrt, "integral(0,1,sqrt(X))", 2.0L / 3, false, false);
BENCHMARK_CAPTURE(EvaluateProcedure, IntegralSquare, "integral(0,1,X^2)", 1.0L / 3, false, false);
BENCHMARK_CAPTURE(EvaluateProcedure, SolveSqrt2, "solve(0,2,X*X-2)", std::sqrt(2.0L), false, false);
BENCHMARK_CAPTURE(EvaluateProcedure, SolveAfterSearch, "solve(0,3,(X-1)*(X-2))", 2.0L, false, false);
BENCHMARK_CAPTURE(EvaluateProcedure, MinSquare, "min(-1,1,X*X)", 0.0L, true, false);
BENCHMARK_CAPTURE(EvaluateProcedure, MaxSinFirst, "max(0,pi,sin(X))", 1.0L, true, false);
BENCHMARK_CAPTURE(EvaluateProcedure, MinXSinXFirst, "min(0,10,sin(X)*X)", 10 * std::sin(10.0L), true, false);
BENCHMARK_CAPTURE(EvaluateProcedure, MinXSinXRepeated, "min(0,10,sin(X)*X)", 10 * std::sin(10.0L), true,
                  true);
BENCHMARK_CAPTURE(EvaluateProcedure, ListStat, "stat(1,2,3,4,5,6,7,8,9,10)", 82.5L, false, false);

} // namespace
} // namespace mirla
