#!/usr/bin/env bash
# Shows the game on a machine without a usable display: starts a private Xvfb with openbox,
# runs the game there, lets the driver play one whole game and keeps screenshots of it in
# build/showcase/ (one PNG per moment and contact-sheet.png), then answers the exit
# question with YES and stops everything it started. make run comes here by itself when
# there is no display. Arguments go to brisgola-showcase (--rounds N for a short look).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
out="$root/build/showcase"

"$root/scripts/install-deps.sh" showcase
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBRISGOLA_TESTS=OFF >/dev/null
cmake --build "$build" --target brisgola brisgola-showcase -j"$(nproc)"

# Screenshots of an earlier showcase would pass for this one's.
rm -rf "$out"
mkdir -p "$out/work/Data"
cp "$root"/assets/sounds/*.wav "$out/work/Data/"

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

game=""
stop_all() {
    if [ -n "$game" ] && kill -0 "$game" 2>/dev/null; then
        kill "$game" 2>/dev/null || true
        wait "$game" 2>/dev/null || true
    fi
    stop_xserver
}
trap stop_all EXIT

# The game writes its log lines (and, without a sound card, aplay's complaints) here rather
# than over the showcase's report.
(cd "$out/work" && exec "$build/brisgola") >"$out/game-output.txt" 2>&1 &
game=$!

echo "Playing one game of Brisgola on $DISPLAY; this takes a few minutes..."
status=0
"$build/tools/showcase/brisgola-showcase" "$out" "$@" || status=$?
if [ $status -eq 0 ]; then
    game_status=0
    wait "$game" || game_status=$?
    game=""
    if [ $game_status -ne 0 ]; then
        echo "The game ended with status $game_status; see $out/game-output.txt" >&2
        status=1
    fi
fi
echo "Screenshots: $out/ (contact-sheet.png shows them all)"
exit $status
