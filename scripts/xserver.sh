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
    if ! window_manager_ready; then
        echo "openbox did not start:" >&2
        cat "$xserver_dir/openbox.log" >&2
        return 1
    fi
    echo "X server ready on $DISPLAY (24-bit, openbox)"
}

# openbox announces itself well before it has finished starting, and a window mapped in the
# meantime may never be shown. Only a window of our own that comes up through it proves it
# handles requests, and only once it has sat idle for a moment is its start-up over.
window_manager_ready() {
    probe_window_manager && window_manager_idle "${xserver_pids[1]}"
}

window_manager_idle() {
    local pid=$1 before after quiet=0 tries=0
    before=$(cpu_ticks "$pid")
    while [ $quiet -lt 3 ] && [ $tries -lt 100 ]; do
        sleep 0.1
        after=$(cpu_ticks "$pid")
        if [ "$after" = "$before" ]; then quiet=$((quiet + 1)); else quiet=0; fi
        before=$after
        tries=$((tries + 1))
    done
    [ $quiet -ge 3 ]
}

# User and system time of a process, in clock ticks; the command name before them may hold
# blanks, so the fields are counted from its closing parenthesis.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    set -- $stat
    echo $(( ${12} + ${13} ))
}

probe_window_manager() {
    local attempt tries probe
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        xmessage -title brisgola-wm-probe -timeout 30 probe >/dev/null 2>&1 &
        probe=$!
        tries=0
        while [ $tries -lt 40 ]; do
            if xwininfo -name brisgola-wm-probe 2>/dev/null | grep -q IsViewable; then
                kill "$probe" 2>/dev/null
                wait "$probe" 2>/dev/null
                return 0
            fi
            tries=$((tries + 1))
            sleep 0.05
        done
        kill "$probe" 2>/dev/null
        wait "$probe" 2>/dev/null
    done
    return 1
}
