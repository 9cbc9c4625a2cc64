#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats the C++ sources of src/, tests/, fuzz/ and bench/ with the root
# .clang-format. --check changes nothing and fails on any difference; the test
# command runs it so.
#
# Usage: scripts/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' \
    'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'bench/*.cpp')
if [[ ${1:-} == --check ]]; then
    clang-format --dry-run -Werror "${files[@]}"
    echo "format: ${#files[@]} files, all as .clang-format lays them out"
else
    clang-format -i "${files[@]}"
fi
