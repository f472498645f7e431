#!/usr/bin/env bash
# Formats the C and C++ sources with .clang-format, or with "check" only lists the files that
# differ from it and fails when there are any. Usage: format.sh [apply|check]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" format

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
case "${1:-apply}" in
apply)
    clang-format -i "${sources[@]}"
    ;;
check)
    differing=()
    for source in "${sources[@]}"; do
        if ! clang-format --dry-run --Werror "$source" >/dev/null 2>&1; then
            differing+=("$source")
        fi
    done
    if [ ${#differing[@]} -ne 0 ]; then
        echo "Not formatted as .clang-format says (make format mends them):" >&2
        printf '  %s\n' "${differing[@]}" >&2
        exit 1
    fi
    echo "All ${#sources[@]} sources are formatted."
    ;;
*)
    echo "usage: $0 [apply|check]" >&2
    exit 2
    ;;
esac
