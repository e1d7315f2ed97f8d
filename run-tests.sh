#!/usr/bin/env bash
# Builds everything and runs every test: the normal build with warnings as
# errors, the AddressSanitizer/UndefinedBehaviorSanitizer build, and a short
# benchmark smoke run. Prints one summary line per stage.
set -euo pipefail
cd "$(dirname "$0")"
JOBS="$(nproc)"

bash .ci/install-deps

stage() { printf '== %-10s %s\n' "$1" "$2"; }

cmake -S . -B build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBIREX_WERROR=ON >/dev/null
cmake --build build/ci -j"$JOBS"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/ci --output-on-failure -j"$JOBS"
stage tests "passed (normal build, -Werror)"

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTOBIREX_WERROR=ON -DTOBIREX_SANITIZE=ON \
  -DTOBIREX_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j"$JOBS"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j"$JOBS"
stage sanitizers "passed (ASan + UBSan)"

./build/ci/bench/tobirex_bench --benchmark_min_time=0.01 >/dev/null
stage bench "smoke run passed"
