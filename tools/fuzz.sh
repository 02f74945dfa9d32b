#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each fuzz_* target for a
# bounded time, keeping its corpus between runs.
#   tools/fuzz.sh [seconds per target, default 300] [target...]
# With target names (fuzz_ini ...) only those run.
# The build folder is build-fuzz (or $FUZZ_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-300}"
shift || true
only=("$@")
build="${FUZZ_BUILD_DIR:-build-fuzz}"

if ! command -v clang++ >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DKAZUNAVI_FUZZ=ON -DKAZUNAVI_GUI=OFF -DKAZUNAVI_TESTS=OFF -DKAZUNAVI_BENCH=OFF
if [ ${#only[@]} -gt 0 ]; then
    cmake --build "$build" --target "${only[@]}" -j"$(nproc)"
else
    cmake --build "$build" --target fuzz_targets -j"$(nproc)"
fi

export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in "$build"/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name="$(basename "$target")"
    if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " $name " ]]; then
        continue
    fi
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/$name-")
    [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
    # Real files as seeds: several kilobytes each, so longer inputs are allowed.
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name") && options+=(-max_len=32768)
    echo "== $name: $seconds s"
    if ! "$target" "${options[@]}" "$corpus" "${seeds[@]}"; then
        echo "== $name FAILED; the input that broke it is in $build/$name-*"
        failed=1
    fi
done
exit "$failed"
