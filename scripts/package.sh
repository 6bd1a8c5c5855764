#!/usr/bin/env bash
# Builds the Debian package quilaneconfmap_<version>_<arch>.deb with CPack and
# checks it with lintian. The package goes to $QUILANE_PACKAGE_DIR when set,
# else build-package/. It is built from its own build folder
# (build-package/tree, the programs only), or from the build folder named by
# QUILANE_BUILD_DIR when that is set (then whatever it holds is built).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${QUILANE_PACKAGE_DIR:-$top/build-package}"
build="${QUILANE_BUILD_DIR:-$top/build-package/tree}"

"$top/scripts/install-deps.sh"
if [ -z "${QUILANE_BUILD_DIR:-}" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILANE_TESTS=OFF -DQUILANE_BENCH=OFF
else
  cmake -S "$top" -B "$build"
fi
cmake --build "$build" -j "$(nproc)"

mkdir -p "$out"
out="$(cd "$out" && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
deb="$out/quilaneconfmap_${version}_${arch}.deb"
rm -f "$deb"
# CPack's own files stay in the build folder; only the package goes to $out.
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack" >/dev/null
mv "$build/cpack/$(basename "$deb")" "$deb"
echo "wrote $deb"

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb"
  echo "lintian: no errors"
else
  echo "lintian is not installed: the package was not checked."
fi
