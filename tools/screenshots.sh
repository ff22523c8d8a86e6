#!/usr/bin/env bash
# Builds Mirla if needed and writes pictures of its windows into OUTDIR, under Xvfb, for
# reviewing their look: one PNG per page of the main window, its dialogs and windows, the plot
# windows in their typical states and their pictures in every format (tools/Screenshots.cpp lists
# them; each is printed as "wrote PATH").
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: tools/screenshots.sh OUTDIR" >&2
  exit 2
fi
outdir=$1
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
mkdir -p "$outdir"
# The program prints one "wrote PATH" line per picture.
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/mirla_screenshots" "$outdir"
# The main window on first start comes with the pages; then the plot window at device pixel ratio 2.
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x2048x24" "$root/build/mirla_screenshots" "$outdir"
