#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the unit and end-to-end tests, the
# core and plot component tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and bounded fuzzing runs of the expression evaluator and of the readers of the user's files.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/setup.sh

echo "== Build and tests"
scripts/build.sh
# Window tests need a display: Xvfb provides one.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Installing into a temporary prefix"
scripts/check-install.sh build

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRLA_SANITIZE=ON -DMIRLA_GUI=OFF -DMIRLA_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Plot component tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Qt keeps allocations of its own until exit, so leak reports would be Qt's, not ours.
cmake -S . -B build-asan-plot -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRLA_SANITIZE=ON -DMIRLA_BENCH=OFF >/dev/null
cmake --build build-asan-plot -j "$jobs" --target mirla_plotlib_tests
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
  build-asan-plot/tests/mirla_plotlib_tests --gtest_brief=1

echo "== Fuzzing the evaluator and the file readers"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRLA_FUZZ=ON -DMIRLA_TESTS=OFF \
  -DMIRLA_GUI=OFF -DMIRLA_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fuzzers=(evaluate settings_file history_file constants_file user_functions user_variables data_text)
cmake --build build-fuzz -j "$jobs" --target "${fuzzers[@]/#/fuzz_}"
# The evaluator gets the most time and short lines; each file reader a share of the time and
# files of a few lines.
for name in "${fuzzers[@]}"; do
  seconds=$((${MIRLA_FUZZ_SECONDS:-60} / 3)) max_len=4096
  [ "$name" = evaluate ] && seconds=${MIRLA_FUZZ_SECONDS:-60} max_len=256
  rm -rf "build-fuzz/corpus/$name" && mkdir -p "build-fuzz/corpus/$name"
  cp "fuzz/seeds/$name"/* "build-fuzz/corpus/$name/"
  echo "-- fuzz_$name for $seconds s"
  "build-fuzz/fuzz/fuzz_$name" "build-fuzz/corpus/$name" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=4096 -max_len="$max_len" -print_final_stats=1 2>&1 | tail -n 5
done
echo "Fuzzing finished without a crash, leak or hang."
