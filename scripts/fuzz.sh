#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets in fuzz/ with clang (the fuzz preset) and runs
# each for a bounded time.
#
#   scripts/fuzz.sh [seconds]     seconds per target, 30 by default
#
# New inputs found go to build/fuzz/corpus-<target>/, never into the seed
# corpus in fuzz/corpus/. A crash, a sanitizer report or a failed check
# leaves its input in build/fuzz/ and makes the script exit non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "usage: $0 [seconds per target]" >&2
    exit 2
fi

out=build/fuzz
targets=(fuzz_numbertext fuzz_routefile fuzz_editing fuzz_fileio fuzz_projectfile fuzz_fittings)

source scripts/preset-env.sh
echo "== Building ${targets[*]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

# The new targets start from the route file seeds.
declare -A seeds=([fuzz_editing]=fuzz_routefile [fuzz_fileio]=fuzz_routefile)
failed=()
for target in "${targets[@]}"; do
    echo "== Fuzzing $target for ${seconds}s"
    corpus="$out/corpus-$target"
    mkdir -p "$corpus"
    if ! "$out/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/$target-" \
        "$corpus" "fuzz/corpus/${seeds[$target]:-$target}"; then
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "Fuzzing found a fault in: ${failed[*]}" >&2
    exit 1
fi
echo "Fuzzing: no fault found"
