#!/usr/bin/env bash
# End-to-end test of the real window in an X server of its own: catching a
# bracket template from the clipboard, [SET] and "+" sending the browser to
# the numbered addresses, expanding and collapsing, the refused second copy,
# a hung clipboard owner that must not freeze the window, and the exit lamp.
#
# Usage: e2e_window.sh KAZUNAVI DEAF_CLIPBOARD_OWNER SCREENSHOT_FOLDER
# Exit code 0 passed, 1 failed, 77 skipped (tools missing).
set -u

program=$1
deaf_owner=$2
screenshots=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
. "$here/xsession.sh"

require_tools Xvfb openbox xdotool xclip xwininfo xprop import

E2E_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/kazunavi-e2e.XXXXXX")
mkdir -p "$E2E_SCRATCH/home" "$E2E_SCRATCH/run" "$E2E_SCRATCH/program/help"
chmod 700 "$E2E_SCRATCH/run"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    stop_x_session
    rm -rf "$E2E_SCRATCH"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

start_x_session || exit 1

# The program in a folder of its own (its URL.ini goes there), with a
# browser that only writes down the addresses it is sent to.
cp "$program" "$E2E_SCRATCH/program/kazunavi"
visits="$E2E_SCRATCH/visits.txt"
: >"$visits"
cat >"$E2E_SCRATCH/browser.sh" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$visits"
SCRIPT
chmod +x "$E2E_SCRATCH/browser.sh"

run_program() {
    env HOME="$E2E_SCRATCH/home" XDG_RUNTIME_DIR="$E2E_SCRATCH/run" \
        XDG_CONFIG_HOME="$E2E_SCRATCH/home/.config" BROWSER="$E2E_SCRATCH/browser.sh" \
        QT_QPA_PLATFORM=xcb "$E2E_SCRATCH/program/kazunavi" >>"$E2E_SCRATCH/program.log" 2>&1 &
    pids+=($!)
    last_pid=$!
}

# Pixel places in the window (twips / 15, the centre of each element).
open_x=52;  open_y=40    # lblOPEN "▼"/"▲" (705, 540, 150 x 120)
set_x=141;  set_y=108    # Label1 "[SET]" (1920, 1567, 405 x 120)
plus_x=151; plus_y=32    # UPbutton "+" in Picture4 (2130 + 0, 375 + 0, 260 x 210)
exit_x=8;   exit_y=8     # Command6(1), the exit lamp (30, 60, 195 x 135)
memo_x=145; memo_y=152   # txtMemo (1680, 1995, 1005 x 585)
surface_x=170; surface_y=10  # bare surface right of txtNow, above Picture4
output_x=155; output_y=179  # Command8 "OUTPUT" in Picture6 (960 + 1080, 2595 + 0, 570 x 195)

run_program
main_pid=$last_pid
window=$(wait_for_window '^Kazunavi$' 15) || { echo "FAIL: no main window"; cat "$E2E_SCRATCH/program.log"; exit 1; }
pass "the main window appears"

wait_for_size "$window" 182x46 && pass "collapsed: 182 x 46 pixels" ||
    fail "collapsed size is $(window_size "$window"), not 182x46"
wait_for_pixel "$window" "$exit_x" "$exit_y" 255,0,0 &&
    pass "the lamp is lit while the window is in front" ||
    fail "the lamp shows $(pixel_of "$window" "$exit_x" "$exit_y"), not lit red"
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE &&
    pass "kept above other windows" || fail "not kept above: $(xprop -id "$window" _NET_WM_STATE)"
import -window root "$screenshots/e2e-collapsed.png"

# Dragging the bare surface moves the frameless window.
eval "$(xdotool getwindowgeometry --shell "$window")"
before_x=$X; before_y=$Y
xdotool mousemove --window "$window" "$surface_x" "$surface_y" mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove_relative -- 8 6
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
if [ $((X - before_x)) -ge 30 ] && [ $((Y - before_y)) -ge 20 ]; then
    pass "dragging the surface moves the window by $((X - before_x)), $((Y - before_y))"
else
    fail "dragging the surface moved the window by $((X - before_x)), $((Y - before_y)), not about 40, 30"
fi

printf '%s' 'http://127.0.0.1/p[01-05].jpg' | xclip -selection clipboard
sleep 1.2  # two ticks of the clipboard watcher

click_at "$window" "$open_x" "$open_y"
wait_for_size "$window" 182x197 && pass "expanded: 182 x 197 pixels" ||
    fail "expanded size is $(window_size "$window"), not 182x197"

click_at "$window" "$set_x" "$set_y"
wait_for_line "$visits" 'http://127.0.0.1/p01.jpg' &&
    pass "[SET] browses p01" || fail "[SET] did not browse p01"
click_at "$window" "$plus_x" "$plus_y"
wait_for_line "$visits" 'http://127.0.0.1/p02.jpg' &&
    pass '"+" browses p02' || fail '"+" did not browse p02'
click_at "$window" "$plus_x" "$plus_y"
wait_for_line "$visits" 'http://127.0.0.1/p03.jpg' &&
    pass '"+" again browses p03' || fail '"+" again did not browse p03'
sleep 0.3
import -window root "$screenshots/e2e-expanded.png"

# OUTPUT clears the clipboard and puts the memo on it in one click, also
# when another program copied last.
click_at "$window" "$memo_x" "$memo_y"
xdotool type --delay 20 'memo line'
printf '%s' 'copied elsewhere' | xclip -selection clipboard
sleep 2
click_at "$window" "$output_x" "$output_y"
sleep 0.5
clipboard=$(xclip -o -selection clipboard 2>&1)
[ "$clipboard" = 'memo line' ] && pass "OUTPUT puts the memo on the clipboard" ||
    fail "after OUTPUT the clipboard holds [$clipboard], not the memo"

# A program that holds the clipboard and never answers: the window keeps
# answering the user (the watcher reads the clipboard twice a second).
"$deaf_owner" >"$E2E_SCRATCH/deaf.log" 2>&1 &
pids+=($!)
deaf_pid=$!
for i in $(seq 1 50); do
    grep -q '^owner ' "$E2E_SCRATCH/deaf.log" && break
    sleep 0.1
done
grep -q '^owner ' "$E2E_SCRATCH/deaf.log" || fail "the hung clipboard owner did not start: $(cat "$E2E_SCRATCH/deaf.log")"
sleep 1.5  # the watcher meets the silent owner
start=$(date +%s%N)
click_at "$window" "$open_x" "$open_y"
if wait_for_size "$window" 182x46 3; then
    pass "with a hung clipboard owner the window collapses after $((($(date +%s%N) - start) / 1000000)) ms"
else
    fail "with a hung clipboard owner the window did not collapse within 3 s"
fi
kill "$deaf_pid" 2>/dev/null

# A second copy: Error_01, and it leaves after OK.
run_program
second_pid=$last_pid
box=$(wait_for_window 'Kazunavi Error_01' 10)
if [ -n "$box" ]; then
    pass "a second copy shows Error_01"
    wait_for_pixel "$window" "$exit_x" "$exit_y" 128,0,0 &&
        pass "the lamp is dark while another program's box is in front" ||
        fail "the lamp shows $(pixel_of "$window" "$exit_x" "$exit_y") with the box in front, not dark red"
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key --window "$box" Return
    if wait_for_exit "$second_pid" 5; then
        wait "$second_pid"
        status=$?
        [ "$status" -eq 0 ] && pass "the second copy ends after OK" ||
            fail "the second copy ended with status $status"
    else
        fail "the second copy is still running after OK"
    fi
else
    fail "no Error_01 box for a second copy"
fi
kill -0 "$main_pid" 2>/dev/null && pass "the first copy runs on" || fail "the first copy ended"

# The exit lamp ends the program.
click_at "$window" "$exit_x" "$exit_y"
if wait_for_exit "$main_pid" 5; then
    wait "$main_pid"
    status=$?
    [ "$status" -eq 0 ] && pass "the exit lamp ends the program" ||
        fail "the program ended with status $status"
else
    fail "the program still runs after a click on the exit lamp"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- program output"; cat "$E2E_SCRATCH/program.log"
    echo "--- browser visits"; cat "$visits"
    exit 1
fi
echo "PASS: end-to-end window test"
