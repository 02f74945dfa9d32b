#!/usr/bin/env bash
# Cross-builds the Windows executables with mingw-w64 into build-win and runs
# their tests under Wine, in Wine prefixes of build-win's own; then packages
# the release and installs and uninstalls the installer under Wine. Given the
# folder of a Linux build whose tests have run, also checks that the Linux and
# the Windows build wrote the same URL.ini for the same keep-list actions.
#
#   tools/test_windows.sh [LINUX_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh --windows
build=build-win
# No optimisation beyond -O1 and no debug information: the build is most of
# the time this takes.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O1 -DKAZUNAVI_GUI=ON
cmake --build "$build" -j2
(cd "$build" && ctest --output-on-failure -j2)
WINEPREFIX="$PWD/$build/wineprefix" wineserver -w
WINEPREFIX="$PWD/$build/wineprefix-x11" wineserver -w
tools/package-windows.sh "$build/kazunavi.exe"
tools/test_windows_installer.sh "$build"/package/Kazunavi-*-setup.exe
if [ $# -gt 0 ]; then
    cmp "$1/tests/keep-list-bytes.out/URL.ini" "$build/tests/keep-list-bytes.out/URL.ini"
    echo "The Linux and the Windows build wrote the same URL.ini."
fi
