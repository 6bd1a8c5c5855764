#!/usr/bin/env bash
# The hardened half of the test command (scripts/test.sh runs it after the
# normal build): every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer by g++, then, when clang is installed, each
# libFuzzer target for a bounded time (QUILANE_FUZZ_SECONDS, 60 by default)
# on the seed corpora. Any sanitizer report, failed test or fuzz finding fails
# the run; findings are kept in <build>-fuzz/findings/.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILANE_BUILD_DIR:-$top/build}"
sanitize_build="$build-sanitize"
fuzz_build="$build-fuzz"
fuzz_seconds="${QUILANE_FUZZ_SECONDS:-60}"
jobs="$(nproc)"

# Sanitized tests, the window's among them (Qt itself is not instrumented,
# and its use by the window gives no report): any report stops the test that
# made it, leaks included. The web tests are left out: they check the
# WebAssembly build, which the sanitizers do not instrument, and run in the
# normal build.
# Built at -O1 with light debug information and assertions on: half the
# compile time of -O2 -g, and the usual level for the sanitizers' reports.
cmake -S "$top" -B "$sanitize_build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DQUILANE_SANITIZE=ON -DQUILANE_BENCH=OFF
cmake --build "$sanitize_build" -j "$jobs"
(
  cd "$sanitize_build"
  export QT_QPA_PLATFORM=offscreen
  export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --output-on-failure -j "$jobs" -E '^web_'
)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ is not installed: the fuzz targets are not run."
  exit 0
fi

CC=clang CXX=clang++ cmake -S "$top" -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILANE_FUZZ=ON -DQUILANE_WINDOW=OFF -DQUILANE_TESTS=OFF -DQUILANE_BENCH=OFF
cmake --build "$fuzz_build" -j "$jobs" \
  --target quilane_fuzz_reader quilane_fuzz_value_of_string quilane_fuzz_pipeline

# Seeds read in place: the shipped samples, the published sections beside the
# project (for the reader also the sample of published files as they stand,
# notes and odd headers included), the malformed files of the reader's tests
# (fuzz/seeds/reader) and
# inputs that once broke an invariant (fuzz/seeds/pipeline); the pipeline's
# seeds are also the samples with settings appended (see
# fuzz/pipeline_fuzz.cpp): nPoly text, NI text, their lengths, the switches,
# for all four routes and methods, two turned and shifted contours on the
# mapping route (0x25: Lagrange, 0xde: PW cubic), and both routes with new
# points on the spline (bit 4 of the NI length).
shared=()
for folder in "$top/../shared/airfoils"/*/; do
  [ -d "$folder" ] && shared+=("$folder")
done
reader_seeds=()
database_sample="$top/../shared/airfoil-database-sample"
[ -d "$database_sample" ] && reader_seeds+=("$database_sample")
pipeline_seeds="$fuzz_build/seeds/pipeline"
rm -rf "$pipeline_seeds"
mkdir -p "$pipeline_seeds" "$fuzz_build/findings"
for sample in "$top"/samples/*.arf; do
  name="$(basename "$sample" .arf)"
  for switches in 00 01 02 03 25 de; do
    { cat "$sample"; printf '351\x01\x02'; printf "\\x$switches"; } \
      > "$pipeline_seeds/$name-$switches"
  done
  for switches in 02 03; do
    { cat "$sample"; printf '351\x01\x12'; printf "\\x$switches"; } \
      > "$pipeline_seeds/$name-$switches-on-spline"
  done
done

run_fuzzer() {
  local target="$1"
  shift
  local corpus="$fuzz_build/corpus/$target"
  local scratch
  scratch="$(mktemp -d "${scratch_base}/quilane-fuzz-$target.XXXXXX")"
  mkdir -p "$corpus"
  echo "Fuzzing $target for $fuzz_seconds s"
  QUILANE_FUZZ_SCRATCH="$scratch" ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1" \
    "$fuzz_build/fuzz/quilane_fuzz_$target" -max_total_time="$fuzz_seconds" -timeout=60 \
    -rss_limit_mb=2048 -max_len=65536 -dict="$top/fuzz/airfoil.dict" -print_final_stats=1 \
    -artifact_prefix="$fuzz_build/findings/$target-" "$corpus" "$@" \
    > "$fuzz_build/fuzz-$target.log" 2>&1 || {
      rm -rf "$scratch"
      tail -n 60 "$fuzz_build/fuzz-$target.log"
      echo "Fuzz target $target found a fault; the input is in $fuzz_build/findings/"
      return 1
    }
  rm -rf "$scratch"
  grep -a -E "Done [0-9]+ runs" "$fuzz_build/fuzz-$target.log" | tail -n 1
}

# The targets' own files go to memory where there is some: on a disk every
# replaced file waits for the disk.
scratch_base="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm

run_fuzzer reader "$top/samples" "${shared[@]}" "${reader_seeds[@]}" "$top/fuzz/seeds/reader"
run_fuzzer value_of_string "$top/fuzz/seeds/value_of_string"
run_fuzzer pipeline "$pipeline_seeds" "$top/fuzz/seeds/pipeline" "$top/fuzz/seeds/reader" \
  "${shared[@]}"
