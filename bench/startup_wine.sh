#!/usr/bin/env bash
# kazunavi.exe under Wine in an X server of its own (Xvfb + openbox), in a
# Wine prefix of its own: time from the launch to the mapped main window
# (the prefix and its services made and warm first), and processor time of
# the program's process over an idle stretch.
#
# Usage: bench/startup_wine.sh KAZUNAVI.EXE [RUNS] [IDLE_SECONDS]
# Targets: start-up under 1 s; idle processor use under 0.5 % of one core.
set -u
exe=$(realpath "${1:?kazunavi.exe}")
runs=${2:-5}
idle=${3:-30}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require Xvfb openbox xdotool wine
xs_start $((runs * 40 + idle + 120)) || exit 1
export WINEPREFIX=$XS/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=C.UTF-8
wine cmd /c exit >/dev/null 2>&1
mkdir -p "$XS/program"
cp "$exe" "$XS/program/"
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# Processor time of all threads of a process, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f", sum}'; }

times=()
for run in $(seq "$runs"); do
    start=$(date +%s%N)
    wine "$XS/program/kazunavi.exe" >/dev/null 2>&1 &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Kazunavi$' | head -1)
    times+=($((($(date +%s%N) - start) / 1000000)))
    last=$pid
    [ "$run" = "$runs" ] && break
    xdotool mousemove --window "$window" 8 8 click 1  # the exit lamp
    xs_ended "$pid" || kill "$pid"
done
echo "start-up to the mapped window (ms, $runs runs): ${times[*]}; median $(printf '%s\n' "${times[@]}" | median)"
xdotool mousemove 1000 700  # the pointer away from the window, whose tooltips it would show
sleep 3  # the first clipboard and lamp ticks settle
# The Windows program's own process: the loader becomes it.
before=$(cpu_ns "$last")
server=$(pgrep -n wineserver)
server_before=$(cpu_ns "$server")
sleep "$idle"
after=$(cpu_ns "$last")
server_after=$(cpu_ns "$server")
awk -v p=$((after - before)) -v s=$((server_after - server_before)) -v t="$idle" 'BEGIN {
    printf "idle processor use over %d s: program %.3f %% of a core, wineserver %.3f %%\n",
           t, 100 * p / (t * 1e9), 100 * s / (t * 1e9) }'
