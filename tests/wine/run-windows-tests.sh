#!/usr/bin/env bash
# run-windows-tests.sh LINUX_TOBIREX BUILD_DIR: cross-builds the Windows program
# into BUILD_DIR (again only what changed), runs its unit tests under Wine in
# a prefix of its own, then compares its sites with the Linux program's.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$2
mkdir -p "$BUILD"
TOBIREX_WINDOWS_BUILD_DIR="$BUILD" bash "$SRC/build-windows.sh" >"$BUILD/build.log" 2>&1 ||
  { tail -n 40 "$BUILD/build.log"; echo "the Windows build failed (log: $BUILD/build.log)"; exit 1; }
# A home of its own: Wine links its Downloads folder there when it makes the prefix.
export HOME="$BUILD/home" WINEPREFIX="$BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
trap 'wineserver -k 2>/dev/null || true' EXIT
for suite in sensyu_tests report_tests app_tests; do
  wine "$BUILD/tests/$suite.exe" --gtest_brief=1
done
python3 "$SRC/tests/wine/same_sites.py" "$1" "$BUILD/app/tobirex.exe"
