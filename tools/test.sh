#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test: unit tests, scenarios, Qt tests, the end-to-end tests and
# the integration tests with real browsers; then the Windows build's tests
# under Wine (tools/test_windows.sh) and the Debian package, installed and
# removed again (tools/test_package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh --tests --windows
python3 tools/check_layers.py
tools/test_share.sh
build=build-asan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKAZUNAVI_SANITIZE=ON -DKAZUNAVI_GUI=ON \
      -DKAZUNAVI_BENCH=ON
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure -j"$(nproc)" -LE integration
# The real browsers run alone, so that their timing is not the other tests'
# load; they skip with a line saying why where a package is missing.
ctest --output-on-failure -L integration
cd ..
tools/test_windows.sh "$build"
tools/test_package.sh
