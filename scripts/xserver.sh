# Sourced by the test and benchmark scripts: starts a private Xvfb at 24 bits on a display
# number that the server picks itself (so two runs never collide) and openbox on it, exports
# DISPLAY, and stops exactly those two processes when the calling script exits.

xserver_pids=()
xserver_dir=""

stop_xserver() {
    local pid
    for pid in "${xserver_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${xserver_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    xserver_pids=()
    [ -n "$xserver_dir" ] && rm -rf "$xserver_dir"
    xserver_dir=""
}

start_xserver() {
    xserver_dir=$(mktemp -d)
    trap stop_xserver EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$xserver_dir/display" >"$xserver_dir/xvfb.log" 2>&1 &
    xserver_pids+=($!)
    local tries=0
    while [ ! -s "$xserver_dir/display" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ] || ! kill -0 "${xserver_pids[0]}" 2>/dev/null; then
            echo "Xvfb did not start:" >&2
            cat "$xserver_dir/xvfb.log" >&2
            return 1
        fi
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$xserver_dir/display")"

    openbox --sm-disable >"$xserver_dir/openbox.log" 2>&1 &
    xserver_pids+=($!)
    # Tests rely on a managing window manager (fixed sizes, close requests), so wait for it.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            echo "openbox did not start:" >&2
            cat "$xserver_dir/openbox.log" >&2
            return 1
        fi
        sleep 0.05
    done
    echo "X server ready on $DISPLAY (24-bit, openbox)"
}
