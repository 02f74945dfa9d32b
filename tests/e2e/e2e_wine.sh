#!/usr/bin/env bash
# The Windows program under Wine on a desktop of its own, driven as a user
# would: a keep list loaded at start, a caught address browsed, PICK and the
# steps, the lamp, KEEP with nothing captured, the refused second copy, DEL,
# the exit. Usage: e2e_wine.sh KAZUNAVI.EXE HELP_PAGE
set -u
# shellcheck source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
xs_require Xvfb openbox xdotool xclip xwininfo xprop import wine
xs_start 280 || exit 1
export WINEPREFIX=$XS/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=C.UTF-8
wine cmd /c exit >/dev/null 2>&1 || { echo "FAIL: no Wine prefix"; exit 1; }

# Wine hands the shell's web addresses to xdg-open: a stand-in writes them down.
visits=$XS/visits.txt
mkdir -p "$XS/bin" "$XS/program/help"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$visits" >"$XS/bin/xdg-open"
chmod +x "$XS/bin/xdg-open"
export PATH=$XS/bin:$PATH
cp "$1" "$XS/program/kazunavi.exe"
cp "$2" "$XS/program/help/"
printf '[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=first\r\nURL0=http://127.0.0.1/kept/0\r\nName1=second\r\nURL1=http://127.0.0.1/kept/1\r\n' \
    >"$XS/program/URL.ini"

wine "$XS/program/kazunavi.exe" >>"$XS/program.log" 2>&1 &
main=$!
window=$(xs_window '^Kazunavi$' 30) || { echo "FAIL: no main window"; cat "$XS/program.log"; exit 1; }

# Pixel places (twips / 15): the lamp, the address box, PICK, "+", "-", HELP, ▼,
# KEEP, the names, DEL, BROWSE, the count.
lamp=(8 8) address=(79 13) pick=(87 29) plus=(151 32) minus=(168 32) help=(29 40) open=(52 40)
keep=(162 123) names=(56 143) del=(83 121) browse=(118 121) count=(2 115 22 16)
size_is() { [ "$(xs_size "$window")" = "$1" ]; }
lamp_is() { [ "$(xs_pixel "$window" "${lamp[@]}")" = "$1" ]; }
visited() { grep -qxF "$1" "$visits" 2>/dev/null; }
last_visits() { [ "$(tail -n "$1" "$visits" 2>/dev/null | tr '\n' ' ')" = "$2" ]; }
count_shot() { import -window "$window" -crop "${count[2]}x${count[3]}+${count[0]}+${count[1]}" \
    -depth 8 rgb:- 2>/dev/null | md5sum; }
box() { xs_window "$1" 30; }
answer() { xdotool windowactivate --sync "$1" key Return 2>/dev/null; }

check "collapsed: 182 x 46 pixels" xs_wait 5 size_is 182x46
check "kept above other windows" eval "xprop -id $window _NET_WM_STATE | grep -q ABOVE"
check "the lamp is red while the window is in front" xs_wait 5 lamp_is 255,0,0

# A caught address is browsed at once (AUTO is on).
printf '%s' 'http://127.0.0.1/a/007.html' | xclip -selection clipboard
check "a caught address is browsed" xs_wait 10 visited 'http://127.0.0.1/a/007.html'

# PICK the running number 007 (selected with the keys), then "+" "+" "-".
xs_click "$window" "${address[@]}"
xdotool key --window "$window" End Left Left Left Left Left shift+Left shift+Left shift+Left
xs_click "$window" "${pick[@]}"
for step in plus plus minus; do
    place=$step[@]
    xs_click "$window" "${!place}"
    sleep 0.3
done
check "PICK, + + - browse 008, 009, 008" xs_wait 10 last_visits 3 \
    'http://127.0.0.1/a/008.html http://127.0.0.1/a/009.html http://127.0.0.1/a/008.html '

# The keep list of URL.ini beside the program: both entries, its count.
xs_click "$window" "${open[@]}"
check "expanded: 182 x 197 pixels" xs_wait 5 size_is 182x197
xs_click "$window" "${browse[@]}"
check "BROWSE opens the first kept entry" xs_wait 10 visited 'http://127.0.0.1/kept/0'
xs_click "$window" "${names[@]}"
xdotool key --delay 100 Down Return
xs_click "$window" "${browse[@]}"
check "the second entry is listed too" xs_wait 10 visited 'http://127.0.0.1/kept/1'
loaded_count=$(count_shot)

# KEEP with no browser window captured: Error_07.
xs_click "$window" "${keep[@]}"
error7=$(box '_07$')
check "KEEP with nothing captured says Error_07" [ -n "$error7" ]
[ -n "$error7" ] && answer "$error7"

# Dragging the bare surface moves the frameless window, out of the way of
# the about box, which opens centred beneath it.
eval "$(xdotool getwindowgeometry --shell "$window")"
x0=$X y0=$Y
# shellcheck disable=SC2046 # ten steps of 30, 20 pixels
xdotool mousemove --window "$window" 170 10 mousedown 1 \
    $(printf 'mousemove_relative -- 30 20 sleep 0.05 %.0s' {1..10}) mouseup 1
moved() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ $((X - x0)) -ge 250 ] && [ $((Y - y0)) -ge 150 ]
}
check "dragging the surface moves the window" xs_wait 5 moved

# The lamp is dark while another program's window is in front.
second_log=$XS/second.log
wine "$XS/program/kazunavi.exe" >>"$second_log" 2>&1 &
second=$!
error1=$(box 'Kazunavi Error_01')
check "a second copy shows Error_01" [ -n "$error1" ]
check "the lamp is dark red behind another window" xs_wait 5 lamp_is 128,0,0
[ -n "$error1" ] && answer "$error1"
check "the second copy ends after OK" xs_ended "$second"
xdotool windowactivate --sync "$window" 2>/dev/null
check "the lamp is red again in front" xs_wait 5 lamp_is 255,0,0

# HELP opens the about box; its link opens the help page and closes it.
xs_click "$window" "${help[@]}"
about=$(box '^Kazunavi  ')
check "HELP opens the about box" [ -n "$about" ]
# A click on its bare surface does nothing; one on the link opens the page.
[ -n "$about" ] && xs_click "$about" 8 8 && xs_click "$about" 150 96
check "its link opens the help page beside the program" xs_wait 10 eval \
    'grep -q "program/help/index.html" "$visits"'
check "and closes the box" xs_wait 5 eval '[ -z "$(xdotool search --onlyvisible --name "^Kazunavi  ")" ]'

# DEL asks, removes the entry shown (the second) and saves the list.
xs_click "$window" "${del[@]}"
confirm=$(box '.Kazunavi.')
[ -n "$confirm" ] && answer "$confirm"
check "DEL leaves the first entry alone in URL.ini" xs_wait 10 eval \
    'tr -d "\r" <"$XS/program/URL.ini" | grep -qx "Count=1" &&
     tr -d "\r" <"$XS/program/URL.ini" | grep -qx "URL0=http://127.0.0.1/kept/0"'
check "the count shown changes with the list" \
    xs_wait 5 eval '[ "$(count_shot)" != "$loaded_count" ]'

xs_click "$window" "${lamp[@]}"
check "the exit lamp ends the program" xs_ended "$main"
if [ "$failures" -ne 0 ]; then
    cat "$XS/program.log" "$visits"
    echo "windows shown at the end:"  # a box or dialog that took the clicks
    for shown in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        echo "  $(xdotool getwindowname "$shown") $(xs_size "$shown")"
    done
fi
xs_finish
