# A desktop of its own: scratch folder $XS, Xvfb with openbox, on request a
# session bus (it starts the accessibility bus). What starts after xs_start
# carries a mark and is ended by its id at exit. Sourced: xs_require TOOL...,
# xs_start [bus] [SECONDS], helpers; run: bash xsession.sh COMMAND...

xs_packages="xvfb openbox xdotool xclip x11-utils imagemagick"
failures=0

# A missing tool skips the test: exit code 77 with the reason.
xs_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "SKIP: $tool is not installed (Debian packages: $xs_packages)"; exit 77; }
    done
}

xs_end_marked() {
    local environ pid
    for environ in $(grep -lzxF "KAZUNAVI_TEST_MARK=$XS" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = "$$" ] || kill "-$1" "$pid" 2>/dev/null
    done
}

xs_start() {
    local bus=no
    [ "${1:-}" = bus ] && { bus=yes; shift; }
    XS=$(mktemp -d "${TMPDIR:-/tmp}/kazunavi-desktop.XXXXXX")
    mkdir -p "$XS/home" "$XS/run" "$XS/cache" "$XS/config"
    chmod 700 "$XS/run"
    export KAZUNAVI_TEST_MARK=$XS HOME=$XS/home XDG_RUNTIME_DIR=$XS/run \
        XDG_CACHE_HOME=$XS/cache XDG_CONFIG_HOME=$XS/config LC_ALL=C.UTF-8
    trap 'xs_end_marked TERM; sleep 0.5; xs_end_marked KILL; wait; rm -rf "$XS"' EXIT
    trap 'exit 1' TERM INT
    (sleep "${1:-600}" && echo "FAIL: out of time" && kill -TERM $$) 2>/dev/null &
    # -displayfd: the server picks a free display and writes it once it is ready.
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$XS/display" >"$XS/x.log" 2>&1 &
    xs_wait 30 test -s "$XS/display" || { echo "FAIL: no Xvfb"; cat "$XS/x.log"; return 1; }
    export DISPLAY=":$(tr -d '[:space:]' <"$XS/display")"
    openbox --sm-disable >"$XS/openbox.log" 2>&1 &
    xs_wait 30 eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
        { echo "FAIL: no openbox"; cat "$XS/openbox.log"; return 1; }
    [ $bus = no ] || DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1) ||
        { echo "FAIL: no session bus"; return 1; }
    export DBUS_SESSION_BUS_ADDRESS
}

# xs_wait SECONDS COMMAND...: true as soon as the command succeeds.
xs_wait() {
    local _
    for _ in $(seq 1 $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# The first visible window whose title matches, waiting up to $2 seconds.
xs_window() {
    local pattern=$1 id
    xs_wait "$2" eval 'id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null)' &&
        echo "${id%%$'\n'*}"
}
xs_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# The colour of one pixel of a window, as "r,g,b".
xs_pixel() {
    import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p'
}
xs_click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Waits for a child process to end; true when it ended well.
xs_ended() { xs_wait 10 eval "! kill -0 $1 2>/dev/null" && wait "$1"; }

# check WHAT COMMAND...: one check, printed and counted for xs_finish.
check() { "${@:2}" && echo "ok: $1" || { echo "FAIL: $1"; failures=$((failures + 1)); }; }
xs_finish() {
    [ "$failures" -eq 0 ] && echo PASS || echo "$failures check(s) failed"
    exit $((failures > 0))
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -u
    xs_require Xvfb openbox xprop xdotool xclip
    xs_start 300 || exit 1
    "$@"
    exit $?
fi
