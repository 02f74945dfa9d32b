#!/usr/bin/env bash
# Builds the Debian package from a release build, checks its desktop entry and
# metadata, installs it, starts the installed program's command line, finds
# its menu entry and icon, and removes it again, leaving nothing behind.
# Needs root (or sudo) for dpkg. Usage: tools/test_package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

desktop-file-validate share/org.kazunavi.Kazunavi.desktop
appstreamcli validate --no-net share/org.kazunavi.Kazunavi.metainfo.xml
build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKAZUNAVI_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target kazunavi
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kazunavi_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
status=$(dpkg-query -W -f='${Status}' kazunavi 2>/dev/null || true)
case $status in
*" installed")
    echo "kazunavi is installed on this machine already: not touching it"
    exit 1
    ;;
# The record an earlier removal left (the package calls ldconfig on removal,
# for its module below /usr/lib, so dpkg keeps it until purged).
*config-files) $sudo dpkg -P kazunavi >/dev/null ;;
esac
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
$sudo dpkg -i "$deb" >/dev/null
files=$(dpkg -L kazunavi)
trap '$sudo dpkg -P kazunavi >/dev/null 2>&1 || true' EXIT
for f in /usr/bin/kazunavi /usr/share/applications/org.kazunavi.Kazunavi.desktop \
    /usr/share/metainfo/org.kazunavi.Kazunavi.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/kazunavi.svg \
    /usr/share/icons/hicolor/48x48/apps/kazunavi.png /usr/share/man/man1/kazunavi.1.gz \
    /usr/lib/kazunavi/help/index.html /usr/lib/kazunavi/kazunavi-lookup.so; do
    [ -e "$f" ] || { echo "FAIL: $f is not installed"; exit 1; }
done
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.kazunavi.Kazunavi.desktop)
[ "$(command -v "$exec_line")" = /usr/bin/kazunavi ]
[ "$(kazunavi --version)" = "Kazunavi 1.2" ]
kazunavi --help | grep -q -- --version
$sudo dpkg -P kazunavi >/dev/null
trap - EXIT
for f in $files; do
    [ -d "$f" ] || [ ! -e "$f" ] || { echo "FAIL: $f is left after removal"; exit 1; }
done
echo "The package installs, starts and leaves nothing behind."
