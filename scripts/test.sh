#!/usr/bin/env bash
# Builds the project and runs every test in two builds: a plain one and one with
# AddressSanitizer and UndefinedBehaviorSanitizer. Most tests wait for the X server, the window
# manager or the game's one-second clock, so the two builds' tests run at the same time, and
# the longest of them, the whole game played as the sanitizer build's soak, starts as soon as
# its build is done, while the plain build compiles.
#
# Each display test gets an X server of its own from a pool that this script starts and stops
# (scripts/xserver.sh): openbox servers for the suite, and one server for each other window
# manager of the matrix, on which the player-facing tests run again (label "wm", plain build).
# The whole game is played once, as the soak of the sanitizer build.
#
# Arguments go to every ctest run, e.g.  scripts/test.sh -R ExitQuestion   or   -L nodisplay
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
logs="$root/build/test-logs"

phases=()
phase_start=$SECONDS
end_phase() {
    phases+=("$(printf '%-36s %4d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
report_phases() {
    echo "== Wall time of each phase =="
    printf '%s\n' "${phases[@]}"
    printf '%-36s %4d s\n' "make test in all" "$SECONDS"
}

"$root/scripts/install-deps.sh" test
end_phase "install"

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}
configure_and_build "$root/build/asan" -DBRISGOLA_SANITIZE=ON
end_phase "sanitizer build"

# Servers for the tests that run at once: two runs of ctest never share one, since neither
# knows what the other has taken.
plain_servers=4
sanitizer_servers=4
matrix=(i3 xfwm4 metacity icewm twm)

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
mkdir -p "$logs"
launch_display openbox
for ((i = 0; i < plain_servers; ++i)); do launch_display openbox; done
for manager in "${matrix[@]}"; do launch_display "$manager"; done
plain_end=${#launched_displays[@]}
for ((i = 0; i < sanitizer_servers; ++i)); do launch_display openbox; done
# All were started before any is waited for, so they come up side by side.
await_displays
write_resource_spec "$logs/soak-servers.json" 0 1
write_resource_spec "$logs/plain-servers.json" 1 "$plain_end"
write_resource_spec "$logs/sanitizer-servers.json" "$plain_end" "${#launched_displays[@]}"
echo "X servers ready: ${#launched_displays[@]}"
end_phase "X servers"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Nothing may reach a display by chance: each test names its own.
unset DISPLAY

# Runs ctest in the background on a build and a pool, its output to a log of the same name.
run_tests() {
    local build=$1 name=$2
    shift 2
    ctest --test-dir "$root/build/$build" --output-on-failure \
        --resource-spec-file "$logs/$name-servers.json" "$@" >"$logs/$name.log" 2>&1 &
}
run_tests asan soak -L '^soak$' "$@"
soak=$!

configure_and_build "$root/build/debug"
ln -sf build/debug/compile_commands.json "$root/compile_commands.json"
end_phase "plain build, the soak under way"

run_tests debug plain -j$((plain_servers + 2)) -LE '^soak$' "$@"
plain=$!
run_tests asan sanitizer -j$((sanitizer_servers + 1)) -LE '^(wm|soak)$' "$@"
sanitizer=$!
statuses=()
for pid in $plain $sanitizer $soak; do
    status=0
    wait "$pid" || status=$?
    statuses+=("$status")
done
end_phase "tests, both builds at once"

echo "== Plain build =="
cat "$logs/plain.log"
echo "== Sanitizer build: the soak =="
cat "$logs/soak.log"
echo "== Sanitizer build: the rest =="
cat "$logs/sanitizer.log"
report_phases
[ "${statuses[*]}" = "0 0 0" ]
