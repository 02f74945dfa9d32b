#!/usr/bin/env bash
# Installs the Windows installer silently under Wine, in a Wine prefix of its
# own, checks the program, the Start-menu entry and the uninstaller's
# registration, then uninstalls it: everything installed is gone, the keep
# list that the program wrote beside itself stays.
#
#   tools/test_windows_installer.sh SETUP_EXE
set -euo pipefail
setup=$(realpath "$1")
cd "$(dirname "$0")/.."

export WINEPREFIX="$PWD/build-win/wineprefix-installer" WINEDEBUG=-all LANG=C.UTF-8
export WINEDLLOVERRIDES=mscoree,mshtml=
rm -rf "$WINEPREFIX"
fail() { echo "FAIL: $*" >&2; exit 1; }
unix() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r')"; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kazunavi'

wine "$setup" /S
wineserver -w
dir=$(unix '%LOCALAPPDATA%\Programs\Kazunavi')
link="$(unix '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Kazunavi.lnk"
installed=("$dir/kazunavi.exe" "$dir/help/index.html" "$dir/uninstall.exe" "$link")
for f in "${installed[@]}"; do
    [ -f "$f" ] || fail "$f is not installed"
done
wine reg query "$key" /v UninstallString | grep -qi 'uninstall.exe' ||
    fail "the uninstaller is not registered"
printf '[KeepCount]\r\nCount=0\r\n' >"$dir/URL.ini"
cp "$dir/URL.ini" "$dir/URL.ini.bak-1"

wine "$dir/uninstall.exe" /S
wineserver -w
for f in "${installed[@]}" "$dir/help"; do
    [ ! -e "$f" ] || fail "$f is left after uninstalling"
done
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller is still registered"
cmp -s "$dir/URL.ini" "$dir/URL.ini.bak-1" || fail "the keep list did not stay"
rm -rf "$WINEPREFIX"
echo "The installer installs for the user and uninstalls, keeping the keep list."
