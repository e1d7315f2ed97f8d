#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for SECONDS (default
# 60) from its corpus. New inputs go to a scratch folder, never into the
# committed corpus. Prints one line per harness; exits non-zero on a finding.
#   fuzz/run-smoke.sh [SECONDS]      FUZZ_BUILD_DIR overrides build/fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-60}"
BUILD="${FUZZ_BUILD_DIR:-build/fuzz}"
HARNESSES=(fuzz_load fuzz_convert fuzz_archive)

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DTOBIREX_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DTOBIREX_BUILD_APP=OFF -DTOBIREX_BUILD_TESTS=OFF -DTOBIREX_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target "${HARNESSES[@]}" >/dev/null

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
failed=0
for h in "${HARNESSES[@]}"; do
  scratch="$BUILD/fuzz-run/$h"
  rm -rf "$scratch" && mkdir -p "$scratch/corpus" "$scratch/artifacts"
  log="$scratch/fuzz.log"
  status=0
  "$BUILD/fuzz/$h" -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$scratch/artifacts/" "$scratch/corpus" "fuzz/corpus/$h" >"$log" 2>&1 || status=$?
  # The last status line carries the final coverage; the final stats the speed.
  last="$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)"
  cov="$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")"
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  if [[ $status -eq 0 ]]; then
    result="ok"
  else
    result="FAILED (exit $status; log $log, input in $scratch/artifacts/)"
    failed=1
  fi
  printf 'fuzz %-18s %ss: %s runs, %s exec/s, cov: %s ft: %s, %s\n' \
    "$h" "$SECONDS_EACH" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$result"
  if [[ $status -ne 0 ]]; then grep -E -A30 'ERROR|fuzz check failed|deadly signal' "$log" | head -n 60 >&2 || true; fi
done
exit "$failed"
