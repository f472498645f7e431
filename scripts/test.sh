#!/usr/bin/env bash
# Builds the project and runs every test in two builds: a plain one and one with
# AddressSanitizer and UndefinedBehaviorSanitizer. Both builds' tests run at the same time,
# since most of them wait for the X server, the window manager or the game's one-second clock.
#
# Each display test gets an X server of its own from a pool that this script starts and stops
# (scripts/xserver.sh): openbox servers for the suite, and one server for each other window
# manager of the matrix, on which the player-facing tests run again (label "wm", plain build).
# The whole game is played once, as the soak of the sanitizer build.
#
# Arguments go to both ctest runs, e.g.  scripts/test.sh -R ExitQuestion   or   -L nodisplay
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
logs="$root/build/test-logs"

phases=()
phase_start=$SECONDS
end_phase() {
    phases+=("$(printf '%-28s %4d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
report_phases() {
    echo "== Wall time of each phase =="
    printf '%s\n' "${phases[@]}"
    printf '%-28s %4d s\n' "make test in all" "$SECONDS"
}

"$root/scripts/install-deps.sh" test
end_phase "install"

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}
configure_and_build "$root/build/debug"
end_phase "plain build"
configure_and_build "$root/build/asan" -DBRISGOLA_SANITIZE=ON
end_phase "sanitizer build"
ln -sf build/debug/compile_commands.json "$root/compile_commands.json"

# Servers for the tests that run at once: two runs of ctest never share one, since neither
# knows what the other has taken.
plain_servers=4
sanitizer_servers=4
matrix=(i3 xfwm4 metacity icewm twm)

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
mkdir -p "$logs"
for ((i = 0; i < plain_servers; ++i)); do launch_display openbox; done
for manager in "${matrix[@]}"; do launch_display "$manager"; done
plain_count=${#launched_displays[@]}
for ((i = 0; i < sanitizer_servers; ++i)); do launch_display openbox; done
# All were started before any is waited for, so they come up side by side.
await_displays
write_resource_spec "$logs/plain-servers.json" 0 "$plain_count"
write_resource_spec "$logs/sanitizer-servers.json" "$plain_count" "${#launched_displays[@]}"
echo "X servers ready: ${#launched_displays[@]}"
end_phase "X servers"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Nothing may reach a display by chance: each test names its own.
unset DISPLAY

set +e
ctest --test-dir "$root/build/debug" --output-on-failure -j$((plain_servers + 2)) \
    --resource-spec-file "$logs/plain-servers.json" -LE '^soak$' "$@" >"$logs/plain.log" 2>&1 &
plain=$!
ctest --test-dir "$root/build/asan" --output-on-failure -j$((sanitizer_servers + 1)) \
    --resource-spec-file "$logs/sanitizer-servers.json" -LE '^wm$' "$@" >"$logs/sanitizer.log" 2>&1 &
sanitizer=$!
wait $plain
plain_status=$?
wait $sanitizer
sanitizer_status=$?
set -e
end_phase "tests, both builds at once"

echo "== Plain build =="
cat "$logs/plain.log"
echo "== Sanitizer build =="
cat "$logs/sanitizer.log"
report_phases
[ $plain_status -eq 0 ] && [ $sanitizer_status -eq 0 ]
