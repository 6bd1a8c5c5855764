#!/usr/bin/env bash
# Batch throughput of the command-line tool: one quilane-redistribute process
# over 1000 coordinate files with --output-dir, five times; prints for each
# run the files per second of wall-clock time and of processor time (user +
# system, from /usr/bin/time -v, to 10 ms), the medians of both, and the peak
# resident memory (maximum resident set size).
#
# The folder is the system's temporary folder (TMPDIR, usually /tmp on the
# disk); TMPDIR=/dev/shm puts inputs and results in memory instead.
#
# The 1000 inputs are the four shipped samples (61 to 101 points) copied in
# turn under new names into a temporary folder, which is removed at the end.
#
#   bench/batch.sh [BUILD_DIR]     (BUILD_DIR defaults to build-bench)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$top/build-bench}"
tool="$build/src/app/quilane-redistribute"
files=1000
runs=5

if [ ! -x "$tool" ]; then
  echo "$tool not found: build the target quilane-redistribute first" >&2
  exit 1
fi
if [ ! -x /usr/bin/time ]; then
  echo "/usr/bin/time is needed for the peak memory (Debian package: time)" >&2
  exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/in" "$scratch/out"
samples=("$top"/samples/*.arf)
inputs=()
for ((i = 0; i < files; ++i)); do
  sample="${samples[i % ${#samples[@]}]}"
  name="$(printf '%04d' "$i")-$(basename "$sample")"
  cp "$sample" "$scratch/in/$name"
  inputs+=("$scratch/in/$name")
done

rates=()
cpu_rates=()
peak_kb=0
for ((run = 1; run <= runs; ++run)); do
  rm -f "$scratch"/out/*
  start=$(date +%s%N)
  /usr/bin/time -v -o "$scratch/time.txt" "$tool" --output-dir "$scratch/out" "${inputs[@]}" >/dev/null
  stop=$(date +%s%N)
  written=$(find "$scratch/out" -name '*.arf' | wc -l)
  if [ "$written" -ne $((2 * files)) ]; then
    echo "run $run wrote $written files instead of $((2 * files))" >&2
    exit 1
  fi
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time.txt")
  ((kb > peak_kb)) && peak_kb=$kb
  cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$scratch/time.txt")
  rate=$(awk -v n="$files" -v ns="$((stop - start))" 'BEGIN {printf "%.0f", n / (ns / 1e9)}')
  cpu_rate=$(awk -v n="$files" -v s="$cpu" 'BEGIN {printf "%.0f", (s > 0 ? n / s : 0)}')
  rates+=("$rate")
  cpu_rates+=("$cpu_rate")
  echo "run $run: $files files in $(awk -v ns="$((stop - start))" 'BEGIN {printf "%.3f", ns / 1e9}') s" \
    "($rate files/s), processor $cpu s ($cpu_rate files/s), peak $kb KiB"
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
echo "folder $(dirname "$scratch"); median: $(median "${rates[@]}") files/s wall clock," \
  "$(median "${cpu_rates[@]}") files/s processor time; highest peak resident memory: $peak_kb KiB" \
  "($((peak_kb / 1024)) MiB)"
