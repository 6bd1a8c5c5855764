#!/usr/bin/env bash
# Batch throughput of the command-line tool: one quilane-redistribute process
# over 1000 coordinate files with --output-dir, five times; prints for each
# run the files per second of wall-clock time and of processor time (user +
# system, from /usr/bin/time -v, to 10 ms), the medians of both, and the peak
# resident memory (maximum resident set size).
#
# With a second build folder, its tool runs too, alternating with the first
# in every run, and the ratios of the medians (first / second) are printed:
# a comparison of two versions in one run, on the same machine load.
#
# The folder is the system's temporary folder (TMPDIR, usually /tmp on the
# disk); TMPDIR=/dev/shm puts inputs and results in memory instead.
#
# The 1000 inputs are the four shipped samples (61 to 101 points), or the
# coordinate files of the folder QUILANE_BATCH_FOLDER (such as the published
# database sample beside the project), copied in turn under new names into a
# temporary folder, which is removed at the end. Every run must write the
# same files as the first (a file the tool refuses writes none).
#
# QUILANE_BATCH_OPTIONS adds options for every run ("--mapping --pwcubic");
# QUILANE_BATCH_FIRST_OPTIONS adds options for the first build's runs only, so
# that one build compared with itself times an option ("--on-spline").
#
#   bench/batch.sh [BUILD_DIR [BASELINE_BUILD_DIR]]   (BUILD_DIR defaults to build-bench)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds=("${1:-$top/build-bench}")
[ $# -ge 2 ] && builds+=("$2")
files=1000
runs=5

for build in "${builds[@]}"; do
  if [ ! -x "$build/src/app/quilane-redistribute" ]; then
    echo "$build/src/app/quilane-redistribute not found: build the target quilane-redistribute first" >&2
    exit 1
  fi
done
if [ ! -x /usr/bin/time ]; then
  echo "/usr/bin/time is needed for the peak memory (Debian package: time)" >&2
  exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/in" "$scratch/out"
shopt -s nullglob
if [ -n "${QUILANE_BATCH_FOLDER:-}" ]; then
  samples=("$QUILANE_BATCH_FOLDER"/*.dat "$QUILANE_BATCH_FOLDER"/*.arf)
else
  samples=("$top"/samples/*.arf)
fi
shopt -u nullglob
if [ ${#samples[@]} -eq 0 ]; then
  echo "no coordinate files to run on" >&2
  exit 1
fi
inputs=()
for ((i = 0; i < files; ++i)); do
  sample="${samples[i % ${#samples[@]}]}"
  name="$(printf '%04d' "$i")-$(basename "$sample")"
  cp "$sample" "$scratch/in/$name"
  inputs+=("$scratch/in/$name")
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
declare -A rates cpu_rates peaks
expected=""
for ((run = 1; run <= runs; ++run)); do
  for b in "${!builds[@]}"; do
    tool="${builds[b]}/src/app/quilane-redistribute"
    # shellcheck disable=SC2206
    options=(${QUILANE_BATCH_OPTIONS:-})
    # shellcheck disable=SC2206
    [ "$b" -eq 0 ] && options+=(${QUILANE_BATCH_FIRST_OPTIONS:-})
    rm -f "$scratch"/out/*
    start=$(date +%s%N)
    /usr/bin/time -v -o "$scratch/time.txt" "$tool" "${options[@]}" --output-dir "$scratch/out" "${inputs[@]}" \
      >/dev/null 2>&1 || true
    stop=$(date +%s%N)
    written=$(find "$scratch/out" -type f | wc -l)
    [ -z "$expected" ] && expected=$written
    if [ "$written" -ne "$expected" ] || [ "$written" -eq 0 ]; then
      echo "run $run of ${builds[b]} wrote $written files instead of $expected" >&2
      exit 1
    fi
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time.txt")
    ((kb > ${peaks[$b]:-0})) && peaks[$b]=$kb
    cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$scratch/time.txt")
    rate=$(awk -v n="$files" -v ns="$((stop - start))" 'BEGIN {printf "%.0f", n / (ns / 1e9)}')
    cpu_rate=$(awk -v n="$files" -v s="$cpu" 'BEGIN {printf "%.0f", (s > 0 ? n / s : 0)}')
    rates[$b]+="$rate "
    cpu_rates[$b]+="$cpu_rate "
    echo "run $run, ${builds[b]}: $files files ($written written) in" \
      "$(awk -v ns="$((stop - start))" 'BEGIN {printf "%.3f", ns / 1e9}') s ($rate files/s)," \
      "processor $cpu s ($cpu_rate files/s), peak $kb KiB"
  done
done
for b in "${!builds[@]}"; do
  # shellcheck disable=SC2086
  wall[$b]=$(median ${rates[$b]})
  # shellcheck disable=SC2086
  proc[$b]=$(median ${cpu_rates[$b]})
  echo "${builds[b]}: folder $(dirname "$scratch"); median: ${wall[b]} files/s wall clock," \
    "${proc[b]} files/s processor time; highest peak resident memory: ${peaks[$b]} KiB" \
    "($((peaks[$b] / 1024)) MiB)"
done
if [ ${#builds[@]} -eq 2 ]; then
  awk -v w0="${wall[0]}" -v w1="${wall[1]}" -v p0="${proc[0]}" -v p1="${proc[1]}" \
    'BEGIN {printf "ratio of the medians, first / second: %.3f wall clock, %.3f processor time\n",
            w0 / w1, p0 / p1}'
fi
