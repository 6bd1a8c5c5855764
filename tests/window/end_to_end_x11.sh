#!/usr/bin/env bash
# End-to-end test of the real QuilaneConfMap window under a virtual X server:
# start it in a folder holding a sample, check the caption the window manager
# shows, open the sample through File > Open and the file list, calculate,
# save under a new name, save once over an existing file (first answering No,
# then Yes), check both written files each time, quit with Ctrl+Q and check
# that the process ended. On the way, About opens centred on the window and
# closes with Escape.
#
#   end_to_end_x11.sh PROGRAM SAMPLE.arf
#
# Runs its own Xvfb (xvfb-run -a picks a free display, so it runs beside other
# tests and needs no display of its own) with openbox as window manager when
# present. Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -euo pipefail

# Under AddressSanitizer: libxkbcommon-x11 hands strndup a counted buffer
# without a terminating NUL, which the strict string checks take for an
# overflow in the X keyboard set-up, before any of our code runs.
# The session bus library's own leak at exit is passed over too.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
  export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/x11_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fi

caption="QuilaneConfMap - Redistributing Airfoil coordinates by using conformal mapping"
client_height=564      # the fixed client area
status_bar_height=22   # below it

if [ "${1:-}" != "--inside" ]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs xvfb, xdotool and x11-utils)"
      exit 77
    fi
  done
  command -v xprop >/dev/null 2>&1 || { echo "FAILED: xprop (x11-utils) is missing" >&2; exit 1; }
  [ $# -eq 2 ] || { echo "usage: $0 PROGRAM SAMPLE.arf" >&2; exit 2; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --inside "$@"
fi
shift
program=$(realpath "$1")
sample=$(realpath "$2")

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- what the program printed:" >&2
    head -n 60 "$work/program.log" >&2
  fi
  exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# The id of the visible window whose name matches the regular expression $1,
# waiting for it up to 20 seconds.
window_named() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) ||
    fail "no window named /$1/ appeared"
  echo "$id"
}
no_window_named() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Keys to whichever window has the focus, after giving it to window $1.
keys_to() {
  local id=$1
  shift
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers "$@"
}
type_to() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  xdotool type --clearmodifiers --delay 20 "$2"
}

line() { sed -n "${2}p" "$1" | tr -d '\r'; }
count_lines() { wc -l <"$1" | tr -d ' '; }
is_newer() { [ -f "$1" ] && [ "$1" -nt "$2" ]; }

if command -v openbox >/dev/null 2>&1; then
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  # Openbox is up once it owns the screen's window-manager selection.
  wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "openbox did not start"
fi

cp "$sample" "$work/"
title=$(line "$sample" 1)
printf 'old file\r\n' >"$work/existing.dat"
touch -d '2000-01-01' "$work/existing.dat"
cd "$work"

QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

# 1. The caption, exactly, as the window manager reads it.
window=$(window_named "^QuilaneConfMap - Redistributing")
shown=$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
[ "$shown" = "$caption" ] || fail "caption is \"$shown\""
shown=$(xprop -id "$window" WM_NAME | sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p')
[ "$shown" = "$caption" ] || fail "WM_NAME is \"$shown\""

# The client area lies between the menu bar and the status bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_top=$((HEIGHT - status_bar_height - client_height))
[ "$WIDTH" -eq 840 ] || fail "the window is $WIDTH pixels wide"
[ "$client_top" -gt 10 ] || fail "the window is only $HEIGHT pixels high"

# The About window (Alt+A) opens centred on the main window and Escape
# closes it.
keys_to "$window" alt+a
about=$(window_named "^About QuilaneConfMap$")
main_x=$X main_y=$Y main_width=$WIDTH main_height=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$about")"
dx=$((X + WIDTH / 2 - main_x - main_width / 2))
dy=$((Y + HEIGHT / 2 - main_y - main_height / 2))
# Within the height of a title bar: the frames the window manager adds differ.
[ "${dx#-}" -le 40 ] && [ "${dy#-}" -le 40 ] || fail "About is off centre by $dx, $dy"
keys_to "$about" Escape
wait_until 10 no_window_named "^About QuilaneConfMap$" || fail "Escape did not close About"
eval "$(xdotool getwindowgeometry --shell "$window")"

# 2. File > Open with Ctrl+O: the file list takes the keyboard; Home, Enter.
keys_to "$window" ctrl+o
keys_to "$window" Home Return

# 3. "Calculate and Show new airfoil points" (Command1 in Frame2): a click in
#    its middle, in pixels of the client area.
xdotool mousemove --window "$window" $(((3240 + 2760 + 2895 / 2) / 15)) \
  $((client_top + (120 + 240 + 375 / 2) / 15)) click 1

# 4. File > Save with Ctrl+S: the proposed name is selected, typing replaces
#    it, Enter saves.
keys_to "$window" ctrl+s
type_to "$window" "new.arf"
keys_to "$window" Return
wait_until 10 test -f "$work/Camber_new.arf" || fail "Camber_new.arf was not written"
[ "$(line new.arf 1)" = "$title - redistributed" ] || fail "new.arf title: $(line new.arf 1)"
[ "$(line new.arf 2)" = " 51 " ] || fail "new.arf count line: \"$(line new.arf 2)\""
[ "$(count_lines new.arf)" -eq 53 ] || fail "new.arf has $(count_lines new.arf) lines"
[ "$(line Camber_new.arf 2)" = " 26 " ] || fail "Camber_new.arf count: $(line Camber_new.arf 2)"
[ "$(count_lines Camber_new.arf)" -eq 28 ] || fail "Camber_new.arf has $(count_lines Camber_new.arf) lines"

# 5. Saving over a file this window did not write asks "Replace it?"; Enter
#    gives the default, No, and nothing is written.
keys_to "$window" ctrl+s
type_to "$window" "existing.dat"
keys_to "$window" Return
question=$(window_named "^QuilaneConfMap$")
keys_to "$question" Return
wait_until 10 no_window_named "^QuilaneConfMap$" || fail "the question stayed open"
[ "$(line existing.dat 1)" = "old file" ] || fail "No replaced existing.dat"
[ ! -e Camber_existing.dat ] || fail "No still wrote Camber_existing.dat"

#    The save box is still open with the name: Enter asks again, Yes replaces.
keys_to "$window" Return
question=$(window_named "^QuilaneConfMap$")
keys_to "$question" alt+y
wait_until 10 test -f "$work/Camber_existing.dat" || fail "Yes did not write the files"
wait_until 10 is_newer "$work/existing.dat" "$sample" || fail "existing.dat was not replaced"
[ "$(line existing.dat 1)" = "$title - redistributed" ] || fail "existing.dat title: $(line existing.dat 1)"
[ "$(count_lines existing.dat)" -eq 53 ] || fail "existing.dat has $(count_lines existing.dat) lines"
cmp -s new.arf existing.dat || fail "existing.dat differs from new.arf"
cmp -s Camber_new.arf Camber_existing.dat || fail "Camber_existing.dat differs from Camber_new.arf"

# 6. Ctrl+Q ends the program.
keys_to "$window" ctrl+q
wait_until 10 sh -c "! kill -0 $program_pid 2>/dev/null" || fail "the program did not end on Ctrl+Q"
wait "$program_pid" || fail "the program ended with status $?"
echo "PASSED: caption, open, calculate, save, replace (No, then Yes) and quit under X"
