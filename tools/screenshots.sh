#!/usr/bin/env bash
# Builds Mirla if needed and writes pictures of its windows into OUTDIR, under Xvfb, for
# reviewing their look: one PNG per page of the main window, its dialogs and windows (the 2-D plot
# window with three curves, zoomed, and its properties dialog; the contour window with a labelled
# map, the shaded map, and the "Color Map" and "Contour" properties pages), and the 2-D plot saved
# as BMP, WMF, EMF, PNG, SVG and PDF files.
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
