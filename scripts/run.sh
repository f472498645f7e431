#!/usr/bin/env bash
# Builds the game and starts it on the user's display. It runs in build/run, which holds the
# runtime Data/ folder, so "log.txt" and other run-time files never land in the source tree.
# Without a usable display (DISPLAY unset, or no X server answering there) it shows the game
# instead: scripts/showcase.sh plays one game on a private X server and keeps screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" run
if [ -z "${DISPLAY:-}" ] || ! timeout 10 xdpyinfo >/dev/null 2>&1; then
    echo "No usable X display${DISPLAY:+ at $DISPLAY}: showing the game on a private one."
    exec "$root/scripts/showcase.sh"
fi

cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBRISGOLA_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target brisgola -j"$(nproc)"

mkdir -p "$root/build/run/Data"
cp "$root"/assets/sounds/*.wav "$root/build/run/Data/" 2>/dev/null || true
cd "$root/build/run"
exec "$root/build/release/brisgola"
