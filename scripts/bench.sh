#!/usr/bin/env bash
# Measures the game against a bare-Xlib floor (bench/floor.cpp) and a minimal client
# (bench/minimal.cpp) and prints one table, also
# written to build/bench/results.txt. It builds a Release build of its own in build/bench/release,
# runs both programs in build/bench/run (which holds the game's Data/ folder and its log.txt)
# on a private Xvfb with openbox, and stops that server again. The long game plays 100 rounds on
# the game's one-second clock, so a whole run takes some 25 minutes.
# Extra arguments go to the harness, e.g.  scripts/bench.sh --quick   or   --rounds 20
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/bench"

"$root/scripts/install-deps.sh" bench

# Two jobs at most: the machines this runs on may have no more cores, and the X server and
# the window manager share them with the build.
cmake -S "$root" -B "$out/release" -DCMAKE_BUILD_TYPE=Release -DBRISGOLA_TESTS=OFF >/dev/null
cmake --build "$out/release" --target brisgola brisgola-floor brisgola-minimal brisgola-textbox \
    brisgola-bench -j2

mkdir -p "$out/run/Data"
cp "$root"/assets/sounds/*.wav "$out/run/Data/"
rm -f "$out/run/game.log" "$out/run/floor.log"

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

"$out/release/bench/brisgola-bench" \
    --game "$out/release/brisgola" \
    --floor "$out/release/bench/brisgola-floor" \
    --minimal "$out/release/bench/brisgola-minimal" \
    --textbox "$out/release/bench/brisgola-textbox" \
    --work-dir "$out/run" \
    --output "$out/results.txt" \
    --xserver-pid "${xserver_pids[0]}" \
    "$@"
echo "Table written to ${out#"$root"/}/results.txt"
