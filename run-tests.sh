#!/usr/bin/env bash
# Builds everything and runs every test: the normal build with warnings as
# errors (unit, golden, application, hostile-input and browser tests and a
# benchmark smoke run), the AddressSanitizer/UndefinedBehaviorSanitizer build,
# and a short libFuzzer run per harness. Prints one summary line per stage.
#   FUZZ_SECONDS=N sets the fuzz run per harness (default 60).
set -euo pipefail
cd "$(dirname "$0")"
JOBS="$(nproc)"

bash .ci/install-deps

START=$SECONDS
stage() { printf '== %-10s %-45s (%d s so far)\n' "$1" "$2" $((SECONDS - START)); }

# The operating system is reached through platform/ only (tests and benchmarks may call it directly).
OS_HEADERS='^\s*#\s*include\s*<(unistd|fcntl|signal|dirent|spawn|sched|pthread|windows|shlobj|winhttp|shellapi)\.h>|^\s*#\s*include\s*<sys/'
if grep -rnE --include='*.cpp' --include='*.h' --exclude-dir=platform --exclude-dir=tests --exclude-dir=bench \
     --exclude-dir='build*' --exclude-dir=.git "$OS_HEADERS" .; then
  echo "OS headers outside platform/ (above)"; exit 1
fi
stage layers "no OS header outside platform/"

cmake -S . -B build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBIREX_WERROR=ON >/dev/null
cmake --build build/ci -j"$JOBS"
# ctest's own closing line says how many ran; keep the count for the summary.
run_ctest() { ctest "$@" --output-on-failure -j"$JOBS" | tee build/ctest.log; }
count_tests() { sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' build/ctest.log; }
mkdir -p build
rm -f build/ci/windows/tests-passed
QT_QPA_PLATFORM=offscreen run_ctest --test-dir build/ci
NORMAL=$(count_tests)
# The Windows stage is one ctest test; it leaves how many of its own tests passed under Wine.
WINDOWS=$(cat build/ci/windows/tests-passed 2>/dev/null || echo 0)
stage tests "passed (normal build, -Werror; $WINDOWS under Wine)"

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTOBIREX_WERROR=ON -DTOBIREX_SANITIZE=ON \
  -DTOBIREX_BUILD_BENCH=OFF -DTOBIREX_WINE_TEST=OFF >/dev/null
cmake --build build/asan -j"$JOBS"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_ctest --test-dir build/asan
SANITIZED=$(count_tests)
stage sanitizers "passed (ASan + UBSan)"

FUZZ_BUILD_DIR=build/fuzz bash fuzz/run-smoke.sh "${FUZZ_SECONDS:-60}"
stage fuzz "no findings (${FUZZ_SECONDS:-60} s per harness)"

echo "all: $((NORMAL + SANITIZED + WINDOWS + 3)) passed, 0 failed ($WINDOWS of them Windows tests under Wine)"
