#!/usr/bin/env bash
# Kazunavi against a bare Qt Widgets program, side by side in one run in an X
# server of its own (Xvfb + openbox): time to the first shown window, resident
# and private dirty memory after start, processor time over an idle minute. A
# second yardstick, the bare window with one line of Japanese text, shows what
# the font set-up alone costs: the targets of start-up and memory are against it.
#
# Usage: bench/startup_compare.sh BUILD_FOLDER [RUNS] [IDLE_SECONDS]
#   (configure with -DKAZUNAVI_GUI=ON -DKAZUNAVI_BENCH=ON and build the
#    kazunavi, kazunavi_lookup, bare_qt and first_window targets first)
# Targets: start-up and private memory within 1.2 x the bare window with the
# label; idle within 1.3 x the bare window with the three timers.
set -u

build=$(cd "${1:?build folder}" && pwd)
runs=${2:-7}
idle=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require Xvfb openbox xprop dbus-daemon

for f in "$build/kazunavi" "$build/bench/bare_qt" "$build/bench/first_window"; do
    [ -x "$f" ] || { echo "missing $f: build the kazunavi, bare_qt and first_window targets"; exit 2; }
done

# A desktop session has its bus, which Qt connects to at start; without one
# every start would launch a bus daemon of its own and measure that. What
# runs on this desktop ends with it.
xs_start bus $((runs * 40 + idle + 120)) || exit 1
mkdir -p "$XS/program/help"
cp "$build/kazunavi" "$build/kazunavi-lookup.so" "$XS/program/"
# Just written pages of a file count as dirty until the disk has them.
sync
cp "$build/help/index.html" "$XS/program/help/" 2>/dev/null
export QT_QPA_PLATFORM=xcb

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
# Memory of the process's own making: pages it wrote that no other process shares.
dirty_kb() { awk '/^Private_Dirty:/ {print $2}' "/proc/$1/smaps_rollup"; }
# Processor time of all threads of a process, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f", sum}'; }
# Times any thread of a process was switched in (woken), so far.
wakeups() {
    cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {sum += $2} END {print sum}'
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# One start: prints "milliseconds rss_kb dirty_kb" and stops the program.
start_once() {
    local line pid ms
    line=$("$build/bench/first_window" "$@") || return 1
    pid=${line%% *}
    ms=${line#* }
    sleep 2  # settled
    echo "$ms $(rss_kb "$pid") $(dirty_kb "$pid")"
    kill "$pid"
    wait "$pid" 2>/dev/null
    sleep 0.3
}

: >"$XS/kazunavi.txt"
: >"$XS/bare.txt"
: >"$XS/label.txt"
# Warm the caches once, then alternate so that all see the same machine.
start_once "$build/bench/bare_qt" >/dev/null
start_once "$build/bench/bare_qt" --label >/dev/null
start_once "$XS/program/kazunavi" >/dev/null
for i in $(seq 1 "$runs"); do
    start_once "$build/bench/bare_qt" >>"$XS/bare.txt"
    start_once "$build/bench/bare_qt" --label >>"$XS/label.txt"
    start_once "$XS/program/kazunavi" >>"$XS/kazunavi.txt"
done

bare_ms=$(cut -d' ' -f1 "$XS/bare.txt" | median)
label_ms=$(cut -d' ' -f1 "$XS/label.txt" | median)
kaz_ms=$(cut -d' ' -f1 "$XS/kazunavi.txt" | median)
bare_kb=$(cut -d' ' -f2 "$XS/bare.txt" | median)
label_kb=$(cut -d' ' -f2 "$XS/label.txt" | median)
kaz_kb=$(cut -d' ' -f2 "$XS/kazunavi.txt" | median)
label_dirty=$(cut -d' ' -f3 "$XS/label.txt" | median)
kaz_dirty=$(cut -d' ' -f3 "$XS/kazunavi.txt" | median)

# Idle side by side for the same minute, with the bare window that runs the
# program's three idle timers.
line=$("$build/bench/first_window" "$build/bench/bare_qt"); bare_pid=${line%% *}
line=$("$build/bench/first_window" "$build/bench/bare_qt" --timers); timed_pid=${line%% *}
line=$("$build/bench/first_window" "$XS/program/kazunavi"); kaz_pid=${line%% *}
sleep 3
bare_t0=$(cpu_ns "$bare_pid"); kaz_t0=$(cpu_ns "$kaz_pid"); timed_t0=$(cpu_ns "$timed_pid")
kaz_w0=$(wakeups "$kaz_pid"); timed_w0=$(wakeups "$timed_pid")
sleep "$idle"
bare_t1=$(cpu_ns "$bare_pid"); kaz_t1=$(cpu_ns "$kaz_pid"); timed_t1=$(cpu_ns "$timed_pid")
kaz_w1=$(wakeups "$kaz_pid"); timed_w1=$(wakeups "$timed_pid")

awk -v bm="$bare_ms" -v km="$kaz_ms" -v bk="$bare_kb" -v kk="$kaz_kb" -v lm="$label_ms" -v lk="$label_kb" \
    -v bc="$((bare_t1 - bare_t0))" -v kc="$((kaz_t1 - kaz_t0))" -v s="$idle" -v n="$runs" \
    -v ld="$label_dirty" -v kd="$kaz_dirty" -v tc="$((timed_t1 - timed_t0))" -v kw="$((kaz_w1 - kaz_w0))" -v tw="$((timed_w1 - timed_w0))" '
BEGIN {
    bcpu = 100 * bc / 1e9 / s; kcpu = 100 * kc / 1e9 / s
    printf "%-34s %12s %12s %8s  %s\n", "median of " n " starts", "bare Qt", "Kazunavi", "ratio", "target"
    printf "%-34s %12.1f %12.1f %8.2f\n", "first window shown (ms)", bm, km, km / bm
    printf "%-34s %12d %12d %8.2f\n", "resident memory after start (KiB)", bk, kk, kk / bk
    printf "%-34s %12.3f %12.3f %8s  %s\n", "processor, idle " s " s (% of a core)", bcpu, kcpu, "", (kcpu < 0.3 ? "met (< 0.3 %)" : "NOT met (< 0.3 %)")
    tcpu = 100 * tc / 1e9 / s
    printf "\n%-34s %12s %12s %8s  %s\n", "idle against bare Qt + three timers", "timers", "Kazunavi", "ratio", "target"
    printf "%-34s %12.3f %12.3f %8.2f  %s\n", "processor (% of a core)", tcpu, kcpu, kcpu / tcpu, (kcpu <= 1.3 * tcpu ? "met (<= 1.3)" : "NOT met (<= 1.3)")
    printf "%-34s %12.1f %12.1f %8.2f  %s\n", "wake-ups a second", tw / s, kw / s, kw / tw, (kw <= 1.3 * tw ? "met (<= 1.3)" : "NOT met (<= 1.3)")
    printf "\n"
    printf "%-34s %12s %12s %8s  %s\n", "against bare Qt + one Japanese label", "label", "Kazunavi", "ratio", "target"
    printf "%-34s %12.1f %12.1f %8.2f  %s\n", "first window shown (ms)", lm, km, km / lm, (km <= 1.2 * lm ? "met (<= 1.2)" : "NOT met (<= 1.2)")
    printf "%-34s %12d %12d %8.2f\n", "resident memory after start (KiB)", lk, kk, kk / lk
    printf "%-34s %12d %12d %8.2f  %s\n", "private dirty memory (KiB)", ld, kd, kd / ld, (kd <= 1.2 * ld ? "met (<= 1.2)" : "NOT met (<= 1.2)")
}'
