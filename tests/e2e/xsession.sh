# Sourced by the end-to-end tests: an X server of their own (Xvfb on a free
# display number) with a window manager (openbox), and what they need to wait
# for windows. Everything started here is stopped by stop_x_session.

# Exit code that tells CTest the test was skipped.
E2E_SKIP=77

require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (Debian packages: xvfb openbox xdotool xclip x11-utils imagemagick)"
            exit "$E2E_SKIP"
        fi
    done
}

# Starts Xvfb and openbox; sets DISPLAY. Uses $E2E_SCRATCH for its files.
start_x_session() {
    local number_file="$E2E_SCRATCH/display"
    : >"$number_file"
    # -displayfd: the server picks a free display number and writes it once it
    # accepts connections.
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp -noreset \
        5>"$number_file" >"$E2E_SCRATCH/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$number_file" ] && break
        sleep 0.1
    done
    if [ ! -s "$number_file" ]; then
        echo "FAIL: Xvfb did not start"; cat "$E2E_SCRATCH/xvfb.log"
        return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    HOME="$E2E_SCRATCH/home" openbox --sm-disable >"$E2E_SCRATCH/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    for i in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "FAIL: openbox did not start"; cat "$E2E_SCRATCH/openbox.log"
    return 1
}

stop_x_session() {
    [ -n "${E2E_WM_PID:-}" ] && kill "$E2E_WM_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}

# Prints the id of the first visible window whose title matches the pattern,
# waiting up to $2 seconds (default 10); nothing when none appeared.
wait_for_window() {
    local pattern=$1 seconds=${2:-10} i id
    for i in $(seq 1 $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Width x height of a window, e.g. "182x46".
window_size() {
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Waits up to $3 seconds (default 5) for the window to reach a size.
wait_for_size() {
    local id=$1 size=$2 seconds=${3:-5} i
    for i in $(seq 1 $((seconds * 20))); do
        [ "$(window_size "$id")" = "$size" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits up to $2 seconds (default 5) for a process to end.
wait_for_exit() {
    local pid=$1 seconds=${2:-5} i
    for i in $(seq 1 $((seconds * 20))); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}

# Waits up to $3 seconds (default 5) for a line in a file.
wait_for_line() {
    local file=$1 line=$2 seconds=${3:-5} i
    for i in $(seq 1 $((seconds * 20))); do
        grep -qxF -- "$line" "$file" 2>/dev/null && return 0
        sleep 0.05
    done
    return 1
}

# The colour of one pixel of a window, as "r,g,b".
pixel_of() {
    local id=$1 x=$2 y=$3
    import -window "$id" -crop "1x1+$x+$y" -depth 8 txt:- 2>/dev/null |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p'
}

# Waits up to $5 seconds (default 3) for a pixel to take a colour.
wait_for_pixel() {
    local id=$1 x=$2 y=$3 colour=$4 seconds=${5:-3} i
    for i in $(seq 1 $((seconds * 10))); do
        [ "$(pixel_of "$id" "$x" "$y")" = "$colour" ] && return 0
        sleep 0.1
    done
    return 1
}

# Clicks at a place in the window, in its own pixels.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}
