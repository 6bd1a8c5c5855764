#!/usr/bin/env bash
# What --report costs in a batch: one quilane-redistribute process over every
# coordinate file of a folder (read in place; the results go to a temporary
# folder: TMPDIR, /tmp unless set; TMPDIR=/dev/shm keeps them in memory),
# with and without --report, alternating, five times each. Prints each run's
# files per second of wall-clock time and of processor time (user + system,
# from /usr/bin/time; every file given counts, also one the reader refuses),
# the medians and the ratios of the medians.
#
#   bench/batch_report.sh [BUILD_DIR [FOLDER [TOOL OPTIONS...]]]
#
# BUILD_DIR defaults to build-bench, FOLDER to ../shared/airfoil-database-sample
# beside the project, the options to the conformal mapping with the piecewise
# cubic and 101 new points.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$top/build-bench}"
folder="${2:-$top/../shared/airfoil-database-sample}"
shift $(($# < 2 ? $# : 2))
options=("$@")
[ ${#options[@]} -eq 0 ] && options=(--mapping --pwcubic -n 101)
tool="$build/src/app/quilane-redistribute"
runs=5

if [ ! -x "$tool" ]; then
  echo "$tool not found: build the target quilane-redistribute first" >&2
  exit 1
fi
inputs=("$folder"/*.dat "$folder"/*.arf)
inputs=("${inputs[@]//*\*.*/}")
files=0
for input in "${inputs[@]}"; do [ -n "$input" ] && ((++files)); done
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Runs the tool once with the extra options given; prints "WALL CPU" in
# files per second.
rate() {
  rm -rf "$scratch/out" && mkdir "$scratch/out"
  local start stop cpu
  start=$(date +%s%N)
  /usr/bin/time -f "%U %S" -o "$scratch/time" "$tool" "${options[@]}" "$@" \
    --output-dir "$scratch/out" "${inputs[@]}" >/dev/null 2>"$scratch/err"
  stop=$(date +%s%N)
  cpu=$(tail -n 1 "$scratch/time" | awk '{printf "%.2f", $1 + $2}')
  awk -v n="$files" -v ns="$((stop - start))" -v s="$cpu" \
    'BEGIN {printf "%.0f %.0f", n / (ns / 1e9), (s > 0 ? n / s : 0)}'
}

wall_plain=()
cpu_plain=()
wall_reported=()
cpu_reported=()
for ((run = 1; run <= runs; ++run)); do
  read -r wall cpu <<<"$(rate)"
  wall_plain+=("$wall")
  cpu_plain+=("$cpu")
  read -r wall cpu <<<"$(rate --report)"
  wall_reported+=("$wall")
  cpu_reported+=("$cpu")
  echo "run $run: without --report ${wall_plain[-1]} files/s wall, ${cpu_plain[-1]} processor;" \
    "with --report ${wall_reported[-1]} files/s wall, ${cpu_reported[-1]} processor"
done
lines=$(grep -c "max deviation" "$scratch/err")
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
wp=$(median "${wall_plain[@]}")
wr=$(median "${wall_reported[@]}")
cp=$(median "${cpu_plain[@]}")
cr=$(median "${cpu_reported[@]}")
echo "$files files in $folder, options ${options[*]}; $lines report lines; results in $(dirname "$scratch")"
echo "median wall clock: without --report $wp files/s, with --report $wr files/s, ratio $(ratio "$wr" "$wp")"
echo "median processor time: without --report $cp files/s, with --report $cr files/s, ratio $(ratio "$cr" "$cp")"
