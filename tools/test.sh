#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test: unit tests, scenarios, Qt tests and the end-to-end tests.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
build=build-asan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKAZUNAVI_SANITIZE=ON -DKAZUNAVI_GUI=ON \
      -DKAZUNAVI_BENCH=ON
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
# The tests with real browsers (label integration) need firefox-esr and
# chromium and run on their own: ctest -L integration.
ctest --output-on-failure -j"$(nproc)" -LE integration
