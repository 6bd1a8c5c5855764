#!/usr/bin/env bash
# Installs, with apt, whatever the build, the tests and the window need and
# this machine lacks. Safe to run again: it only installs what is missing.
# With "web", also emscripten (scripts/web.sh); with "browser", also Debian's
# chromium for the page's tests.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libfmt-dev libfast-float-dev
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core
  locales
  python3 python3-numpy python3-dev pybind11-dev python3-pytest
  python3-venv python3-pip python3-setuptools python3-wheel python3-pybind11 python3-build
  mypy python3-matplotlib
  clang libclang-rt-14-dev
  dpkg-dev lintian desktop-file-utils man-db groff-base
  xvfb xauth xdotool x11-utils openbox
)
for extra in "$@"; do
  case "$extra" in
    web) packages+=(emscripten) ;;
    browser) packages+=(chromium) ;;
    *) echo "install-deps.sh: unknown part $extra" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can prove numbers do not follow the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
