#!/usr/bin/env bash
# installer-test.sh BUILD_DIR: the installer under Wine as a user meets it, in
# a prefix of its own: an older version is installed, then this one silently
# over it; the installed programs are this build's, the shortcuts are there
# and only one version is registered; the installed console program converts
# the sample; the uninstall leaves nothing of ours, and the user's site stays.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$1
export WINEPREFIX="$BUILD/wine-installer" HOME="$BUILD/installer-home" WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
echo "mine" >"$HOME/notes.txt"  # Wine's desktop is the home folder: never empty on a user's machine
trap 'wineserver -k 2>/dev/null || true' EXIT
windows() { echo "Z:${1//\//\\}"; }
fail() { echo "installer: $*"; exit 1; }

msi=$(ls "$BUILD"/tobirex-*-win64.msi)
stage="$BUILD/packaging/windows/msi"
(cd "$stage" && WINDOWS_LANGUAGE=ja wixl -a x64 -D Version=1.2.0 -o older.msi "$SRC/packaging/windows/tobirex.wxs" &&
  WINDOWS_LANGUAGE=ja msibuild older.msi -i _ForceCodepage.idt)
wine msiexec /i "$(windows "$stage/older.msi")" /qn
wine msiexec /i "$(windows "$msi")" /qn
wineserver -w

user="$WINEPREFIX/drive_c/users/$(id -un)"
programs="$user/AppData/Local/Programs/Harumado"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Harumado"
ours=("$programs" "$menu")
for shortcut in ファン手帳コンバート 拡張ページ付きで変換 CSVに書き出す; do ours+=("$user/Desktop/$shortcut.lnk" "$menu/$shortcut.lnk"); done
for kind in exe com; do cmp -s "$programs/tobirex.$kind" "$BUILD/app/tobirex.$kind" || fail "tobirex.$kind is not this build's"; done
for item in "${ours[@]}" "$programs/はじめにお読みください.txt"; do
  [[ -e "$item" ]] || fail "$item is missing"
done
# One entry in the installed-programs list, for this version.
registered() { awk '/^\[/ { uninstall = /CurrentVersion\\\\Uninstall\\\\/ } uninstall && /^"DisplayName"="Harumado / { n++ }
                    END { print n + 0 }' "$WINEPREFIX"/*.reg; }
[[ $(registered) == 1 ]] || fail "$(registered) versions registered"

site="$BUILD/installer-site"
rm -rf "$site"
wine "C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Harumado\\tobirex.com" --yes --no-gui --no-open \
  --output "$(windows "$site")" "$(windows "$SRC/samples/fan2510.txt")" >/dev/null
[[ -f "$site/ファン手帳.html" && -f "$site/索引.html" ]] || fail "the installed program wrote no site"

wine msiexec /x "$(windows "$msi")" /qn
wineserver -w
for item in "${ours[@]}" "$user/AppData/Local/Programs"; do [[ ! -e "$item" ]] || fail "$item is left"; done
grep -qi 'harumado' "$WINEPREFIX"/*.reg && fail "registry entries are left"
[[ -f "$site/ファン手帳.html" && -f "$HOME/notes.txt" ]] || fail "the uninstall took the user's site or files"
echo "installer: installed over 1.2.0, converted the sample, uninstalled without a trace"
