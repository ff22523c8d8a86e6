#include "app/core/HistoryFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace mirla {
namespace {

/// A history of `count` typical input lines and as many results, as the window holds it.
THistory MakeHistory(int count) {
    THistory history;
    for (int i = 0; i < count; ++i) {
        history.Inputs.push_back("integral(sin(X)*X\xB2,0," + std::to_string(i) + ")+sqrt(2)/3");
        history.Results.push_back(" 1.23456789012E+" + std::to_string(i % 100));
    }
    return history;
}

/// One write of the history file, as the window does after every evaluation.
void WriteHistory(benchmark::State& state) {
    const THistory history = MakeHistory(static_cast<int>(state.range(0)));
    const std::string path = (std::filesystem::temp_directory_path() / "mirla-bench.HST").string();
    for (auto _ : state) {
        if (!WriteHistoryFile(path, history)) {
            state.SkipWithError("the history file could not be written");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(WriteHistory)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

/// Reading the history file back at start-up.
void ReadHistory(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "mirla-bench-read.HST").string();
    WriteHistoryFile(path, MakeHistory(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        THistory history;
        benchmark::DoNotOptimize(ReadHistoryFile(path, history));
    }
    std::filesystem::remove(path);
}
BENCHMARK(ReadHistory)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mirla
