#!/usr/bin/env bash
# Kazunavi idle with a browser in front: Firefox ESR started with its
# accessibility on shows a page in front of the program, whose capture timer
# reads that window twice a second. Prints the program's processor time and
# wake-ups, and those of Firefox and the accessibility bus, over a span.
#
# Usage: bench/capture_front.sh KAZUNAVI [SECONDS]
# Target: the program's own processor use under 0.25 % of one core.
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/support/xsession.sh
. "$here/../tests/support/xsession.sh"
xs_require firefox-esr Xvfb openbox xdotool dbus-daemon python3 setsid
program=$(cd "$(dirname "${1:?kazunavi}")" && pwd)/$(basename "$1")
span=${2:-30}
xs_start bus $((span + 120)) || exit 1
unset MOZ_HEADLESS

mkdir -p "$XS/www" "$XS/firefox" "$XS/program"
printf '<!DOCTYPE html><meta charset="utf-8"><title>Page 007</title><p>7\n' >"$XS/www/p007.html"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$XS/www" >"$XS/http" 2>/dev/null &
xs_wait 10 grep -q port "$XS/http" || { echo "FAIL: no page server"; exit 1; }
site="http://127.0.0.1:$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$XS/http")"
printf 'user_pref("%s", %s);\n' browser.aboutwelcome.enabled false \
    datareporting.policy.dataSubmissionEnabled false browser.shell.checkDefaultBrowser false \
    toolkit.telemetry.reportingpolicy.firstRun false >"$XS/firefox/user.js"
GNOME_ACCESSIBILITY=1 MOZ_CRASHREPORTER_DISABLE=1 setsid firefox-esr -profile "$XS/firefox" \
    -no-remote "$site/p007.html" >"$XS/firefox.log" 2>&1 &
firefox=$(xs_window '^Page 007 — Mozilla Firefox$' 60) || { echo "FAIL: no Firefox"; exit 1; }
cp "$program" "$(dirname "$program")/kazunavi-lookup.so" "$XS/program/"
QT_QPA_PLATFORM=xcb "$XS/program/$(basename "$program")" >"$XS/program.log" 2>&1 &
kazunavi=$!
sleep 3
xdotool windowactivate --sync "$firefox" >/dev/null 2>&1 || xdotool windowactivate "$firefox"
sleep 5  # the first lookups connect and settle

# Processor time (ns) and wake-ups of all threads of the processes named.
sample() {
    local pid ns=0 w=0
    for pid in "$@"; do
        ns=$((ns + $(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}')))
        w=$((w + $(cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s + 0}')))
    done
    echo "$ns $w"
}
firefox_pids=$(pgrep -d ' ' -f "$XS/firefox")
bus_pids=$(pgrep -d ' ' -f 'at-spi-bus-launcher|at-spi2-registryd|dbus-daemon.*accessibility')
read -r k0 kw0 <<<"$(sample "$kazunavi")"
read -r f0 fw0 <<<"$(sample $firefox_pids)"
read -r b0 bw0 <<<"$(sample $bus_pids)"
sleep "$span"
read -r k1 kw1 <<<"$(sample "$kazunavi")"
read -r f1 fw1 <<<"$(sample $firefox_pids)"
read -r b1 bw1 <<<"$(sample $bus_pids)"
[ "$(xdotool getactivewindow)" = "$firefox" ] || echo "NOTE: Firefox lost the front during the span"

awk -v s="$span" -v k="$((k1 - k0))" -v kw="$((kw1 - kw0))" -v f="$((f1 - f0))" \
    -v fw="$((fw1 - fw0))" -v b="$((b1 - b0))" -v bw="$((bw1 - bw0))" 'BEGIN {
    printf "%-28s %14s %16s\n", "Firefox in front, " s " s", "% of a core", "wake-ups a second"
    printf "%-28s %14.3f %16.1f  target < 0.25 %%: %s\n", "Kazunavi", 100 * k / 1e9 / s, kw / s, (100 * k / 1e9 / s < 0.25 ? "met" : "NOT met")
    printf "%-28s %14.3f %16.1f\n", "Firefox (all processes)", 100 * f / 1e9 / s, fw / s
    printf "%-28s %14.3f %16.1f\n", "accessibility bus", 100 * b / 1e9 / s, bw / s
}'
kill "$kazunavi" 2>/dev/null
