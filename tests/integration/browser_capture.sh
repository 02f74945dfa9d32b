#!/usr/bin/env bash
# Integration tests of the foreground browser capture with real browsers
# (firefox-esr and chromium) on a desktop of their own: X server and window
# manager, session bus and accessibility bus, pages served from 127.0.0.1.
#
#   probe: the capture as the program runs it (capture_probe prints the
#          capture's labels at every tick): the window in front is captured,
#          switching windows switches the capture, a background tab is never
#          reported, a window that is not a browser leaves the capture as it
#          was, a navigation shows within one tick, a title longer than the
#          narrow buffer keeps the page's part, a blank page empties the
#          capture, a browser that hangs or quits holds up no tick; and the
#          cost is measured (printed, not judged).
#   keep:  the program itself: a browser in front, then the program brought
#          to the front, KEEP adds the page's address under its title to
#          URL.ini.
#
# Usage: browser_capture.sh probe|keep CAPTURE_PROBE KAZUNAVI
# Exit code 0 passed, 1 failed, 77 skipped (a browser or tool missing).
set -u

part=$1
probe=$2
program=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xsession.sh
. "$here/../e2e/xsession.sh"

packages="firefox-esr chromium at-spi2-core dbus-daemon xvfb openbox xdotool x11-utils python3"
for tool in firefox-esr chromium dbus-run-session Xvfb openbox xdotool xprop xmessage python3 \
    setsid iconv; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian packages: $packages)"
        exit "$E2E_SKIP"
    fi
done
if [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
    echo "SKIP: the accessibility bus is not installed (Debian package: at-spi2-core)"
    exit "$E2E_SKIP"
fi

# A session bus of its own, whose accessibility bus the browsers and the
# capture find; home, runtime and cache folders of its own, so that nothing of
# the user's desktop is read or changed.
if [ -z "${KAZUNAVI_BROWSER_SCRATCH:-}" ]; then
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazunavi-browsers.XXXXXX")
    mkdir -p "$scratch/home" "$scratch/run" "$scratch/cache" "$scratch/config"
    chmod 700 "$scratch/run"
    env KAZUNAVI_BROWSER_SCRATCH="$scratch" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" \
        XDG_CACHE_HOME="$scratch/cache" XDG_CONFIG_HOME="$scratch/config" \
        dbus-run-session -- bash "$0" "$@"
    status=$?
    rm -rf "$scratch"
    exit $status
fi
scratch=$KAZUNAVI_BROWSER_SCRATCH
E2E_SCRATCH=$scratch
unset MOZ_HEADLESS
# Window titles as UTF-8, for xdotool's patterns too.
export LC_ALL=C.UTF-8
# Everything this test starts carries this mark, the helpers that the
# browsers detach from their process groups included.
export KAZUNAVI_TEST_MARK=$scratch

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

pids=()
groups=()
# Ends every process that carries the mark, by its id.
end_marked() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = "$$" ] && continue
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "KAZUNAVI_TEST_MARK=$scratch"; then
            kill "$pid" 2>/dev/null
        fi
    done
}
cleanup() {
    local p
    for p in "${groups[@]}"; do
        kill -- "-$p" 2>/dev/null
    done
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null
    done
    sleep 0.5
    end_marked
    stop_x_session
}
trap cleanup EXIT
# A hard limit on the whole run: the trap still cleans up.
(sleep 200 && echo "FAIL: the test ran out of time" && kill -TERM $$) &
pids+=($!)
trap 'exit 1' TERM INT

start_x_session || exit 1

www=$scratch/www
mkdir -p "$www"
# Every page goes to the address that its signal file names, once the file
# exists: page FILE TITLE SIGNAL_FILE. nav.html takes its title and signal
# file from its address.
go_script='
setInterval(async () => {
  try {
    const answer = await fetch(signal + "?" + Date.now(), {cache: "no-store"});
    if (answer.ok) {
      const to = (await answer.text()).trim();
      if (to) location.href = to;
    }
  } catch (e) {}
}, 100);'
page() {
    printf '<!DOCTYPE html><html><head><meta charset="utf-8"><title>%s</title><script>const signal = "%s";%s</script></head><body><p>%s</p></body></html>\n' \
        "$2" "$3" "$go_script" "$2" >"$www/$1"
}
page a.html "Page A 日本" a.txt
page tab2.html "Background tab" tab2.txt
long_title=$(python3 -c 'print("語" * 70)')
page long.html "$long_title" long.txt
cat >"$www/nav.html" <<PAGE
<!DOCTYPE html><html><head><meta charset="utf-8"><script>
const query = new URLSearchParams(location.search);
document.title = query.get("title");
const signal = query.get("signal");
$go_script
</script></head><body><p>waiting</p></body></html>
PAGE

# The server picks a free port and says which; it lives no longer than the test.
timeout 300 python3 -u -c '
import functools, http.server, sys
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
handler = functools.partial(Quiet, directory=sys.argv[1])
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()' "$www" >"$scratch/http.port" 2>"$scratch/http.log" &
pids+=($!)
for _ in $(seq 1 100); do
    [ -s "$scratch/http.port" ] && break
    sleep 0.1
done
port=$(head -1 "$scratch/http.port")
if [ -z "$port" ]; then
    echo "FAIL: the page server did not start"; cat "$scratch/http.log"
    exit 1
fi
site="http://127.0.0.1:$port"

# The browsers publish their tree on the accessibility bus; setsid gives each
# a process group of its own to end it by.
start_firefox() {
    local profile=$scratch/firefox
    mkdir -p "$profile"
    cat >"$profile/user.js" <<'PREFS'
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.policy.firstRunURL", "");
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("dom.security.https_first", false);
user_pref("browser.tabs.warnOnClose", false);
PREFS
    GNOME_ACCESSIBILITY=1 MOZ_CRASHREPORTER_DISABLE=1 setsid firefox-esr -profile "$profile" \
        -no-remote "$@" >"$scratch/firefox.log" 2>&1 &
    groups+=($!)
}
start_chromium() {
    GNOME_ACCESSIBILITY=1 setsid chromium --no-sandbox --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync --disable-gpu \
        --disable-breakpad --user-data-dir="$scratch/chromium" --force-renderer-accessibility \
        "$@" >"$scratch/chromium.log" 2>&1 &
    groups+=($!)
}

hex() {
    printf '&H%X' "$1"
}

# The number of the probe's latest tick (0 before the first).
probe_log=$scratch/probe.log
last_tick() {
    local tick
    tick=$(grep '^tick ' "$probe_log" 2>/dev/null | tail -1 | cut -d' ' -f2)
    echo "${tick:-0}"
}
# The tick lines after tick $since, as N, lAWH, lURL, lTTL and MS separated
# by the unit separator (not a blank: empty fields stay fields).
since=0
ticks_since() {
    local line rest handle url title
    while IFS= read -r line; do
        rest=${line#* lAWH=}
        handle=${rest%% lURL=*}
        rest=${rest#* lURL=}
        url=${rest%% lTTL=*}
        title=${rest#* lTTL=}
        printf '%s\x1f%s\x1f%s\x1f%s\x1f%s\n' "$(cut -d' ' -f2 <<<"$line")" "$handle" "$url" "$title" \
            "$(cut -d' ' -f3 <<<"$line")"
    done < <(awk -v since="$since" '$1 == "tick" && $2 > since' "$probe_log")
}
# wait_for_capture SECONDS HANDLE URL TITLE: prints the number and the time
# (ms) of the first tick after $since whose labels are these (an empty URL or
# TITLE: any; "<empty>": empty).
matches() {
    [ -z "$2" ] || [ "$1" = "${2/#<empty>/}" ]
}
wait_for_capture() {
    local seconds=$1 want_handle=$2 want_url=$3 want_title=$4 n handle url title ms
    for _ in $(seq 1 $((seconds * 10))); do
        while IFS=$'\x1f' read -r n handle url title ms; do
            if [ "$handle" = "$want_handle" ] && matches "$url" "$want_url" &&
                matches "$title" "$want_title"; then
                echo "$n $ms"
                return 0
            fi
        done < <(ticks_since)
        sleep 0.1
    done
    return 1
}

activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowactivate "$1"
    since=$(last_tick)
}

run_probe() {
    firefox_title="Firefox page"
    chromium_title="Chromium page"
    firefox_page="$site/nav.html?title=Firefox%20page&signal=firefox.txt"
    chromium_page="$site/nav.html?title=Chromium%20page&signal=chromium.txt"
    # The second tab of each stays in the background all along.
    start_firefox "$firefox_page" "$site/tab2.html"
    start_chromium "$chromium_page" "$site/tab2.html"
    firefox=$(wait_for_window "^$firefox_title — Mozilla Firefox\$" 60) ||
        { echo "FAIL: no Firefox window"; tail -20 "$scratch/firefox.log"; return 1; }
    chromium=$(wait_for_window "^$chromium_title - Chromium\$" 60) ||
        { echo "FAIL: no Chromium window"; tail -20 "$scratch/chromium.log"; return 1; }
    pass "both browsers show their pages"

    QT_QPA_PLATFORM=xcb "$probe" --seconds 150 >"$probe_log" 2>"$scratch/probe.err" &
    pids+=($!)
    probe_pid=$!

    activate "$firefox"
    wait_for_capture 10 "$(hex "$firefox")" "$firefox_page" "$firefox_title" >/dev/null &&
        pass "Firefox in front: its address and the page's title are captured" ||
        fail "Firefox in front is not captured: $(tail -1 "$probe_log")"

    activate "$chromium"
    wait_for_capture 10 "$(hex "$chromium")" "$chromium_page" "$chromium_title" >/dev/null &&
        pass "switching to Chromium switches the capture" ||
        fail "Chromium in front is not captured: $(tail -1 "$probe_log")"

    xmessage -name kazunavi-test -title "Not a browser" "Not a browser" &
    pids+=($!)
    xmessage_pid=$!
    other=$(wait_for_window '^Not a browser$' 10) || { fail "no xmessage window"; other=""; }
    if [ -n "$other" ]; then
        activate "$other"
        sleep 1.6  # three ticks
        local seen=0 changed=0 n handle url title
        while IFS=$'\x1f' read -r n handle url title _; do
            [ "$handle" = "$(hex "$other")" ] || continue
            seen=$((seen + 1))
            [ "$url" = "$chromium_page" ] && [ "$title" = "$chromium_title" ] || changed=1
        done < <(ticks_since)
        if [ $seen -ge 2 ] && [ $changed = 0 ]; then
            pass "a window that is not a browser leaves the capture as it was ($seen ticks)"
        else
            fail "with a window that is not a browser in front ($seen ticks): $(tail -1 "$probe_log")"
        fi
    fi

    activate "$firefox"
    wait_for_capture 10 "$(hex "$firefox")" "$firefox_page" "$firefox_title" >/dev/null &&
        pass "back to Firefox: the capture switches back" ||
        fail "back to Firefox is not captured: $(tail -1 "$probe_log")"

    # A navigation: the page has gone when the window's title says so. The
    # lookup runs shortly before each tick, so the first tick after that
    # mostly shows the new address already; the second must (the lookup may
    # have caught the page between two moments).
    navigate_and_check() {
        local window=$1 signal=$2 target=$3 title_pattern=$4 expected_title=$5 gone shown
        echo "$target" >"$www/$signal"
        if ! wait_for_window_title "$window" "$title_pattern" 20; then
            fail "the page did not go to $target"
            return
        fi
        gone=$(date +%s%3N)
        shown=$(wait_for_capture 10 "$(hex "$window")" "$site/$target" "$expected_title") ||
            { fail "the navigation to $target is not captured: $(tail -1 "$probe_log")"; return; }
        local first
        first=$(awk -v gone="$gone" '$1 == "tick" && $3 >= gone {print $2; exit}' "$probe_log")
        first=${first:-${shown% *}}  # shown before the title was seen to change
        local delay=$((${shown#* } - gone)) late=$((${shown% *} - first))
        if [ "$late" -le 1 ]; then
            pass "a navigation to $target shows $delay ms after the window's title changed (tick $((late + 1)) after it)"
        else
            fail "a navigation to $target shows only $delay ms after the window's title changed (tick $((late + 1)) after it)"
        fi
    }
    navigate_and_check "$firefox" firefox.txt a.html '^Page A 日本 — Mozilla Firefox$' "Page A 日本"

    # A title longer than the narrow buffer: what fits of the page's title
    # stays (63 double-byte characters), none of the browser's suffix.
    activate "$chromium"
    wait_for_capture 10 "$(hex "$chromium")" "" "" >/dev/null
    navigate_and_check "$chromium" chromium.txt long.html "^${long_title} - Chromium\$" \
        "$(python3 -c 'print("語" * 63)')"

    # A blank page: nothing that could be kept, both labels empty.
    echo "about:blank" >"$www/long.txt"
    if wait_for_window_title "$chromium" '^about:blank - Chromium$' 20 &&
        wait_for_capture 5 "$(hex "$chromium")" "<empty>" "<empty>" >/dev/null; then
        pass "a blank page in front empties the capture"
    else
        fail "a blank page in front ($(xdotool getwindowname "$chromium")):"
        tail -4 "$probe_log"
    fi

    # A browser that hangs: the ticks go on at their pace, the capture stays
    # as it was; when the browser answers again, the capture follows it.
    activate "$firefox"
    wait_for_capture 10 "$(hex "$firefox")" "$site/a.html" "Page A 日本" >/dev/null ||
        fail "Firefox in front again is not captured: $(tail -1 "$probe_log")"
    local firefox_pid
    firefox_pid=$(xdotool getwindowpid "$firefox")
    kill -STOP "$firefox_pid"
    since=$(last_tick)
    sleep 3
    kill -CONT "$firefox_pid"
    check_ticks_went_on "a hanging Firefox" "$(hex "$firefox")" "$site/a.html" "Page A 日本"
    activate "$chromium"
    wait_for_capture 10 "$(hex "$chromium")" "" "" >/dev/null &&
        pass "after the hang the capture follows the window in front" ||
        fail "after the hang: $(tail -1 "$probe_log")"

    if grep -q "tab2.html" "$probe_log"; then
        fail "a background tab was reported: $(grep -m1 tab2.html "$probe_log")"
    else
        pass "the background tabs were never reported"
    fi
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null

    # The cost, with both browsers open and Firefox in front.
    activate "$firefox"
    if ! QT_QPA_PLATFORM=xcb "$probe" --seconds 25 --measure 10 >"$scratch/measure.log" \
        2>"$scratch/measure.err"; then
        fail "the measured probe did not end well"; tail -30 "$scratch/measure.err"
    fi
    grep '^measure ' "$scratch/measure.log" | sed 's/^/  /'
    grep -q "lURL=$site/a.html" "$scratch/measure.log" ||
        fail "the measured capture did not find Firefox's page"
    # The same without the lookup: what the machine's own load costs.
    if QT_QPA_PLATFORM=xcb "$probe" --seconds 25 --measure 10 --no-lookup \
        >"$scratch/baseline.log" 2>"$scratch/baseline.err"; then
        grep '^measure ' "$scratch/baseline.log" | sed 's/^/  baseline, no lookup: /'
    fi

    # A browser that quits while in front: the ticks go on, the capture stays.
    # Its window is the only one left, so that no other takes the front.
    kill -- "-${groups[0]}" 2>/dev/null
    kill "$xmessage_pid" 2>/dev/null
    sleep 1
    QT_QPA_PLATFORM=xcb "$probe" --seconds 12 >"$probe_log" 2>"$scratch/probe.err" &
    pids+=($!)
    probe_pid=$!
    since=0
    activate "$chromium"
    wait_for_capture 10 "$(hex "$chromium")" "" "" >/dev/null ||
        fail "Chromium in front is not captured: $(tail -1 "$probe_log")"
    local chromium_group=${groups[1]}
    local url title
    url=$(tail -1 "$probe_log" | sed 's/.* lURL=\(.*\) lTTL=.*/\1/')
    title=$(tail -1 "$probe_log" | sed 's/.* lTTL=//')
    since=$(last_tick)
    kill -- "-$chromium_group"
    sleep 3
    check_ticks_went_on "Chromium quitting" "" "$url" "$title"
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null
    return 0
}

# check_ticks_went_on WHAT HANDLE URL TITLE: the ticks after $since came at
# their pace (no gap above 800 ms, at least four) and all kept the capture
# (and the handle, unless empty).
check_ticks_went_on() {
    local what=$1 want_handle=$2 want_url=$3 want_title=$4
    local count=0 kept=1 previous=0 gap=0 n handle url title ms
    while IFS=$'\x1f' read -r n handle url title ms; do
        count=$((count + 1))
        [ $previous -gt 0 ] && [ $((ms - previous)) -gt $gap ] && gap=$((ms - previous))
        previous=$ms
        { [ -z "$want_handle" ] || [ "$handle" = "$want_handle" ]; } && [ "$url" = "$want_url" ] &&
            [ "$title" = "$want_title" ] || kept=0
    done < <(ticks_since)
    if [ $count -ge 4 ] && [ $gap -le 800 ] && [ $kept = 1 ]; then
        pass "$what: $count ticks, none later than $gap ms, the capture stays"
    else
        fail "$what: $count ticks, the longest gap $gap ms, capture kept: $kept"
        tail -3 "$probe_log"
    fi
}

# Waits up to $3 seconds for the window's title to match the pattern.
wait_for_window_title() {
    local window=$1 pattern=$2 seconds=$3
    for _ in $(seq 1 $((seconds * 20))); do
        xdotool getwindowname "$window" 2>/dev/null | grep -q -- "$pattern" && return 0
        sleep 0.05
    done
    return 1
}

run_keep() {
    start_firefox "$site/a.html"
    firefox=$(wait_for_window '^Page A 日本 — Mozilla Firefox$' 60) ||
        { echo "FAIL: no Firefox window"; tail -20 "$scratch/firefox.log"; return 1; }
    pass "Firefox shows the page"

    # The program in a folder of its own: its URL.ini goes there.
    mkdir -p "$scratch/program"
    cp "$program" "$scratch/program/kazunavi"
    [ -d "$(dirname "$program")/help" ] && cp -r "$(dirname "$program")/help" "$scratch/program/"
    QT_QPA_PLATFORM=xcb "$scratch/program/kazunavi" >"$scratch/program.log" 2>&1 &
    pids+=($!)
    local program_pid=$!
    main=$(wait_for_window '^Kazunavi$' 20) ||
        { echo "FAIL: no main window"; cat "$scratch/program.log"; return 1; }
    click_at "$main" 52 40  # lblOPEN: the detail area with the keep list
    wait_for_size "$main" 182x197 || fail "the window did not expand: $(window_size "$main")"

    activate "$firefox"
    sleep 2.5  # five ticks of the capture
    activate "$main"
    sleep 1.2  # the program in front: the capture stays
    click_at "$main" 162 123  # Command3, KEEP
    local ini=$scratch/program/URL.ini
    for _ in $(seq 1 50); do
        [ -s "$ini" ] && break
        sleep 0.1
    done
    if [ ! -s "$ini" ]; then
        fail "KEEP wrote no URL.ini"; cat "$scratch/program.log"
        return
    fi
    local text
    text=$(iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r')
    if grep -qxF "URL0=$site/a.html" <<<"$text" && grep -qxF "Name0=Page A 日本" <<<"$text" &&
        grep -qxF "Count=1" <<<"$text"; then
        pass "KEEP adds the page's address under its title to URL.ini"
    else
        fail "URL.ini holds: $text"
    fi

    # The exit lamp ends the program, its lookup of browser windows included.
    click_at "$main" 8 8
    if wait_for_exit "$program_pid" 10; then
        wait "$program_pid"
        local status=$?
        [ $status = 0 ] && pass "the program ends well" ||
            { fail "the program ended with $status"; tail -30 "$scratch/program.log"; }
    else
        fail "the program did not end"
    fi
    return 0
}

# A part that cannot go on has said why.
case "$part" in
    probe) run_probe || failures=$((failures + 1)) ;;
    keep) run_keep || failures=$((failures + 1)) ;;
    *) echo "usage: $0 probe|keep CAPTURE_PROBE KAZUNAVI"; exit 2 ;;
esac

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
exit 0
