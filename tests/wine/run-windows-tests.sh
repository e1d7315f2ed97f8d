#!/usr/bin/env bash
# run-windows-tests.sh LINUX_TOBIREX BUILD_DIR: cross-builds the Windows programs
# into BUILD_DIR (again only what changed), checks what they are made of, runs
# the unit tests under Wine in a prefix of its own, then compares their sites
# with the Linux program's.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$2
mkdir -p "$BUILD"
TOBIREX_WINDOWS_BUILD_DIR="$BUILD" bash "$SRC/build-windows.sh" >"$BUILD/build.log" 2>&1 ||
  { tail -n 40 "$BUILD/build.log"; echo "the Windows build failed (log: $BUILD/build.log)"; exit 1; }

# tobirex.exe is a window program (Explorer opens no console for it), tobirex.com
# its console twin; both run on a bare Windows: nothing but the system's DLLs.
SYSTEM_DLLS='^(advapi32|gdi32|kernel32|msvcrt|ole32|shell32|user32|winhttp)\.dll$'
for pair in "exe:Windows GUI" "com:Windows CUI"; do
  program="$BUILD/app/tobirex.${pair%%:*}"
  headers=$(x86_64-w64-mingw32-objdump -p "$program")
  grep -q "^Subsystem.*(${pair#*:})" <<<"$headers" || { echo "$program is not a ${pair#*:} program"; exit 1; }
  if sed -n 's/^\tDLL Name: //p' <<<"$headers" | grep -viE "$SYSTEM_DLLS"; then
    echo "$program needs the DLLs above"; exit 1
  fi
done

# A home of its own: Wine links its Downloads folder there when it makes the prefix.
# Japanese paths reach Wine as UTF-8 words; the menu builder would put Linux desktop files into the prefix.
export LC_ALL=C.UTF-8 HOME="$BUILD/home" WINEPREFIX="$BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
trap 'wineserver -k 2>/dev/null || true' EXIT
# One server for the whole stage, in a prefix made first: a program started just as an idle server
# shuts down can fail to start.
wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p
# What passed, counted for run-tests.sh's summary: every unit test, every compared input, the installer.
passed=0
for suite in tests/sensyu_tests tests/report_tests tests/app/app_tests; do
  out=$(wine "$BUILD/$suite.exe" --gtest_brief=1) || { echo "$out"; exit 1; }
  echo "$out"
  passed=$((passed + $(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' <<<"$out")))  # Windows ends lines with CR
done
out=$(python3 "$SRC/tests/wine/same_sites.py" "$1" "$BUILD/app/tobirex.exe") || { echo "$out"; exit 1; }
echo "$out"
passed=$((passed + $(sed -n 's/^all \([0-9]*\) inputs alike$/\1/p' <<<"$out")))
bash "$SRC/tests/wine/installer-test.sh" "$BUILD"
echo $((passed + 1)) >"$BUILD/tests-passed"
