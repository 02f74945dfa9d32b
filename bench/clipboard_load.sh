#!/usr/bin/env bash
# The program while another program holds an unchanged text on the clipboard
# (xclip, as after a copy), for 100 B, 1 MB and 10 MB of text: processor time
# of the program over a span, and resident memory at its end. Two builds run
# side by side, one after the other for each size, in one X server of their
# own (Xvfb + openbox).
#
# Usage: bench/clipboard_load.sh KAZUNAVI [OTHER_KAZUNAVI] [SECONDS]
# Targets at 10 MB: under 1 % of one core, resident memory under 60 MB.
set -u

here=$(cd "$(dirname "$0")" && pwd)
programs=("$(realpath "${1:?the program to measure}")")
[ -n "${2:-}" ] && programs+=("$(realpath "$2")")
span=${3:-10}
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require Xvfb openbox xclip python3
xs_start $((${#programs[@]} * 3 * (span + 15) + 60)) || exit 1
export QT_QPA_PLATFORM=xcb BROWSER=true

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_mb() { awk '/^VmRSS:/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

printf '%-10s %-40s %12s %10s\n' "text" "program" "CPU (core)" "RSS (MB)"
for size in 100 1000000 10000000; do
    python3 -c "import sys; sys.stdout.write('http://example.org/' + 'a' * ($size - 28) + '/p001.jpg')" |
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
        printf '%-10s %-40s %11.2f%% %10s\n' "$size B" "$program" \
            "$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$span" \
                'BEGIN {print t * 100 / hz / s}')" "$(rss_mb $pid)"
        kill $pid
        wait $pid 2>/dev/null
    done
    kill $owner
    wait $owner 2>/dev/null
done
xs_finish
