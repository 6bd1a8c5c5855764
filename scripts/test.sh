#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test (the web
# page's among them, on the site scripts/web.sh builds first; QUILANE_WEB=0
# leaves it out, and those tests are then skipped); then the
# hardened run (scripts/test-hardened.sh): every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for a
# bounded time. QUILANE_HARDENED=0 leaves the hardened run out (a quick local
# check; CI always runs it).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILANE_BUILD_DIR:-$top/build}"

"$top/scripts/install-deps.sh"
if [ "${QUILANE_WEB:-1}" != 0 ]; then
  "$top/scripts/install-deps.sh" browser
  "$top/scripts/web.sh" >/dev/null
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
(
  cd "$build"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
)
if [ "${QUILANE_HARDENED:-1}" != 0 ]; then
  "$top/scripts/test-hardened.sh"
fi
