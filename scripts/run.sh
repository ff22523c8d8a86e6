#!/usr/bin/env bash
# Installs what is missing, builds and starts Mirla.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# The window when it was built, otherwise the terminal calculator.
if [ -x build/mirla ]; then
  exec build/mirla "$@"
fi
exec build/src/cli/mirlac "$@"
