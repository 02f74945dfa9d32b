#!/usr/bin/env bash
# The real window in an X server of its own: dragged by its surface, a
# bracket template caught from the clipboard, [SET] and "+" sending the
# browser to the numbered addresses, OUTPUT after another program copied and
# our own text caught, a hung clipboard owner that must not freeze the
# window, the refused second copy with the lamp dark behind its box, and the
# exit lamp.
# Usage: e2e_window.sh KAZUNAVI. Exit code 0 passed, 1 failed, 77 skipped.
set -u
# shellcheck source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
xs_require Xvfb openbox xdotool xclip xwininfo xprop import
xs_start 150 || exit 1

# The program in a folder of its own (its URL.ini goes there), with a
# browser that only writes down the addresses it is sent to.
mkdir -p "$XS/program"
cp "$1" "$XS/program/kazunavi"
visits=$XS/visits.txt
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$visits" >"$XS/browser.sh"
chmod +x "$XS/browser.sh"
export BROWSER=$XS/browser.sh QT_QPA_PLATFORM=xcb
"$XS/program/kazunavi" >>"$XS/program.log" 2>&1 &
main=$!
window=$(xs_window '^Kazunavi$' 15) || { echo "FAIL: no main window"; cat "$XS/program.log"; exit 1; }

# Places in the window's pixels: lblOPEN, Label1 [SET], "+", the exit lamp,
# the memo, OUTPUT.
open=(52 40) set=(141 108) plus=(151 32) lamp=(8 8) memo=(145 152) output=(155 179)
size_is() { [ "$(xs_size "$window")" = "$1" ]; }
lamp_is() { [ "$(xs_pixel "$window" "${lamp[@]}")" = "$1" ]; }
visited() { grep -qxF "$1" "$visits"; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>&1)" = "$1" ]; }

check "collapsed: 182 x 46 pixels" xs_wait 5 size_is 182x46
check "the lamp is lit while the window is in front" xs_wait 3 lamp_is 255,0,0
check "kept above other windows" eval "xprop -id $window _NET_WM_STATE | grep -q ABOVE"

# Dragging the bare surface moves the frameless window by about 40, 30.
eval "$(xdotool getwindowgeometry --shell "$window")"
x0=$X y0=$Y
xdotool mousemove --window "$window" 170 10 mousedown 1
for _ in 1 2 3 4 5; do
    xdotool mousemove_relative -- 8 6
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
check "dragging the surface moves the window" [ $((X - x0)) -ge 30 -a $((Y - y0)) -ge 20 ]

printf '%s' 'http://127.0.0.1/p[01-05].jpg' | xclip -selection clipboard
sleep 1.2 # two ticks of the clipboard watcher
xs_click "$window" "${open[@]}"
check "expanded: 182 x 197 pixels" xs_wait 5 size_is 182x197
xs_click "$window" "${set[@]}"
check "[SET] browses p01" xs_wait 5 visited 'http://127.0.0.1/p01.jpg'
for n in 2 3; do
    xs_click "$window" "${plus[@]}"
    check "\"+\" browses p0$n" xs_wait 5 visited "http://127.0.0.1/p0$n.jpg"
done

# OUTPUT clears the clipboard and puts the memo on it in one click, after
# another program copied; the watcher then catches our own text.
xs_click "$window" "${memo[@]}"
xdotool type --delay 20 'http://127.0.0.1/memo.html'
printf '%s' 'copied elsewhere' | xclip -selection clipboard
sleep 1.2
xs_click "$window" "${output[@]}"
check "OUTPUT puts the memo on the clipboard" xs_wait 3 clipboard_is 'http://127.0.0.1/memo.html'
check "the watcher catches our own text" xs_wait 3 visited 'http://127.0.0.1/memo.html'

# A program that holds the clipboard and never answers: the window keeps
# answering the user (the watcher reads the clipboard twice a second).
printf 'hung' | xclip -quiet -selection clipboard 2>/dev/null &
hung=$!
xs_wait 5 clipboard_is hung && kill -STOP "$hung"
sleep 1.5 # the watcher meets the silent owner
xs_click "$window" "${open[@]}"
check "with a hung clipboard owner the window collapses" xs_wait 3 size_is 182x46
{ kill -KILL "$hung" && wait "$hung"; } 2>/dev/null

# A second copy shows Error_01 and leaves after OK; the first runs on.
"$XS/program/kazunavi" >>"$XS/program.log" 2>&1 &
second=$!
box=$(xs_window 'Kazunavi Error_01' 10)
check "a second copy shows Error_01" [ -n "$box" ]
check "the lamp is dark with another program's box in front" xs_wait 3 lamp_is 128,0,0
xdotool windowactivate --sync "$box" key --window "$box" Return 2>/dev/null
check "the second copy ends after OK" xs_ended "$second"
check "the first copy runs on" kill -0 "$main"

xs_click "$window" "${lamp[@]}"
check "the exit lamp ends the program" xs_ended "$main"
[ "$failures" -eq 0 ] || { cat "$XS/program.log" "$visits"; }
xs_finish
