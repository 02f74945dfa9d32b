#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKAZUNAVI_TESTS=OFF
cmake --build build -j"$(nproc)" --target kazunavi
exec build/kazunavi "$@"
