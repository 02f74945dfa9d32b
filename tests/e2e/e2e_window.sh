#!/usr/bin/env bash
# The real window on a desktop of its own, driven as a user would: the drag,
# the clipboard (a template, OUTPUT, a hung owner), stepping and browsing,
# the refused second copy, the lamp, the exit. Usage: e2e_window.sh KAZUNAVI.
set -u
# shellcheck source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
xs_require Xvfb openbox xdotool xclip xwininfo xprop xmessage import
xs_start 150 || exit 1

# The program in a folder of its own, its browser writing down the addresses.
mkdir -p "$XS/program"
cp "$1" "$XS/program/kazunavi"
cp "$(dirname "$1")/kazunavi-lookup.so" "$XS/program/"
visits=$XS/visits.txt
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$visits" >"$XS/browser.sh"
chmod +x "$XS/browser.sh"
export BROWSER=$XS/browser.sh QT_QPA_PLATFORM=xcb

# The command line answers without a window; without a display, one line.
program=$XS/program/kazunavi
answers() { # STATUS EXPECTED_OUTPUT ARGUMENT...
    local want=$1 out=$2 got
    shift 2
    got=$(timeout 10 "$@" 2>&1)
    [ $? = "$want" ] && [ "$got" = "$out" ]
}
check "--version and -v" eval 'answers 0 "Kazunavi 1.2" "$program" --version &&
    answers 0 "Kazunavi 1.2" "$program" -v'
check "--help names the options" eval 'timeout 10 "$program" --help | grep -q -- "-v, --version"'
check "an unknown option or argument is refused" eval \
    'answers 1 "kazunavi: Unknown option '\''x'\''.
Try '\''kazunavi --help'\''." "$program" --x && ! "$program" extra 2>/dev/null'
check "no display: a line and status 1" eval 'answers 1 "kazunavi: cannot open the X display :97" \
    env DISPLAY=:97 "$program" && answers 1 "kazunavi: no X display (\$DISPLAY is not set); Kazunavi needs an X11 desktop or XWayland" env -u DISPLAY "$program"'
"$XS/program/kazunavi" >>"$XS/program.log" 2>&1 &
main=$!
window=$(xs_window '^Kazunavi$' 15) || { echo "FAIL: no main window"; cat "$XS/program.log"; exit 1; }

# Pixel places: lblOPEN, Label1 [SET], "+", the exit lamp, the memo, OUTPUT.
open=(52 40) set=(141 108) plus=(151 32) lamp=(8 8) memo=(145 152) output=(155 179)
size_is() { [ "$(xs_size "$window")" = "$1" ]; }
lamp_is() { [ "$(xs_pixel "$window" "${lamp[@]}")" = "$1" ]; }
visited() { grep -qxF "$1" "$visits"; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>&1)" = "$1" ]; }

check "collapsed: 182 x 46 pixels" xs_wait 5 size_is 182x46
check "the lamp is lit while the window is in front" xs_wait 3 lamp_is 255,0,0
check "kept above other windows" eval "xprop -id $window _NET_WM_STATE | grep -q ABOVE"

# Dragging the bare surface moves the frameless window.
eval "$(xdotool getwindowgeometry --shell "$window")"
x0=$X y0=$Y
# shellcheck disable=SC2046 # five steps of 8, 6 pixels
xdotool mousemove --window "$window" 170 10 mousedown 1 \
    $(printf 'mousemove_relative -- 8 6 sleep 0.05 %.0s' 1 2 3 4 5) mouseup 1 sleep 0.3
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

# The step keys work while another program has the focus.
xmessage 'another program' &
other=$!
xdotool windowactivate --sync "$(xs_window '^xmessage$' 10)" 2>/dev/null
xdotool key --clearmodifiers ctrl+alt+Next
check "Ctrl+Alt+Page_Down steps from another program" xs_wait 5 visited 'http://127.0.0.1/p04.jpg'
xdotool key --clearmodifiers ctrl+alt+Prior
check "Ctrl+Alt+Page_Up steps back" \
    xs_wait 5 eval '[ "$(tail -1 "$visits")" = http://127.0.0.1/p03.jpg ]'
kill "$other"

# OUTPUT clears and writes in one click after another program copied; the
# watcher then catches our own text.
xs_click "$window" "${memo[@]}"
xdotool type --delay 20 'http://127.0.0.1/memo.html'
printf '%s' 'copied elsewhere' | xclip -selection clipboard
sleep 1.2
xs_click "$window" "${output[@]}"
check "OUTPUT puts the memo on the clipboard" xs_wait 3 clipboard_is 'http://127.0.0.1/memo.html'
check "the watcher catches our own text" xs_wait 3 visited 'http://127.0.0.1/memo.html'

# A clipboard owner that never answers must not freeze the window.
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
above() { # WINDOW OTHER: whether WINDOW is stacked above OTHER
    xprop -root _NET_CLIENT_LIST_STACKING | tr ',#' '\n\n' | awk -v a="$(printf '0x%x' "$1")" \
        -v b="$(printf '0x%x' "$2")" '$1 == a {ia = NR} $1 == b {ib = NR} END {exit !(ia > ib)}'
}
check "its box is above the first copy's always-on-top window" above "$box" "$window"
check "the lamp is dark with another program's box in front" xs_wait 3 lamp_is 128,0,0
xdotool windowactivate --sync "$box" key --window "$box" Return 2>/dev/null
check "the second copy ends after OK" xs_ended "$second"
check "the first copy runs on" kill -0 "$main"

xs_click "$window" "${lamp[@]}"
check "the exit lamp ends the program" xs_ended "$main"
[ "$failures" -eq 0 ] || { cat "$XS/program.log" "$visits"; }
xs_finish
