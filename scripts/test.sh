#!/usr/bin/env bash
# Builds the project and runs every test twice: once in a plain build and once in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Tests that need a display run against a
# private Xvfb with openbox that this script starts and stops.
# Only the tests that need no display: ctest --test-dir build/debug -L nodisplay
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh" test

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}
configure_and_build "$root/build/debug"
configure_and_build "$root/build/asan" -DBRISGOLA_SANITIZE=ON
ln -sf build/debug/compile_commands.json "$root/compile_commands.json"

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Plain build =="
ctest --test-dir "$root/build/debug" --output-on-failure -j"$jobs"
echo "== Sanitizer build =="
ctest --test-dir "$root/build/asan" --output-on-failure -j"$jobs"
