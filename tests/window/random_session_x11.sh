#!/usr/bin/env bash
# A person let loose on the real QuilaneConfMap window for a while: random
# clicks, double clicks, wheel turns, drags and keys anywhere in the window
# and in whatever dialog is on top of it, in a scratch folder holding copies
# of the samples and of published sections (some of them under the *.arf
# pattern they do not follow). Passes when, at the end, the program is alive,
# Ctrl+Q ends it within a second, it wrote nothing outside the scratch folder
# and the sanitizers reported nothing. Choosing File > Quit at random ends a
# run normally: the program is started again and the session goes on.
#
#   random_session_x11.sh PROGRAM SECONDS SEED FILE...
#
# SEED "random" draws one; the seed is printed, and the same seed gives the
# same actions. Typed keys never include "/" or "~", so a typed name stays
# in the folder the program started in (saves go there); the program starts
# three folders below the scratch folder's top, so the file dialogs' own
# folder buttons stay inside it for a while too.
#
# Runs under an X server of its own (x11_session.sh). Exits 77 (skipped) when
# xvfb-run or xdotool is missing.
set -euo pipefail

. "$(dirname "$(realpath "$0")")/x11_session.sh"
X11_USAGE="PROGRAM SECONDS SEED FILE..."
X11_ARGS=4
x11_session_start "$@"
shift
program=$(realpath "$1")
seconds=$2
seed=$3
shift 3
[ "$seed" = random ] && seed=$(((($(date +%s%N) / 1000) ^ $$) % 1000000))
echo "seed $seed (run again with: $0 $program $seconds $seed ...)"
RANDOM=$seed

session="$work/scratch/a/b/session"
mkdir -p "$session" "$work/scratch/home"
for file in "$@"; do
  cp "$file" "$session/"
  # Published sections under the name the file list shows.
  case "$file" in *.dat) cp "$file" "$session/$(basename "$file" .dat)-as-arf.arf" ;; esac
done
export HOME="$work/scratch/home" XDG_CONFIG_HOME="$work/scratch/home/.config"

# What lies outside the scratch folder within the program's reach: the files
# given; right inside each folder above the scratch folder (where the file
# dialogs' folder buttons lead first), the files the program could leave
# there (pictures, *.arf and *.dat coordinate files, camber files, temporary
# files; other programs' files come and go there too); and, had the program
# passed over $HOME, the file dialogs' settings in the real home folder.
real_home=$(getent passwd "$(id -u)" | cut -d: -f6)
snapshot() {
  {
    for file in "$@"; do stat -c '%n %s %Y' "$(realpath "$file")"; done
    stat -c '%n %s %Y' "$real_home/.config/QtProject.conf" 2>/dev/null || true
    local folder=$work
    while [ "$folder" != / ]; do
      folder=$(dirname "$folder")
      find "$folder" -maxdepth 1 -type f \( -name '*.arf' -o -name '*.dat' -o -name 'Camber_*' \
        -o -name '*.png' -o -name '*.svg' -o -name '.*.tmp-*' \) -printf '%p %s %T@\n' \
        2>/dev/null || true
    done
  } | sort
}
snapshot "$@" >"$work/before"

start_program() {
  (cd "$session" && QT_QPA_PLATFORM=xcb exec "$program") >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  window=$(window_named "^QuilaneConfMap - Redistributing")
}

# Keys a person might press: letters, digits, the keys that move, confirm
# and cancel, the program's own shortcuts and zoom keys. No Ctrl+Q (the
# session ends with it) and no "/" or "~".
keys=(a b c n o p q s x y z 0 1 2 5 9 period minus plus equal space Return Escape Tab
  shift+Tab BackSpace Delete Up Down Left Right Home End Prior Next ctrl+o ctrl+s alt+f alt+c
  alt+a alt+y alt+n F1)
words=(new wing 51 0 -3 1000 x1 abc "" "  " 2.5 1e3 NaN)

# One random action on the window that has the focus (a dialog when one is
# up), at a random place inside it.
act() {
  local target geometry width height x y
  target=$(xdotool getactivewindow 2>/dev/null) || target=$window
  geometry=$(xdotool getwindowgeometry --shell "$target" 2>/dev/null) || return 0
  width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  x=$((RANDOM % (width > 1 ? width : 1)))
  y=$((RANDOM % (height > 1 ? height : 1)))
  case $((RANDOM % 10)) in
    0 | 1 | 2) xdotool mousemove --window "$target" "$x" "$y" click 1 ;;
    3) xdotool mousemove --window "$target" "$x" "$y" click --repeat 2 --delay 40 1 ;;
    4) xdotool mousemove --window "$target" "$x" "$y" click --repeat $((1 + RANDOM % 3)) \
         $((4 + RANDOM % 2)) ;;
    5) xdotool mousemove --window "$target" "$x" "$y" mousedown 1 \
         mousemove_relative -- $((RANDOM % 121 - 60)) $((RANDOM % 81 - 40)) mouseup 1 ;;
    6 | 7 | 8) xdotool key --clearmodifiers "${keys[RANDOM % ${#keys[@]}]}" ;;
    9) xdotool type --clearmodifiers --delay 10 "${words[RANDOM % ${#words[@]}]}" ;;
  esac 2>/dev/null || true
}

# A program that ended must have ended by File > Quit (status 0); it is
# started again.
start_again_after_quit() {
  kill -0 "$program_pid" 2>/dev/null && return 0
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status after $actions actions (seed $seed)"
  restarts=$((restarts + 1))
  start_program
}

start_program
restarts=0
deadline=$((SECONDS + seconds))
actions=0
while [ "$SECONDS" -lt "$deadline" ]; do
  start_again_after_quit
  act
  actions=$((actions + 1))
  sleep 0.02
done
# The last action may have been File > Quit: let it finish, then start again.
sleep 0.5
start_again_after_quit

# The end: close what is open over the window (messages, dialogs, menus),
# then Ctrl+Q.
kill -0 "$program_pid" 2>/dev/null || fail "the program was not alive at the end (seed $seed)"
xdotool key --clearmodifiers Escape Escape 2>/dev/null || true  # an open menu
for _ in 1 2 3 4; do
  active=$(xdotool getactivewindow 2>/dev/null) || active=
  [ "$active" = "$window" ] && break
  xdotool key --clearmodifiers Escape 2>/dev/null || true
  sleep 0.3
done
keys_to "$window" ctrl+q
took=$(milliseconds_to_end "$program_pid")
status=0
wait "$program_pid" || status=$?
[ "$took" -le 1000 ] || fail "the program took $took ms to end after Ctrl+Q (seed $seed)"
[ "$status" -eq 0 ] || fail "the program ended with status $status (seed $seed)"
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$work/program.log"; then
  fail "a sanitizer reported (seed $seed)"
fi
snapshot "$@" >"$work/after"
if ! diff -q "$work/before" "$work/after" >/dev/null; then
  diff "$work/before" "$work/after" | head -n 20 >&2
  fail "files outside the scratch folder changed (seed $seed)"
fi
echo "PASSED: $actions random actions in $seconds s, $restarts restarts after File > Quit," \
  "Ctrl+Q ended it in $took ms (seed $seed)"
