#!/usr/bin/env bash
# Prints line and branch coverage of the program's own code (app/, gui/, game/, util/) as the
# whole test suite exercises it: a plain Debug build instrumented with --coverage in
# build/coverage, every test run through CTest against a private Xvfb with openbox, as in
# make test, and gcovr's summary at the end. The game started by the end-to-end tests is the
# instrumented one too, so what those tests reach counts. The report is also written to
# build/coverage/coverage.txt. Extra arguments go to ctest, e.g.  scripts/coverage.sh -LE long
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/coverage"

"$root/scripts/install-deps.sh" coverage

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
    >/dev/null
cmake --build "$out" -j"$(nproc)"
# Counts of an earlier run would add up with this one's.
find "$out" -name '*.gcda' -delete
# Some fault tests run the game as an unprivileged user; its counts belong with the rest, so
# the folders of the counts, and the count files every run creates, are open to any user.
find "$out" -name '*.gcno' -printf '%h\n' | sort -u | xargs chmod a+w
umask 000

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
# A server for each display test that runs at once, and the matrix's managers (scripts/test.sh).
for i in 1 2 3 4; do launch_display openbox; done
for manager in i3 xfwm4 metacity icewm twm; do launch_display "$manager"; done
await_displays
write_resource_spec "$out/servers.json"
unset DISPLAY

# A failing test is reported by ctest; the figures are still worth printing.
status=0
ctest --test-dir "$out" --output-on-failure -j6 --resource-spec-file "$out/servers.json" "$@" ||
    status=$?

# CMake's own probes of the compilers are not the program; gcov cannot place them anyway. Only
# this build's data is read: other instrumented builds in the checkout would not merge with it.
gcovr --root "$root" --object-directory "$out" --exclude-directories '.*/CMakeFiles/[0-9.]+/.*' \
    --filter "$root/app/" --filter "$root/gui/" --filter "$root/game/" --filter "$root/util/" \
    --exclude-unreachable-branches --exclude-throw-branches \
    --print-summary --output "$out/coverage.txt" "$out"
exit $status
