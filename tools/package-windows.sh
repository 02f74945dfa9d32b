#!/usr/bin/env bash
# Builds kazunavi.exe for Windows (build-win, with mingw-w64) and makes the
# release from it: an installer for one user (NSIS) and a portable zip, in
# build-win/package/. Given an .exe, packages that one instead of building.
#
#   tools/package-windows.sh [EXE]
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh --windows
build=build-win
exe=${1:-}
if [ -z "$exe" ]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
          -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O1 -DKAZUNAVI_GUI=ON
    cmake --build "$build" -j2 --target kazunavi
    exe=$build/kazunavi.exe
fi
[ -f "$exe" ] || { echo "No such program: $exe" >&2; exit 1; }
version=$(sed -n 's/^project(kazunavi VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$build/package
rm -rf "$out"
mkdir -p "$out/Kazunavi/help"
cp "$exe" "$out/Kazunavi/kazunavi.exe"
cp share/help/index.html "$out/Kazunavi/help/"
makensis -V2 -DVERSION="$version" -DEXE="$PWD/$out/Kazunavi/kazunavi.exe" \
         -DHELP="$PWD/share/help/index.html" -DOUTFILE="$PWD/$out/Kazunavi-$version-setup.exe" \
         packaging/windows/kazunavi.nsi
# The portable program keeps URL.ini beside itself, in the folder unpacked.
(cd "$out" && zip -qr "Kazunavi-$version-portable.zip" Kazunavi)
rm -rf "$out/Kazunavi"
echo "$out/Kazunavi-$version-setup.exe"
echo "$out/Kazunavi-$version-portable.zip"
