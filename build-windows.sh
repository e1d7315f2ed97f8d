#!/usr/bin/env bash
# Cross-builds the Windows programs with Debian's mingw-w64 — tobirex.exe (the
# window, for Explorer) and tobirex.com (its console twin, for a prompt) — and
# packs them with a short Japanese read-me into tobirex-<version>-win64.zip and
# the per-user installer tobirex-<version>-win64.msi (wixl). Installs what is
# missing (Debian packages only; liblhasa and SQLite from Debian's own source
# packages). Leaves everything under build/windows/.
#   ./build-windows.sh           build
#   ./build-windows.sh test      build, then run the tests under Wine
set -euo pipefail
cd "$(dirname "$0")"
OUT=$(realpath -m "${TOBIREX_WINDOWS_BUILD_DIR:-build/windows}")  # the Wine test builds its own
SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO="sudo"

PACKAGES=(cmake make gcc tcl g++-mingw-w64-x86-64-posix googletest dpkg-dev zip wine wine64 python3 wixl msitools)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# liblhasa and SQLite as Debian ships their sources: apt-get source needs a deb-src line.
debian_source() {
  if ! apt-get source --print-uris "$1" >/dev/null 2>&1; then
    echo "Adding Debian's source lines for apt-get source"
    $SUDO tee /etc/apt/sources.list.d/tobirex-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $SUDO apt-get update -qq
  fi
  mkdir -p "$OUT/deps"
  (cd "$OUT/deps" && apt-get source -qq "$1" >/dev/null 2>&1)
}
LHASA=$(ls -d "$OUT"/deps/lhasa-*/ 2>/dev/null | head -n 1 || true)
if [[ -z "$LHASA" ]]; then
  debian_source lhasa
  LHASA=$(ls -d "$OUT"/deps/lhasa-*/ | head -n 1)
fi
# SQLite's source is many files; its build makes the one-file form sqlite3.c
# with the host's compiler and tclsh, which the cross-build then compiles.
SQLITE=$(ls -d "$OUT"/deps/sqlite3-*/ 2>/dev/null | head -n 1 || true)
if [[ -z "$SQLITE" ]]; then
  debian_source sqlite3
  SQLITE=$(ls -d "$OUT"/deps/sqlite3-*/ | head -n 1)
fi
if [[ ! -f "$SQLITE/amalgamation/sqlite3.c" ]]; then
  mkdir -p "$SQLITE/amalgamation"
  (cd "$SQLITE/amalgamation" && ../configure -q >/dev/null && make -s sqlite3.c >/dev/null)
fi

cmake -S . -B "$OUT" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTOBIREX_LHASA_SOURCE="${LHASA%/}" -DTOBIREX_SQLITE_SOURCE="${SQLITE}amalgamation" \
  -DTOBIREX_BUILD_APP=ON -DTOBIREX_BUILD_BENCH=OFF -DTOBIREX_WERROR=ON >/dev/null
export WINEPREFIX="$OUT/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake --build "$OUT" -j"$(nproc)"
(cd "$OUT" && cpack -G ZIP >/dev/null)
echo "Built $OUT/app/tobirex.exe, $OUT/app/tobirex.com, $(ls "$OUT"/tobirex-*-win64.zip) and $(ls "$OUT"/tobirex-*-win64.msi)"
if [[ "${1:-}" == test ]]; then
  ctest --test-dir "$OUT" --output-on-failure -j"$(nproc)"
fi
