#!/usr/bin/env bash
# The build keeps each layer to the folders before it (cmake/layers.cmake), but not a quoted
# include that climbs out of its folder ("../history/pane.h"), which the compiler finds beside
# the file whatever the layer: fails on one in the portable code.
set -euo pipefail
cd "$(dirname "$0")/.."
if grep -nE '^#include[[:space:]]+"[^"]*\.\.' core/*.h core/*.cpp history/*.h history/*.cpp \
    shell/model/*.h shell/model/*.cpp; then
  echo "relative includes out of their folder: the layers' order (cmake/layers.cmake) is bypassed" >&2
  exit 1
fi
echo "layers: no relative include out of its folder; the build checks the rest"
