#!/usr/bin/env bash
# Builds Mirla if needed and writes pictures of its windows into OUTDIR, under Xvfb, for
# reviewing their look: the main window on first start, one PNG per page of the main window, its
# dialogs and windows (the 2-D plot window with three curves, zoomed, and its properties dialog), the
# 2-D plot saved as BMP, WMF, EMF, PNG, SVG and PDF files, and the plot window again at device pixel
# ratio 2.
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
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x2048x24" "$root/build/mirla_screenshots" "$outdir"
