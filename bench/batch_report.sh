#!/usr/bin/env bash
# What --report costs in a batch: one quilane-redistribute process over every
# coordinate file of a folder (read in place; the results go to a temporary
# folder), with and without --report, alternating, five times each. Prints
# each run's files per second of wall-clock time (every file given counts,
# also one the reader refuses), the medians and the ratio of the medians.
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

rate() {  # files per second of one run with the extra options given
  rm -rf "$scratch/out" && mkdir "$scratch/out"
  local start stop
  start=$(date +%s%N)
  "$tool" "${options[@]}" "$@" --output-dir "$scratch/out" "${inputs[@]}" >/dev/null 2>"$scratch/err"
  stop=$(date +%s%N)
  awk -v n="$files" -v ns="$((stop - start))" 'BEGIN {printf "%.0f", n / (ns / 1e9)}'
}

plain=()
reported=()
for ((run = 1; run <= runs; ++run)); do
  plain+=("$(rate)")
  reported+=("$(rate --report)")
  echo "run $run: without --report ${plain[-1]} files/s, with --report ${reported[-1]} files/s"
done
lines=$(grep -c "max deviation" "$scratch/err")
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
p=$(median "${plain[@]}")
r=$(median "${reported[@]}")
echo "$files files in $folder, options ${options[*]}; $lines report lines"
echo "median: without --report $p files/s, with --report $r files/s;" \
  "ratio $(awk -v a="$r" -v b="$p" 'BEGIN {printf "%.2f", a / b}')"
