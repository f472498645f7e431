# Sourced by the test and benchmark scripts. Starts private X servers, each an Xvfb at 24 bits
# on a display number that the server picks itself (so two runs never collide) with one window
# manager on it, and stops exactly what it started when the calling script exits.
#
#   start_xserver                one server with openbox, exported as DISPLAY
#   launch_display MANAGER       starts one more server with MANAGER on it, without waiting
#                                for the manager; its number goes to launched_displays
#   await_displays               waits until every launched manager really manages windows
#   write_resource_spec FILE [FIRST END]
#                                describes the launched servers (those from index FIRST up to
#                                END) to ctest, one resource type per manager whose ids are
#                                the display numbers
#
# The managers: openbox, i3, xfwm4, metacity, icewm and twm. i3 and twm read the small
# configurations beside this script; xfwm4 keeps its settings on a session bus of its own.

xserver_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
xserver_pids=()
xserver_groups=()
xserver_dir=""
launched_displays=()
launched_managers=()
launched_groups=()

stop_xserver() {
    local pid group
    # A manager may have started helpers of its own (a session bus, a settings daemon), so
    # the whole process group goes.
    for group in "${xserver_groups[@]}"; do
        kill -- "-$group" 2>/dev/null || true
    done
    for pid in "${xserver_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${xserver_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    xserver_pids=()
    xserver_groups=()
    [ -n "$xserver_dir" ] && rm -rf "$xserver_dir"
    xserver_dir=""
}

xserver_prepare() {
    [ -n "$xserver_dir" ] && return 0
    xserver_dir=$(mktemp -d)
    trap stop_xserver EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

start_xserver() {
    launch_display openbox || return 1
    await_displays || return 1
    export DISPLAY=":${launched_displays[-1]}"
    echo "X server ready on $DISPLAY (24-bit, openbox)"
}

launch_display() {
    local manager=$1 log number tries=0
    xserver_prepare
    log="$xserver_dir/xvfb.${#launched_displays[@]}"
    # Without autorepeat (-r): a key tap whose release reaches a busy server late must not
    # type its character twice.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -r \
        3>"$log.display" >"$log.log" 2>&1 &
    local server=$!
    xserver_pids+=("$server")
    while [ ! -s "$log.display" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
            echo "Xvfb did not start:" >&2
            cat "$log.log" >&2
            return 1
        fi
        sleep 0.05
    done
    number=$(head -n1 "$log.display")
    local command
    case "$manager" in
    openbox) command=(openbox --sm-disable) ;;
    i3) command=(i3 -c "$xserver_here/wm/i3.config") ;;
    # Without its settings daemon, which it finds on the session bus, xfwm4 starts with no
    # theme and ignores requests; NO_AT_BRIDGE keeps it from starting an accessibility bus.
    xfwm4) command=(env NO_AT_BRIDGE=1 dbus-run-session -- xfwm4 --compositor=off) ;;
    metacity) command=(metacity --sm-disable --no-composite) ;;
    icewm) command=(icewm) ;;
    twm) command=(twm -f "$xserver_here/wm/twmrc") ;;
    *)
        echo "unknown window manager $manager" >&2
        return 1
        ;;
    esac
    DISPLAY=":$number" setsid "${command[@]}" >"$xserver_dir/$manager.$number.log" 2>&1 &
    xserver_pids+=($!)
    xserver_groups+=($!)
    launched_displays+=("$number")
    launched_managers+=("$manager")
    launched_groups+=($!)
}

await_displays() {
    local i
    for i in "${!launched_displays[@]}"; do
        [ -n "${awaited[$i]:-}" ] && continue
        if ! window_manager_ready "${launched_displays[$i]}" "${launched_groups[$i]}"; then
            echo "${launched_managers[$i]} did not start on :${launched_displays[$i]}:" >&2
            cat "$xserver_dir/${launched_managers[$i]}.${launched_displays[$i]}.log" >&2
            return 1
        fi
        awaited[$i]=1
    done
}
declare -a awaited=()

write_resource_spec() {
    local file=$1 from=${2:-0} to=${3:-${#launched_displays[@]}} manager i first entries=""
    for manager in $(printf '%s\n' "${launched_managers[@]:$from:$((to - from))}" | sort -u); do
        first=1
        [ -n "$entries" ] && entries+=","
        entries+="\"$manager\":["
        for ((i = from; i < to; ++i)); do
            [ "${launched_managers[$i]}" = "$manager" ] || continue
            [ $first -eq 1 ] || entries+=","
            entries+="{\"id\":\"${launched_displays[$i]}\",\"slots\":1}"
            first=0
        done
        entries+="]"
    done
    printf '{"version":{"major":1,"minor":0},"local":[{%s}]}\n' "$entries" >"$file"
}

# Managers announce themselves well before they have finished starting, and a window mapped
# in the meantime may never be shown. Only a window of our own that the manager has taken in
# (it sets WM_STATE on the windows it manages) proves it handles requests, and only once it
# has sat idle for a moment is its start-up over.
window_manager_ready() {
    probe_window_manager "$1" && window_manager_idle "$2"
}

window_manager_idle() {
    local group=$1 before after quiet=0 tries=0
    before=$(group_cpu_ticks "$group")
    while [ $quiet -lt 3 ] && [ $tries -lt 100 ]; do
        sleep 0.1
        after=$(group_cpu_ticks "$group")
        if [ "$after" = "$before" ]; then quiet=$((quiet + 1)); else quiet=0; fi
        before=$after
        tries=$((tries + 1))
    done
    [ $quiet -ge 3 ]
}

# User and system time of every process of a group, in clock ticks; the command name before
# them may hold blanks, so the fields are counted from its closing parenthesis.
group_cpu_ticks() {
    local pid stat total=0
    for pid in $(pgrep -g "$1"); do
        stat=$(cat "/proc/$pid/stat" 2>/dev/null) || continue
        stat=${stat##*) }
        # shellcheck disable=SC2086
        set -- $stat
        total=$((total + ${12} + ${13}))
    done
    echo "$total"
}

probe_window_manager() {
    local display=":$1" attempt tries probe title="brisgola-wm-probe-$1"
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        DISPLAY=$display xmessage -title "$title" -timeout 30 probe >/dev/null 2>&1 &
        probe=$!
        tries=0
        while [ $tries -lt 40 ]; do
            if DISPLAY=$display xprop -name "$title" WM_STATE 2>/dev/null |
                grep -q 'window state: Normal'; then
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
