#!/usr/bin/env bash
# The capture of the browser window in front with firefox-esr and chromium on
# a desktop with its accessibility bus; capture_probe prints it every tick.
# The program itself: a browser in front, then the program (no browser: the
# capture stays), KEEP. Usage: browsers.sh CAPTURE_PROBE KAZUNAVI.
set -u
# shellcheck source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
xs_packages="firefox-esr chromium at-spi2-core dbus-daemon python3 $xs_packages"
xs_require firefox-esr chromium dbus-daemon Xvfb openbox xdotool xprop python3 setsid iconv
[ -x /usr/libexec/at-spi-bus-launcher ] ||
    { echo "SKIP: no accessibility bus (Debian package: at-spi2-core)"; exit 77; }
probe=$1 program=$2
xs_start bus 440 || exit 1
unset MOZ_HEADLESS

www=$XS/www
mkdir -p "$www" "$XS/firefox" "$XS/program"
long_title=$(python3 -c 'print("語" * 70)')
cut_title=$(python3 -c 'print("語" * 63)') # what fits of it
for page in "ff:Firefox page" "a:Page A 日本" "long:$long_title" "tab2:Background tab" \
    "ff2:Second Firefox" "b:Page B 二" "c:Page C 三" "twin:Page A 日本"; do
    printf '<!DOCTYPE html><meta charset="utf-8"><title>%s</title><p>%s\n' "${page#*:}" \
        "${page#*:}" >"$www/${page%%:*}.html"
done
# The first page goes to the address that go.txt names, once it is there; the
# second Firefox's page to the one go2.txt names.
printf '<script>setInterval(async () => { const a = await fetch("go.txt?" + Date.now());
    if (a.ok) location.href = (await a.text()).trim(); }, 100);</script>\n' >>"$www/ff.html"
tail -2 "$www/ff.html" | sed 's/go\.txt/go2.txt/' >>"$www/ff2.html"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$www" >"$XS/http" 2>/dev/null &
xs_wait 10 grep -q port "$XS/http" || { echo "FAIL: no page server"; exit 1; }
site="http://127.0.0.1:$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$XS/http")"

printf 'user_pref("%s", %s);\n' browser.startup.homepage_override.mstone '"ignore"' \
    startup.homepage_welcome_url '""' startup.homepage_welcome_url.additional '""' \
    browser.aboutwelcome.enabled false datareporting.policy.dataSubmissionEnabled false \
    datareporting.policy.firstRunURL '""' toolkit.telemetry.reportingpolicy.firstRun false \
    browser.shell.checkDefaultBrowser false dom.security.https_first false \
    browser.tabs.warnOnClose false >"$XS/firefox/user.js"
GNOME_ACCESSIBILITY=1 MOZ_CRASHREPORTER_DISABLE=1 setsid firefox-esr -profile "$XS/firefox" \
    -no-remote "$site/ff.html" "$site/tab2.html" >"$XS/firefox.log" 2>&1 &
firefox_group=$!
GNOME_ACCESSIBILITY=1 setsid chromium --no-sandbox --no-first-run --disable-gpu \
    --disable-background-networking --disable-component-update --disable-sync \
    --disable-breakpad --user-data-dir="$XS/chromium" --force-renderer-accessibility \
    "$site/long.html" "$site/tab2.html" >"$XS/chromium.log" 2>&1 &
chromium_group=$!
firefox=$(xs_window '^Firefox page — Mozilla Firefox$' 60) || { echo "FAIL: no Firefox"; exit 1; }
chromium=$(xs_window "^$long_title - Chromium\$" 60) || { echo "FAIL: no Chromium"; exit 1; }
QT_QPA_PLATFORM=xcb "$probe" >"$XS/probe.log" 2>"$XS/probe.err" &

capture() { printf 'lAWH=&H%X lURL=%s lTTL=%s' "$1" "$site/$2" "$3"; }
ticks() { awk -v since="$since" '$1 == "tick" && $2 > since' "$XS/probe.log"; }
mark() { since=$(awk '$1 == "tick" {n = $2} END {print n + 0}' "$XS/probe.log"); }
front() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowactivate "$1"
    mark
}
# shown SECONDS CAPTURE: whether a tick after $since showed it; its number in $n.
shown() {
    local want="^tick [0-9]+ [0-9]+ $2\$"
    xs_wait "$1" eval 'n=$(ticks | awk -v re="$want" '\''$0 ~ re {print $2; exit}'\''); [ "$n" ]'
}
# Five or more ticks after $since showed it, none holding the thread 250 ms.
went_on() {
    ticks | awk -v re="$1\$" '{ ok += $0 ~ re && $3 <= 250; n++ } END { exit !(n >= 5 && ok == n) }'
}
front "$firefox"
check "Firefox in front is captured" shown 10 "$(capture "$firefox" ff.html 'Firefox page')"
echo "$site/a.html" >"$www/go.txt"
xs_wait 20 eval "xdotool getwindowname $firefox | grep -q '^Page A'"
mark
# No tick count: Firefox may name its window before its document has the new
# address, and a loaded machine stretches that gap.
check "a navigation shows in the capture" shown 10 "$(capture "$firefox" a.html "Page A 日本")"
# A tab of the same title in front, then closed: the capture follows the tab.
xdotool key ctrl+t
sleep 0.5
xdotool type --delay 5 "$site/twin.html"
xdotool key Return
mark
check "a tab of the same title is captured" shown 10 "$(capture "$firefox" twin.html "Page A 日本")"
xdotool key ctrl+w
mark
check "the tab before comes back" shown 10 "$(capture "$firefox" a.html "Page A 日本")"
front "$chromium"
check "switching to Chromium switches the capture; a long title keeps what fits" \
    shown 10 "$(capture "$chromium" long.html "$cut_title")"
front "$firefox"
shown 10 "$(capture "$firefox" a.html 'Page A 日本')"
firefox_pid=$(xdotool getwindowpid "$firefox")
kill -STOP "$firefox_pid"
mark
sleep 4
kill -CONT "$firefox_pid"
check "a hanging Firefox in front holds up no tick" went_on "$(capture "$firefox" a.html 'Page A 日本')"

# A Firefox started as a user would, without accessibility: it publishes
# nothing on the bus, and its page is learnt from its session store, written
# every 15 s, and until then from its history.
mkdir -p "$XS/firefox2"
cp "$XS/firefox/user.js" "$XS/firefox2/"
env -u GNOME_ACCESSIBILITY MOZ_CRASHREPORTER_DISABLE=1 setsid firefox-esr -profile \
    "$XS/firefox2" -no-remote "$site/ff2.html" >"$XS/firefox2.log" 2>&1 &
firefox2_group=$!
firefox2=$(xs_window '^Second Firefox — Mozilla Firefox$' 60) ||
    { echo "FAIL: no second Firefox"; tail -5 "$XS/firefox2.log"; exit 1; }
front "$firefox2"
echo "$site/b.html" >"$www/go2.txt"
navigated() { xs_wait 20 eval "xdotool getwindowname $firefox2 | grep -q '^$1'"; t0=$(date +%s.%N); }
# Shown within 20 s after the window took the page's title; the delay printed.
in_time() {
    shown 30 "$1" && awk -v from="$t0" -v to="$(date +%s.%N)" \
        'BEGIN { printf "(after %.1f s) ", to - from; exit !(to - from <= 20) }'
}
navigated "Page B"
mark
check "Firefox without accessibility shows a navigation within 20 s" \
    in_time "$(capture "$firefox2" b.html "Page B 二")"
# A page that the program sends to that running Firefox: the new process
# hands it over, and the running one shows it without accessibility as well.
mkdir -p "$XS/sender"
cp "$program" "$XS/sender/kazunavi"
cp "$(dirname "$program")/kazunavi-lookup.so" "$XS/sender/"
BROWSER="firefox-esr -profile $XS/firefox2 %s" QT_QPA_PLATFORM=xcb "$XS/sender/kazunavi" \
    >"$XS/sender.log" 2>&1 &
main_pid=$!
main=$(xs_window '^Kazunavi$' 20) || { echo "FAIL: no main window"; exit 1; }
sleep 1 # what the clipboard held at the start is not caught
printf '%s' "${site#h}/c.html" | xclip -selection clipboard
navigated "Page C"
front "$firefox2"
check "a page the program sent to that Firefox shows within 20 s" \
    in_time "$(capture "$firefox2" c.html "Page C 三")"
xs_click "$main" 8 8
xs_ended "$main_pid"
kill -- "-$firefox2_group"
xs_wait 10 eval "! xdotool search --onlyvisible --name '^Page B' >/dev/null 2>&1"

cp "$program" "$XS/program/kazunavi"
cp "$(dirname "$program")/kazunavi-lookup.so" "$XS/program/"
QT_QPA_PLATFORM=xcb "$XS/program/kazunavi" >"$XS/program.log" 2>&1 &
main_pid=$!
main=$(xs_window '^Kazunavi$' 20) || { echo "FAIL: no main window"; exit 1; }
xs_click "$main" 52 40 # lblOPEN: the detail area with the keep list
xs_wait 5 eval '[ "$(xs_size "$main")" = 182x197 ]'
front "$firefox"
sleep 2.5 # five ticks of the capture
front "$main"
sleep 1.2 # the program in front: the capture stays
xs_click "$main" 162 123 # KEEP
kept() {
    iconv -f CP932 -t UTF-8 "$XS/program/URL.ini" 2>/dev/null | tr -d '\r' |
        grep -cxF -e "URL0=$site/a.html" -e "Name0=Page A 日本" -e "Count=1" | grep -qx 3
}
check "KEEP adds the page's address under its title to URL.ini" xs_wait 5 kept
xs_click "$main" 8 8
check "the exit lamp ends the program, its lookup included" xs_ended "$main_pid"

# Chromium as the desktop's default browser and $BROWSER unset: the program
# starts it itself, as KEEP needs it, with a page the program caught.
# The user's own entry for it adds what a test run as root needs.
mkdir -p "$XS/config" "$XS/home" "$XS/data/applications"
printf '[Default Applications]\nx-scheme-handler/http=chromium.desktop\n' >"$XS/config/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Chromium\nMimeType=x-scheme-handler/http;\nExec=%s %%U\n' \
    "/usr/bin/chromium --no-sandbox --no-first-run --disable-gpu --disable-sync --disable-breakpad" \
    >"$XS/data/applications/chromium.desktop"
rm -f "$XS/program/URL.ini"
env -u BROWSER HOME="$XS/home" XDG_CONFIG_HOME="$XS/config" XDG_DATA_HOME="$XS/data" \
    QT_QPA_PLATFORM=xcb "$XS/program/kazunavi" >"$XS/program2.log" 2>&1 &
main_pid=$!
main=$(xs_window '^Kazunavi$' 20) || { echo "FAIL: no main window"; exit 1; }
xs_click "$main" 52 40
printf '%s' "${site#h}/a.html" | xclip -selection clipboard
opened=$(xs_window '^Page A 日本 - Chromium$' 60)
check "the default Chromium opens the caught page" [ -n "$opened" ]
front "$opened"
sleep 2.5
front "$main"
sleep 1.2
xs_click "$main" 162 123 # KEEP
check "KEEP captures it from the Chromium the program started" xs_wait 5 kept
xs_click "$main" 8 8
xs_ended "$main_pid"
[ -n "$opened" ] && kill -- "-$(xdotool getwindowpid "$opened")" 2>/dev/null

# A browser that quits in front, the only window left.
kill -- "-$firefox_group"
front "$chromium"
shown 10 "$(capture "$chromium" long.html "$cut_title")"
mark
kill -- "-$chromium_group"
sleep 3
check "Chromium quitting in front holds up no tick" went_on "$(capture "$chromium" long.html "$cut_title")"
check "the background tabs were never reported" eval "! grep -q tab2.html $XS/probe.log"
[ "$failures" -eq 0 ] || tail -5 "$XS/probe.log"
xs_finish
