#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after opening a sample and pressing
# "Calculate and Show new airfoil points" with the start settings. Builds what
# is missing first. Needs no display: the window is drawn by Qt's offscreen
# platform.
#
#   scripts/screenshot.sh [SAMPLE.arf] [OUT.png]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILANE_BUILD_DIR:-$top/build}"
sample="${1:-$top/samples/naca2412.arf}"
out="${2:-$top/docs/screenshot.png}"

tool="$build/src/app/quilane-window-screenshot"
if [ ! -f "$build/CMakeCache.txt" ]; then
  "$top/scripts/install-deps.sh"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quilane-window-screenshot >/dev/null

mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen "$tool" "$sample" "$out"
echo "wrote $out"
