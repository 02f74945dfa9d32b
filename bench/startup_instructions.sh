#!/usr/bin/env bash
# Instructions until the first window is visible (callgrind), Kazunavi against
# the bare Qt window with one Japanese label, alternated in an X server of its
# own. Callgrind dumps its counts as soon as the window shows; all threads count.
#
# Usage: bench/startup_instructions.sh BUILD_FOLDER [RUNS]
#   (the kazunavi, kazunavi_lookup, bare_qt targets; valgrind, xdotool)
# Target: within 1.2 x the bare window.
set -u

build=$(cd "${1:?build folder}" && pwd)
runs=${2:-2}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require Xvfb openbox xdotool valgrind callgrind_control
xs_start bus $((runs * 120 + 60)) || exit 1
mkdir -p "$XS/program"
cp "$build/kazunavi" "$build/kazunavi-lookup.so" "$XS/program/"
export QT_QPA_PLATFORM=xcb

# Millions of instructions of one start until its window is visible.
instructions() {
    local out=$XS/callgrind.$RANDOM vg i
    valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>&1 &
    vg=$!
    for i in $(seq 1 600); do
        xdotool search --onlyvisible --pid "$vg" >/dev/null 2>&1 && break
        sleep 0.05
    done
    callgrind_control -d "$vg" >/dev/null 2>&1
    sleep 1
    kill "$vg"
    wait "$vg" 2>/dev/null
    awk '/^summary:/ {printf "%.1f", $2 / 1e6}' "$out.1"
}

printf '%-6s %14s %14s %8s  %s\n' "start" "label (M)" "Kazunavi (M)" "ratio" "target"
for i in $(seq 1 "$runs"); do
    label=$(instructions "$build/bench/bare_qt" --label)
    kaz=$(instructions "$XS/program/kazunavi")
    awk -v i="$i" -v l="$label" -v k="$kaz" 'BEGIN {
        printf "%-6d %14.1f %14.1f %8.2f  %s\n", i, l, k, k / l, (k <= 1.2 * l ? "met (<= 1.2)" : "NOT met (<= 1.2)")
    }'
done
