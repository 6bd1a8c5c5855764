#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after opening a sample and pressing
# "Calculate and Show new airfoil points" with the start settings, and
# docs/about.png, the About window. Builds what is missing first. Needs no
# display: the windows are drawn on a virtual X server (xvfb-run), or by Qt's
# offscreen platform when there is none.
#
#   scripts/screenshot.sh [SAMPLE.arf] [OUT.png] [ABOUT.png]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILANE_BUILD_DIR:-$top/build}"
sample="${1:-$top/samples/naca2412.arf}"
out="${2:-$top/docs/screenshot.png}"
about="${3:-$top/docs/about.png}"

tool="$build/src/app/quilane-window-screenshot"
if [ ! -f "$build/CMakeCache.txt" ]; then
  "$top/scripts/install-deps.sh"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quilane-window-screenshot >/dev/null

mkdir -p "$(dirname "$out")"
if command -v xvfb-run >/dev/null 2>&1; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    "$tool" "$sample" "$out" "$about"
else
  QT_QPA_PLATFORM=offscreen "$tool" "$sample" "$out" "$about"
fi
echo "wrote $out and $about"
