#!/usr/bin/env bash
# Builds the Debian package build/deb/tobirex_VERSION_ARCH.deb (VERSION such as
# 1.3-1): installs what is missing, builds the program with Debian's hardening
# flags, packs it with CPack and checks it (files, Depends, desktop entry, lintian).
#   ./build-deb.sh && sudo apt-get install ./build/deb/tobirex_*.deb
set -euo pipefail
cd "$(dirname "$0")"
TOBIREX_BROWSER_TEST=0 TOBIREX_WINDOWS_TEST=0 bash .ci/install-deps dpkg-dev lintian desktop-file-utils

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=Release -DTOBIREX_BUILD_TESTS=OFF -DTOBIREX_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build/deb -j"$(nproc)"
bash tests/package/check-deb.sh build/deb build/deb
