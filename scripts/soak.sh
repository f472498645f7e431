#!/usr/bin/env bash
# Plays the game round after round in the sanitizer build and checks that it leaks no memory,
# descriptor or child: the soak test, alone, with more rounds than make test gives it.
# BRISGOLA_SOAK_ROUNDS sets how many (100 unless given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DBRISGOLA_SANITIZE=ON >/dev/null
cmake --build "$root/build/asan" --target e2e_tests -j"$(nproc)"

# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export BRISGOLA_SOAK_ROUNDS=${BRISGOLA_SOAK_ROUNDS:-100}
ctest --test-dir "$root/build/asan" -L soak --output-on-failure -V
