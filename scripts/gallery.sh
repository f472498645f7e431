#!/usr/bin/env bash
# Builds the gallery of the toolkit's controls and starts it on the user's display, in
# build/gallery/work, which holds its Data/ folder (the beep of refused input, the high-score
# table) and its log.txt. Without a usable display (DISPLAY unset, or no X server answering
# there) it starts the gallery on a private Xvfb with openbox instead, saves a screenshot of
# the window as build/gallery/gallery.png and stops everything it started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/gallery"
work="$build/work"

"$root/scripts/install-deps.sh" gallery
# The gallery is built with the test suite, which drives it; the screenshot tool sits beside
# the showcase.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBRISGOLA_TESTS=ON >/dev/null
cmake --build "$build" --target brisgola-gallery brisgola-screenshot -j"$(nproc)"

mkdir -p "$work/Data"
cp "$root/assets/sounds/beep.wav" "$work/Data/"

if [ -n "${DISPLAY:-}" ] && timeout 10 xdpyinfo >/dev/null 2>&1; then
    cd "$work"
    exec "$build/examples/gallery/brisgola-gallery"
fi

echo "No usable X display${DISPLAY:+ at $DISPLAY}: showing the gallery on a private one."
# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

gallery=""
stop_all() {
    if [ -n "$gallery" ] && kill -0 "$gallery" 2>/dev/null; then
        kill "$gallery" 2>/dev/null || true
        wait "$gallery" 2>/dev/null || true
    fi
    stop_xserver
}
trap stop_all EXIT

(cd "$work" && exec "$build/examples/gallery/brisgola-gallery") >"$build/gallery-output.txt" 2>&1 &
gallery=$!

rm -f "$build/gallery.png"
"$build/tools/showcase/brisgola-screenshot" "Brisgola gallery" "$build/gallery.png" >/dev/null
echo "Screenshot of the gallery: $build/gallery.png"
