#!/usr/bin/env bash
# Makes the Debian package from a build tree with CPack and checks the files it
# installs, what it depends on and that its program runs; lintian and
# desktop-file-validate look at it too where they are installed.
#   check-deb.sh BUILD_DIR [PACKAGE_DIR]   (the package is kept in PACKAGE_DIR)
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
dir=${2:-$out}
rm -f "$dir"/tobirex_*.deb
cpack --config "$1/CPackConfig.cmake" -B "$dir" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$dir"/tobirex_*.deb)
dpkg-deb -x "$deb" "$out/root"

expected="./usr/bin/tobirex
./usr/share/applications/tobirex.desktop
./usr/share/doc/tobirex/changelog.Debian.gz
./usr/share/doc/tobirex/copyright
./usr/share/icons/hicolor/16x16/apps/tobirex.png
./usr/share/icons/hicolor/32x32/apps/tobirex.png
./usr/share/icons/hicolor/scalable/apps/tobirex.svg
./usr/share/man/man1/tobirex.1.gz"
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
[[ "$files" == "$expected" ]] || { diff <(echo "$expected") <(echo "$files"); exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6network6 'libicu[0-9]+' liblhasa0 libsqlite3-0 qt6-qpa-plugins xdg-utils; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || { echo "Depends lacks $needed: $depends"; exit 1; }
done
[[ $(dpkg-deb -f "$deb" Recommends) == qt6-translations-l10n ]] || { dpkg-deb -f "$deb" Recommends; exit 1; }
[[ $("$out/root/usr/bin/tobirex" --version) == "Harumado "* ]]

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$out/root/usr/share/applications/tobirex.desktop"
fi
if command -v lintian >/dev/null; then lintian --fail-on error "$deb"; fi
echo "$deb: Depends: $depends"
