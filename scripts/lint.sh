#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The naming check: clang-tidy with the root .clang-tidy over every source of
# src/ and the headers they include from there. Any finding fails. Uses the
# dev preset's compilation database, configuring it when missing.
#
# Usage: scripts/lint.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
jobs=$(nproc)

if [[ ! -f $build/compile_commands.json ]]; then
    [[ $build == build/dev ]] || { echo "no compile_commands.json in $build" >&2; exit 2; }
    cmake --preset dev >/dev/null
fi

mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp')
if printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null; then
    echo "names: ${#sources[@]} sources checked, no finding"
else
    echo "names: clang-tidy reported findings (above)" >&2
    exit 1
fi
