// Evaluation speed of the engine, which re-reads the text on every evaluation, side by side
// with a parser that compiles to bytecode (parsed once, and parsed on every evaluation) and
// with the same expressions compiled as native long double code.
#include "Sweep.h"
#include "engine/Engine.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#ifdef MIRLA_HAVE_MUPARSER
#include <muParser.h>
#endif

// Counts heap allocations so that the report shows how many one evaluation makes. The
// replacement pair allocates with malloc and frees with free, which the compiler cannot see
// through inlining; its mismatch warning does not apply.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using mirla::Extended;

using mirla::bench::SweepPoint;

struct Expression {
    const char* text;
    Extended (*native)(Extended);
};

const std::array<Expression, 5> Expressions = {{
    {"X^2+1", [](Extended x) { return x * x + 1; }},
    {"sin(X)*exp(-X/10)+X^2", [](Extended x) { return std::sin(x) * std::exp(-x / 10) + x * x; }},
    {"sqrt(X^2+1)/(1+X)+ln(X+1)*cos(X)",
     [](Extended x) { return std::sqrt(x * x + 1) / (1 + x) + std::log(x + 1) * std::cos(x); }},
    {"(((X+1)*(X-1))/((X+2)*(X-2)+10))^3",
     [](Extended x) {
         const Extended r = ((x + 1) * (x - 1)) / ((x + 2) * (x - 2) + 10);
         return r * r * r;
     }},
    {"1+2*X+3*X^2+4*X^3+5*X^4+6*X^5+7*X^6+8*X^7",
     [](Extended x) {
         return 1 + 2 * x + 3 * x * x + 4 * x * x * x + 5 * x * x * x * x + 6 * x * x * x * x * x +
                7 * x * x * x * x * x * x + 8 * x * x * x * x * x * x * x;
     }},
}};

void ReportAllocations(benchmark::State& state, long long before) {
    state.counters["allocs/eval"] =
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
}

void BM_Mirla(benchmark::State& state) {
    const Expression& e = Expressions[static_cast<std::size_t>(state.range(0))];
    mirla::EvalContext ctx;
    ctx.AngleMode = 0;
    ctx.Input = e.text;
    std::size_t i = 0;
    const long long before = g_allocations.load();
    for (auto _ : state) {
        ctx.Variable(1).Value = SweepPoint(i++);
        ctx.UsedVariables.Clear();
        benchmark::DoNotOptimize(mirla::Evaluate(ctx));
    }
    ReportAllocations(state, before);
    if (ctx.ErrorFlag)
        state.SkipWithError("evaluation failed");
    state.SetLabel(e.text);
}

void BM_Native(benchmark::State& state) {
    const Expression& e = Expressions[static_cast<std::size_t>(state.range(0))];
    std::size_t i = 0;
    for (auto _ : state) {
        Extended x = SweepPoint(i++);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(e.native(x));
    }
    state.SetLabel(e.text);
}

#ifdef MIRLA_HAVE_MUPARSER
// The other parser reads the five texts as they stand: it knows ^, sin, exp, sqrt, ln and cos.

void BM_MuParserParsedOnce(benchmark::State& state) {
    const Expression& e = Expressions[static_cast<std::size_t>(state.range(0))];
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("X", &x);
    parser.SetExpr(e.text);
    std::size_t i = 0;
    for (auto _ : state) {
        x = static_cast<double>(SweepPoint(i++));
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetLabel(e.text);
}

void BM_MuParserParsedEveryTime(benchmark::State& state) {
    const Expression& e = Expressions[static_cast<std::size_t>(state.range(0))];
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("X", &x);
    const std::string text = e.text;
    std::size_t i = 0;
    for (auto _ : state) {
        x = static_cast<double>(SweepPoint(i++));
        parser.SetExpr(text);
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetLabel(e.text);
}

BENCHMARK(BM_MuParserParsedOnce)->DenseRange(0, 4);
BENCHMARK(BM_MuParserParsedEveryTime)->DenseRange(0, 4);
#endif

BENCHMARK(BM_Mirla)->DenseRange(0, 4);
BENCHMARK(BM_Native)->DenseRange(0, 4);

} // namespace
