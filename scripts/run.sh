#!/usr/bin/env bash
# Installs what is missing, builds the window and opens it on the shipped
# samples (the file list starts in samples/).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILANE_BUILD_DIR:-$top/build}"

"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target QuilaneConfMap
cd "$top/samples"
exec "$build/src/app/QuilaneConfMap" "$@"
