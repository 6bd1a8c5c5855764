#!/usr/bin/env bash
# End-to-end test of the real QuilaneConfMap window under a virtual X server:
# start it in a folder holding a sample, check the caption the window manager
# shows, open the sample through File > Open and the file list, calculate,
# save under a new name, save once over an existing file (first answering No,
# then Yes), check both written files each time, quit with Ctrl+Q and check
# that the process ended within half a second. On the way, About opens
# centred on the window and closes with Escape; the browser and the save box
# hide what lies under them; after a refused save the keyboard is in the name
# box; the window stays 840 pixels wide after a run and after a refusal whose
# line is longer than the status bar.
#
#   end_to_end_x11.sh PROGRAM PIXELS SAMPLE.arf REFUSED.dat
#
# PIXELS is the x11_pixels helper; REFUSED.dat a section the route along the
# chord refuses.
#
# Runs under an X server of its own (x11_session.sh). Exits 77 (skipped) when
# xvfb-run or xdotool is missing.
set -euo pipefail

. "$(dirname "$(realpath "$0")")/x11_session.sh"
X11_USAGE="PROGRAM PIXELS SAMPLE.arf REFUSED.dat"
X11_ARGS=4
x11_session_start "$@"
shift
program=$(realpath "$1")
pixels=$(realpath "$2")
sample=$(realpath "$3")
refused=$(realpath "$4")

caption="QuilaneConfMap - Redistributing Airfoil coordinates by using conformal mapping"
client_height=564      # the fixed client area
status_bar_height=22   # below it

line() { sed -n "${2}p" "$1" | tr -d '\r'; }
# Pixels of colour R G B in the rectangle X Y W H (twips of the client area).
count_colour() {
  QT_QPA_PLATFORM=xcb "$pixels" "$window" $(($1 / 15)) $((client_top + $2 / 15)) $(($3 / 15)) $(($4 / 15)) "$5" "$6" "$7"
}
width_is_840() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -eq 840 ] || fail "$1: the window is $WIDTH pixels wide"
}
calculate() {
  xdotool mousemove --window "$window" $(((3240 + 2760 + 2895 / 2) / 15)) \
    $((client_top + (120 + 240 + 375 / 2) / 15)) click 1
}
# Answers the message box or question that is up with the keys $1 ($2 names
# it in a failure).
answer_box() {
  local box
  box=$(timeout 20 xdotool search --sync --onlyvisible --name "^QuilaneConfMap$" | head -n 1) ||
    fail "$2 did not appear"
  keys_to "$box" "$1"
  wait_until 10 no_window_named "^QuilaneConfMap$" || fail "$2 stayed open"
}
count_lines() { wc -l <"$1" | tr -d ' '; }
is_newer() { [ -f "$1" ] && [ "$1" -nt "$2" ]; }

cp "$sample" "$refused" "$work/"
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

# 2. File > Open with Ctrl+O: the browser (Frame3) hides the plot under it,
#    and the save box (Frame4) the folder list under it. The file list takes
#    the keyboard; Home, Enter.
frame3="240 1080 5295 3255"
band="660 2445 2175 165"  # Frame4 between the name box and the button
[ "$(count_colour $frame3 255 255 192)" -gt 0 ] || fail "no plot colour under the browser's place"
keys_to "$window" ctrl+o
sleep 0.3
[ "$(count_colour $frame3 255 255 192)" -eq 0 ] || fail "the plot shows through the browser"
[ "$(count_colour $band 255 255 255)" -gt 0 ] || fail "no folder list under the save box's place"
keys_to "$window" Home Return

# 3. "Calculate and Show new airfoil points" (Command1 in Frame2): a click in
#    its middle, in pixels of the client area.
calculate

# 4. File > Save with Ctrl+S: the proposed name is selected, typing replaces
#    it, Enter saves.
keys_to "$window" ctrl+s
sleep 0.3
[ "$(count_colour $band 255 255 255)" -eq 0 ] || fail "the folder list shows through the save box"
type_to "$window" "new.arf"
keys_to "$window" Return
wait_until 10 test -f "$work/Camber_new.arf" || fail "Camber_new.arf was not written"
width_is_840 "after a run"
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
answer_box Return "the question"
[ "$(line existing.dat 1)" = "old file" ] || fail "No replaced existing.dat"
[ ! -e Camber_existing.dat ] || fail "No still wrote Camber_existing.dat"

#    The save box is still open with the name: Enter asks again, Yes replaces.
keys_to "$window" Return
answer_box alt+y "the question"
wait_until 10 test -f "$work/Camber_existing.dat" || fail "Yes did not write the files"
wait_until 10 is_newer "$work/existing.dat" "$sample" || fail "existing.dat was not replaced"
[ "$(line existing.dat 1)" = "$title - redistributed" ] || fail "existing.dat title: $(line existing.dat 1)"
[ "$(count_lines existing.dat)" -eq 53 ] || fail "existing.dat has $(count_lines existing.dat) lines"
cmp -s new.arf existing.dat || fail "existing.dat differs from new.arf"
cmp -s Camber_new.arf Camber_existing.dat || fail "Camber_existing.dat differs from Camber_new.arf"

# 6. A save into a folder that does not exist is refused; after OK the
#    keyboard is back in the name box, its text selected: typing replaces it.
keys_to "$window" ctrl+s
type_to "$window" "/nonexistent/x.arf"
keys_to "$window" Return
answer_box Return "the message"
type_to "$window" "mended.arf"
keys_to "$window" Return
wait_until 10 test -f "$work/Camber_mended.arf" || fail "typing after a refused save missed the name box"
cmp -s new.arf mended.arf || fail "mended.arf differs from new.arf"

# 7. The longest line: a section the route along the chord refuses, read
#    through File > Import .dat; its refusal is far longer than the status
#    bar, and the window keeps its width.
keys_to "$window" alt+f
keys_to "$window" i
dialog=$(window_named "^Import .dat$")
# The dialog starts in the listed folder: the name alone, then time for its
# completer to settle before Enter.
type_to "$dialog" "$(basename "$refused")"
sleep 0.5
keys_to "$dialog" Return
wait_until 10 no_window_named "^Import .dat$" || fail "the import dialog stayed open"
calculate
answer_box Return "the refusal"
width_is_840 "after a refusal"

# 8. Ctrl+Q ends the program within half a second (a second on the sanitizer
#    build).
keys_to "$window" ctrl+q
took=$(milliseconds_to_end "$program_pid")
wait "$program_pid" || fail "the program ended with status $?"
# The sanitizers' leak check at exit takes its own share of a second.
limit=500
[ -n "${ASAN_OPTIONS:-}" ] && limit=1000
[ "$took" -le "$limit" ] || fail "the program took $took ms to end after Ctrl+Q"
echo "PASSED: caption, open, calculate, save, replace (No, then Yes), refusals and quit under X"
