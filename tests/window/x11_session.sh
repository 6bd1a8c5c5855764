# The pieces both X tests use, sourced by them: the sanitizer options for a
# real X server, a virtual server of its own (xvfb-run picks a free display,
# so a test runs beside others and needs no display), openbox as window
# manager when present, and waiting for and talking to windows with xdotool.
#
# A test sources this file first thing, then calls x11_session_start "$@"
# with its own usage line in X11_USAGE and its argument count in X11_ARGS;
# afterwards $work is a fresh folder removed on exit, and pids added to
# "pids" are killed on exit.

# Under AddressSanitizer: libxkbcommon-x11 hands strndup a counted buffer
# without a terminating NUL, which the strict string checks take for an
# overflow in the X keyboard set-up, before any of our code runs.
# The session bus library's own leak at exit is passed over too.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
  export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x11_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fi

# Re-runs the calling script under its own X server (the first call), or
# sets up the session inside it (the call under the server, with --inside):
# $work, the clean-up, openbox. Exits 77 (skipped) when xvfb-run or xdotool
# is missing.
x11_session_start() {
  if [ "${1:-}" != "--inside" ]; then
    for tool in xvfb-run xdotool; do
      if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs xvfb, xdotool and x11-utils)"
        exit 77
      fi
    done
    command -v xprop >/dev/null 2>&1 || { echo "FAILED: xprop (x11-utils) is missing" >&2; exit 1; }
    [ $# -ge "$X11_ARGS" ] || { echo "usage: $0 $X11_USAGE" >&2; exit 2; }
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --inside "$@"
  fi
  work=$(mktemp -d)
  pids=()
  trap x11_session_end EXIT
  if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    # Openbox is up once it owns the screen's window-manager selection.
    wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
      fail "openbox did not start"
  fi
}

x11_session_end() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}

fail() {
  echo "FAILED: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- what the program printed:" >&2
    head -n 80 "$work/program.log" >&2
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

# Milliseconds the process $1, a child of the calling shell, takes to end,
# from now; 99999 when it has not ended within 10 seconds.
milliseconds_to_end() {
  local started
  started=$(date +%s%N)
  wait_until 10 sh -c "! kill -0 $1 2>/dev/null" || { echo 99999; return; }
  echo $((($(date +%s%N) - started) / 1000000))
}
