#!/usr/bin/env bash
# Builds the web page: the core as WebAssembly with emscripten, the page's own
# files and the one library it uses, into OUTDIR (default build-web/site/),
# and prints the folder. Installs emscripten and the page's npm packages when
# missing. With --serve, also serves the folder on http://127.0.0.1:8000/.
#
#   scripts/web.sh [--serve] [OUTDIR]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
serve=0
site=""
for arg in "$@"; do
  case "$arg" in
    --serve) serve=1 ;;
    -h|--help) sed -n '2,7p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "web.sh: unknown option $arg" >&2; exit 2 ;;
    *) site="$arg" ;;
  esac
done
site="${site:-$top/build-web/site}"
wasm_build="${QUILANE_WEB_BUILD_DIR:-$top/build-web/wasm}"

"$top/scripts/install-deps.sh" web >&2
# Debian's emscripten finds its node modules (acorn) there.
export NODE_PATH=/usr/share/nodejs
# The compiled system libraries go to a cache the user may write.
if [ ! -w /usr/share/emscripten/cache ]; then
  export EM_CACHE="${EM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quilane-emscripten}"
fi

emcmake cmake -S "$top" -B "$wasm_build" -DCMAKE_BUILD_TYPE=MinSizeRel >&2
cmake --build "$wasm_build" -j "$(nproc)" >&2
(cd "$top/web" && npm ci --no-audit --no-fund --loglevel=error >&2)

mkdir -p "$site/vendor"
cp "$top"/web/page/* "$site/"
cp "$wasm_build/web/quilane.js" "$wasm_build/web/quilane.wasm" "$site/"
cp "$top/web/node_modules/fflate/esm/browser.js" "$site/vendor/fflate.js"
cp "$top/web/node_modules/fflate/LICENSE" "$site/vendor/fflate-LICENSE.txt"
site="$(cd "$site" && pwd)"
echo "$site"

if [ "$serve" = 1 ]; then
  echo "Serving $site on http://127.0.0.1:8000/ (Ctrl+C ends)" >&2
  exec /usr/bin/python3 -m http.server 8000 --bind 127.0.0.1 --directory "$site"
fi
