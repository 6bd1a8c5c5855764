#!/usr/bin/env bash
# The Debian package made from a built tree, unpacked and used:
#
#   check_package.sh BUILD_DIR
#
# Runs CPack on BUILD_DIR into a temporary folder, unpacks the package with
# dpkg-deb -x (nothing is installed on this machine), checks what it holds,
# runs the unpacked programs on a packaged sample, renders every manual page,
# checks that the links of the installed documentation resolve, validates the
# desktop entry and runs lintian, which must report no error. Exits 77 (a
# skipped test) when dpkg-deb or lintian is missing.
set -euo pipefail
build="$(cd "$1" && pwd)"

for tool in dpkg-deb lintian cpack groff desktop-file-validate; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)."
    exit 77
  fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/quilane-package.XXXXXX")"
trap 'rm -rf "$work"' EXIT
faults=0
fault() {
  echo "FAULT: $*"
  faults=$((faults + 1))
}
started=$SECONDS
step() {
  echo "[$((SECONDS - started)) s] $*"
}

step "cpack"
cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
debs=("$work"/cpack/quilaneconfmap_*_*.deb)
[ -f "${debs[0]}" ] || { echo "FAULT: cpack wrote no quilaneconfmap_<version>_<arch>.deb"; exit 1; }
deb="${debs[0]}"
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

step "control fields"
control="$(dpkg-deb -f "$deb")"
echo "$control" | grep -E '^(Package|Version|Architecture|Section|Depends):'
[ "$(dpkg-deb -f "$deb" Section)" = science ] || fault "the section is not science"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fault "no maintainer"
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libc6' <<<"$depends" || fault "the dependencies lack libc6 (no shared-library scan?)"
description_lines="$(dpkg-deb -f "$deb" Description | wc -l)"
[ "$description_lines" -ge 3 ] || fault "the description has $description_lines lines"

step "unpack"
root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
share="$root/usr/share"
samples="$share/quilaneconfmap/samples"
window=0
[ -e "$bin/QuilaneConfMap" ] && window=1
expected=(
  usr/bin/quilane-redistribute usr/bin/quilane-naca
  usr/share/man/man1/quilane-redistribute.1.gz usr/share/man/man1/quilane-naca.1.gz
  usr/share/doc/quilaneconfmap/copyright usr/share/doc/quilaneconfmap/changelog.gz
  usr/share/doc/quilaneconfmap/README.md
  usr/share/quilaneconfmap/samples/README.md usr/share/quilaneconfmap/samples/naca2412.arf
)
if [ "$window" = 1 ]; then
  expected+=(usr/share/man/man1/QuilaneConfMap.1.gz usr/share/applications/quilaneconfmap.desktop
    usr/share/icons/hicolor/scalable/apps/quilaneconfmap.svg
    usr/share/icons/hicolor/48x48/apps/quilaneconfmap.png)
fi
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fault "the package lacks /$file"
done
# Nothing but the product: no test, benchmark or developer program.
for file in "$bin"/*; do
  case "$(basename "$file")" in
    QuilaneConfMap | quilane-redistribute | quilane-naca) ;;
    *) fault "the package holds the program $(basename "$file")" ;;
  esac
done

step "run the unpacked programs"
cd "$work"
if "$bin/quilane-redistribute" "$samples/naca2412.arf" -n 101 --mapping --pwcubic -o out.arf; then
  [ "$(wc -l <out.arf)" = 103 ] || fault "out.arf has $(wc -l <out.arf) lines, not 103"
  [ "$(wc -l <Camber_out.arf)" = 53 ] || fault "Camber_out.arf has $(wc -l <Camber_out.arf) lines, not 53"
else
  fault "quilane-redistribute failed on the packaged sample"
fi
if "$bin/quilane-naca" 23012 -n 121 -o naca23012.arf; then
  "$bin/quilane-redistribute" naca23012.arf -n 61 --mapping >redistributed.arf ||
    fault "the section quilane-naca wrote was not read back"
  [ "$(wc -l <redistributed.arf)" = 63 ] || fault "the redistributed NACA 23012 has $(wc -l <redistributed.arf) lines"
else
  fault "quilane-naca failed"
fi
"$bin/quilane-naca" --version | grep -q "^quilane-naca [0-9]" || fault "quilane-naca --version"
# The Python package, where the build made one, imports from the package with
# its type stubs and gives the command-line tool's numbers.
module=$(find "$root/usr/lib" -path '*/quilane/_core.cpython-*.so' 2>/dev/null | head -n 1)
if [ -n "$module" ]; then
  package=$(dirname "$module")
  case "$package" in
    "$root"/usr/lib/python3/dist-packages/quilane) ;;
    *) fault "the Python package is at ${package#"$root"}, not in /usr/lib/python3/dist-packages" ;;
  esac
  for file in __init__.py __init__.pyi _core.pyi py.typed _plot.py; do
    [ -f "$package/$file" ] || fault "the Python package lacks $file"
  done
  PYTHONPATH="$(dirname "$package")" PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -c "
import sys, quilane
result = quilane.redistribute(quilane.load(sys.argv[1]), n=101, mapping=True, method='pwcubic')
result_text = result.text('arf')
sys.exit(0 if result_text == open(sys.argv[2], 'rb').read() else 1)
" "$samples/naca2412.arf" out.arf || fault "the packaged Python module does not give the tool's result"
elif [ -n "$(find "$root/usr/lib" -name '*.so' -path '*python*' 2>/dev/null)" ]; then
  fault "a Python module is packaged outside a quilane package folder"
fi
if [ "$window" = 1 ]; then
  QT_QPA_PLATFORM=offscreen QUILANE_QUIT_AFTER_FIRST_PAINT=1 timeout 60 "$bin/QuilaneConfMap" \
    >window.log 2>&1 || { cat window.log; fault "the unpacked QuilaneConfMap did not start and end"; }
fi

step "manual pages"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  name="$(basename "$page" .1.gz)"
  warnings="$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)"
  [ -z "$warnings" ] || fault "groff warns on $name.1: $warnings"
  text="$(zcat "$page" | groff -man -Tascii -P-cbou 2>/dev/null)"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
    grep -q "^$section" <<<"$text" || fault "$name.1 has no $section section"
  done
  grep -q "^FILES" <<<"$text" || fault "$name.1 says nothing of the files written"
  if command -v man >/dev/null 2>&1; then
    man -l "$page" >/dev/null 2>&1 || fault "man -l does not render $name.1"
  fi
done
# (That each page names every option of its program's --help is the test
# docs_options_agree's, on the same pages.)

step "documentation"
doc="$share/doc/quilaneconfmap"
for page in README.md window.md cli.md python.md formats.md accuracy.md; do
  [ -f "$doc/$page" ] || fault "the package lacks /usr/share/doc/quilaneconfmap/$page"
done
# The installed pages speak of what the package holds: every link resolves
# inside it.
if ! /usr/bin/python3 "$(dirname "$(realpath "$0")")/../docs/links_resolve.py" "$doc"/*.md \
  "$samples/README.md" >links.log; then
  cat links.log
  fault "links of the installed documentation do not resolve"
fi

if [ "$window" = 1 ]; then
  step "desktop entry"
  desktop-file-validate "$share/applications/quilaneconfmap.desktop" ||
    fault "desktop-file-validate refuses the desktop entry"
  icon="$(sed -n 's/^Icon=//p' "$share/applications/quilaneconfmap.desktop")"
  [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fault "the icon $icon is not in the package"
fi

step "lintian"
lintian "$deb" >lintian.log 2>&1 || true
cat lintian.log
if grep -q '^E: ' lintian.log; then
  fault "lintian reports errors"
fi

step "done"
if [ "$faults" -gt 0 ]; then
  echo "$faults faults"
  exit 1
fi
echo "package checked"
