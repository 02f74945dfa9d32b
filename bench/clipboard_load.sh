#!/usr/bin/env bash
# The program while another program holds an unchanged text on the clipboard
# (xclip, as after a copy), for 100 B, 1 MB and 10 MB of text: processor time
# of the program over a span, resident memory at its end, and how long 20
# clicks on the open/close arrow take to show (median and 90th percentile).
# Two builds run side by side, one after the other for each size, in one X
# server of their own (Xvfb + openbox).
#
# Usage: bench/clipboard_load.sh BUILD_FOLDER [OTHER_KAZUNAVI] [SECONDS]
#   (the build folder's kazunavi and bench/click_latency are used)
# Targets at 10 MB: under 1 % of one core, resident memory under 60 MB, a
# click shown within 20 ms at the 90th percentile.
set -u

here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?build folder}")
latency=$build/bench/click_latency
programs=("$build/kazunavi")
[ -n "${2:-}" ] && programs+=("$(realpath "$2")")
span=${3:-10}
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require Xvfb openbox xclip python3 xdotool
[ -x "$latency" ] || { echo "missing $latency: build the click_latency target"; exit 2; }
xs_start $((${#programs[@]} * 3 * (span + 15) + 60)) || exit 1
export QT_QPA_PLATFORM=xcb BROWSER=true

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_mb() { awk '/^VmRSS:/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

printf '%-10s %-32s %11s %9s %18s\n' "text" "program" "CPU (core)" "RSS (MB)" "click p50/p90 ms"
for size in 100 1000000 10000000; do
    # A page of text, not an address: an address is browsed, and one of a
    # megabyte is refused with a message box in front of the window.
    python3 -c "import sys; sys.stdout.write(('Lorem ipsum dolor sit amet. ' * $size)[:$size])" |
        xclip -selection clipboard -quiet 2>/dev/null &
    owner=$!
    sleep 1
    for program in "${programs[@]}"; do
        folder=$XS/run-$RANDOM
        mkdir -p "$folder"
        cp "$program" "$folder/kazunavi"
        "$folder/kazunavi" >"$folder/log" 2>&1 &
        pid=$!
        sleep 3 # started, and the text taken once
        before=$(cpu_ticks $pid)
        sleep "$span"
        after=$(cpu_ticks $pid)
        rss=$(rss_mb $pid)
        window=$(xs_window '^Kazunavi$' 10)
        printf '%-10s %-32s %10.2f%% %9s %18s\n' "$size B" "$program" \
            "$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$span" \
                'BEGIN {print t * 100 / hz / s}')" "$rss" "$("$latency" "$window" 52 40 20)"
        kill $pid
        wait $pid 2>/dev/null
    done
    kill $owner
    wait $owner 2>/dev/null
done
xs_finish
