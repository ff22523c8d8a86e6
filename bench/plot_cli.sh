#!/usr/bin/env bash
# Whole process against whole process: mirla-plot and gnuplot draw the same plots into PNG files
# of the same size, each run repeatedly by hyperfine, which reports means and medians.
# Usage: bench/plot_cli.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
plot="$build/src/cli/mirla-plot"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
for tool in hyperfine gnuplot; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

echo "== 16,000 points of sin(X)*exp(-X/10), X from 0 to 100, to a 1200 x 800 PNG"
hyperfine --warmup 2 --runs 15 --export-markdown "$out/curve.md" \
  -n mirla-plot "'$plot' --angle=rad --x=0:100:16000 --size=1200x800 'sin(X)*exp(-X/10)' -o '$out/m.png'" \
  -n gnuplot "gnuplot -e \"set terminal pngcairo size 1200,800; set output '$out/g.png'; set samples 16000; plot [0:100] sin(x)*exp(-x/10) with linespoints pointinterval 800\""
cat "$out/curve.md"

echo "== 10-level contour map of sin(X)*cos(Y) on a 400 x 400 grid over -5..5 x -5..5, 1200 x 800 PNG"
hyperfine --warmup 1 --runs 5 --export-markdown "$out/contour.md" \
  -n mirla-plot "'$plot' --contour --angle=rad --x=-5:5:400 --y=-5:5:400 --levels=10 --size=1200x800 'sin(X)*cos(Y)' -o '$out/m.png'" \
  -n gnuplot "gnuplot -e \"set terminal pngcairo size 1200,800; set output '$out/g.png'; set contour base; set cntrparam levels 10; unset surface; set view map; set isosamples 400,400; set samples 400,400; splot [-5:5][-5:5] sin(x)*cos(y)\""
cat "$out/contour.md"
