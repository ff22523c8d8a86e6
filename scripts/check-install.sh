#!/usr/bin/env bash
# Installs the build in BUILD_DIR (default build) into a temporary prefix and checks the installed
# tree: the programs, the constants library, the desktop entry, icon, metadata and manual page,
# and that the installed terminal calculator and plotting tool run.
set -euo pipefail
build=${1:-build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
expected=(
  bin/mirla bin/mirlac bin/mirla-plot share/mirla/Mirla.CON share/man/man1/mirlac.1
  share/applications/org.mirla.Mirla.desktop
  share/icons/hicolor/scalable/apps/org.mirla.Mirla.svg
  share/metainfo/org.mirla.Mirla.metainfo.xml
)
for file in "${expected[@]}"; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
desktop-file-validate "$prefix/share/applications/org.mirla.Mirla.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.mirla.Mirla.metainfo.xml" >/dev/null
result=$("$prefix/bin/mirlac" '1+1')
[ "$result" = "2.0E+0" ] || { echo "the installed mirlac printed: $result" >&2; exit 1; }
"$prefix/bin/mirla-plot" X -o - | grep -q '</svg>' || { echo "the installed mirla-plot drew nothing" >&2; exit 1; }
echo "The installed tree is complete and valid."
