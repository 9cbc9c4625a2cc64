#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang straight from the core's
# sources (no CMake needed) and runs each for a bounded time.
#
#   scripts/fuzz.sh [seconds]     seconds per target, 30 by default
#
# New inputs found go to build-fuzz/corpus-<target>/, never into the seed
# corpus in fuzz/corpus/. A crash, a sanitizer report or a failed check
# leaves its input in build-fuzz/ and makes the script exit non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "usage: $0 [seconds per target]" >&2
    exit 2
fi

cxx=${FUZZ_CXX:-clang++}
out=build-fuzz
mkdir -p "$out"

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Isrc/core)
core_sources=(src/core/*.cpp)
core_targets=(fuzz_numbertext fuzz_routefile fuzz_editing)
# The file module and the character set conversion need QtCore.
qt_targets=(fuzz_fileio)
qt_sources=(src/fileio/*.cpp src/app/textcodec.cpp)
targets=("${core_targets[@]}" "${qt_targets[@]}")

for target in "${core_targets[@]}"; do
    echo "== Building $target"
    "$cxx" "${flags[@]}" "fuzz/$target.cpp" "${core_sources[@]}" -o "$out/$target"
done
read -ra qt_flags <<<"$(pkg-config --cflags Qt6Core)"
read -ra qt_libs <<<"$(pkg-config --libs Qt6Core)"
for target in "${qt_targets[@]}"; do
    echo "== Building $target"
    "$cxx" "${flags[@]}" -fPIC -Isrc/fileio -Isrc/app "${qt_flags[@]}" "fuzz/$target.cpp" \
        "${qt_sources[@]}" "${core_sources[@]}" "${qt_libs[@]}" -o "$out/$target"
done

# The new targets start from the route file seeds.
declare -A seeds=([fuzz_editing]=fuzz_routefile [fuzz_fileio]=fuzz_routefile)
failed=()
for target in "${targets[@]}"; do
    echo "== Fuzzing $target for ${seconds}s"
    corpus="$out/corpus-$target"
    mkdir -p "$corpus"
    if ! "$out/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
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
