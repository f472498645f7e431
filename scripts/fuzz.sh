#!/usr/bin/env bash
# Coverage-guided fuzzing of the program's input handling (tests/fuzz): builds the libFuzzer
# targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build/fuzz and runs
# them one after another, each for a million executions or until its time cap. Prints, per
# target, the executions, the seconds, the corpus it grew and what it found; exits non-zero
# when any target found a crash, a leak, a timeout or an out-of-memory. A finding's input and
# the run's log stay in build/fuzz/findings/<target>/; replay it with the target's program
# and the input as its only argument.
# Some targets only: scripts/fuzz.sh string_utils date_time. Shorter runs: FUZZ_RUNS=10000.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
runs=${FUZZ_RUNS:-1000000}
time_cap=${FUZZ_MAX_SECONDS:-3600}

# The largest input each target is given: enough for what it reads (a few rows of a bitmap,
# a table of ten entries, a few hundred key events), small enough to keep an execution cheap.
declare -A max_len=(
    [bmp_file]=4096
    [date_time]=256
    [high_score_table]=2048
    [string_utils]=1024
    [text_box_custom]=128
)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(bmp_file date_time high_score_table string_utils text_box_custom)
for target in "${targets[@]}"; do
    if [ -z "${max_len[$target]:-}" ]; then
        echo "unknown fuzz target: $target (known: ${!max_len[*]})" >&2
        exit 2
    fi
done

"$root/scripts/install-deps.sh" fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRISGOLA_FUZZ=ON -DBRISGOLA_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzz}"

# The text box paints into a real window.
# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
start_xserver

# Each target writes its files (the bitmap, the score table, the log) in a private folder on
# /dev/shm: in memory, so the million writes and syncs cost no disk.
work_dirs=()
remove_work_dirs() {
    [ ${#work_dirs[@]} -gt 0 ] && rm -rf "${work_dirs[@]}"
    stop_xserver
}
trap remove_work_dirs EXIT

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The last value libFuzzer printed for one of its final statistics.
final_stat() {
    sed -n "s/^stat::$1: *//p" "$2" | tail -n1
}

summary=()
found_any=0
for target in "${targets[@]}"; do
    work=$(mktemp -d /dev/shm/brisgola-fuzz-XXXXXX)
    work_dirs+=("$work")
    # The corpus grown by earlier runs is kept, so each run goes on from where the last ended.
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$corpus"
    rm -rf "$findings"
    mkdir -p "$findings"
    log=$findings/run.log

    echo "== $target: $runs executions at most, $time_cap s at most =="
    start=$SECONDS
    status=0
    # Standard output is closed: the refused inputs' log lines would drown libFuzzer's.
    (cd "$work" && "$build/tests/fuzz/${target}_fuzz" -runs="$runs" -max_total_time="$time_cap" \
        -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 \
        -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$root/tests/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
    seconds=$((SECONDS - start))

    executions=$(final_stat number_of_executed_units "$log")
    [ -z "$executions" ] && executions=$(grep -o '^#[0-9]*' "$log" | tail -n1 | tr -d '#')
    corpus_files=$(find "$corpus" -type f | wc -l)
    kinds=()
    for kind in crash leak timeout oom; do
        count=$(find "$findings" -name "$kind-*" | wc -l)
        [ "$count" -gt 0 ] && kinds+=("$count $kind")
    done
    if [ ${#kinds[@]} -gt 0 ]; then
        result="FOUND ${kinds[*]}"
        found_any=1
        # The sanitizer's or the property's report, which says what broke and where.
        grep -E -m1 -A14 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|property broken' \
            "$log" || true
        echo "input and log: $findings/"
    elif [ "$status" -ne 0 ]; then
        result="FAILED (status $status, see $log)"
        found_any=1
        tail -n 20 "$log"
    elif [ "${executions:-0}" -lt "$runs" ]; then
        result="nothing found, but the time cap ended it early"
    else
        result="nothing found"
    fi
    echo "$target: ${executions:-0} executions in $seconds s, corpus $corpus_files files: $result"
    summary+=("$(printf '%-18s %12s %8s %8s  %s' "$target" "${executions:-0}" "$seconds" \
        "$corpus_files" "$result")")
done

echo
printf '%-18s %12s %8s %8s  %s\n' target executions seconds corpus findings
printf '%s\n' "${summary[@]}"
exit "$found_any"
