#!/usr/bin/env bash
# Installs the Debian packages Mirla needs to build, test and run, skipping those present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config        # build; g++ brings libquadmath, the exact reference of tests
  clang libclang-rt-14-dev                # fuzzing and sanitizers
  libgtest-dev libbenchmark-dev           # tests and benchmarks
  libedit-dev                             # line editing in mirlac
  libmuparser-dev                         # benchmark peer only
  libeigen3-dev                           # QR of polynomial fits; benchmark peer (matrices)
  qt6-base-dev qt6-base-dev-tools         # the windows
  qt6-svg-dev                             # plots saved as SVG
  qt6-charts-dev                          # polar charts
  qt6-datavisualization-dev qt6-declarative-dev  # surface charts (the CMake package needs both)
  libqcustomplot-dev                      # benchmark peer only (plot redraw)
  libwmf-bin                              # metafile tests read our WMF files back
  libdxflib-dev                           # DXF tests read our DXF files back
  poppler-utils                           # print tests render our PDF pages
  desktop-file-utils appstream            # install tests validate the desktop entry and metadata
  dpkg-dev                                # cpack -G DEB finds the libraries the package needs
  python3-contourpy gnuplot-nox hyperfine # benchmark peers only (contours, whole plots)
  libgl1-mesa-dev                         # needed by Qt's CMake packages
  xvfb xauth                              # window tests without a display
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
