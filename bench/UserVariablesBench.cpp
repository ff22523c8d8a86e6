#include "engine/EvalContext.h"
#include "userdefs/UserVariables.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// Loading a .USR file of `count` variables, as the window does at start-up.
void LoadUserVariablesFile(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "mirla-bench.USR").string();
    std::vector<std::string> lines;
    for (int i = 0; i < state.range(0); ++i) {
        lines.push_back("rate" + std::to_string(i) + " = " + std::to_string(i) + ".125E-3");
    }
    std::string message;
    if (!SaveLines(path, lines, message)) {
        state.SkipWithError("the variables file could not be written");
        return;
    }
    for (auto _ : state) {
        EvalContext ctx;
        benchmark::DoNotOptimize(LoadUserVariables(ctx, path, message));
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadUserVariablesFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mirla
