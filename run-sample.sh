#!/usr/bin/env bash
# Installs what is missing, builds the program and converts the bundled
# sample fan file into a site, without a display.
#   ./run-sample.sh [OUTPUT_DIR]      (default: ./site)
set -euo pipefail
cd "$(dirname "$0")"
OUT="${1:-$PWD/site}"

TOBIREX_BROWSER_TEST=0 TOBIREX_WINDOWS_TEST=0 bash .ci/install-deps
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTOBIREX_BUILD_TESTS=OFF -DTOBIREX_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tobirex >/dev/null
./build/release/app/tobirex --no-gui --yes --no-open --output "$OUT" samples/fan2510.txt
