#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Line coverage of the test suite, per folder of the program, with gcov
# through gcovr. Prints the summary and writes an HTML report to
# build/coverage/coverage.html.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
source scripts/preset-env.sh
out=build/coverage
cmake --preset coverage "${preset_flags[@]}" >/dev/null
cmake --build --preset coverage -j "$jobs"
find "$out" -name '*.gcda' -delete
ctest --preset coverage -j "$jobs"
for folder in src/core src/app; do
    echo "== $folder"
    gcovr --root . --filter "$folder/" --exclude '.*_autogen.*' "$out" \
        --print-summary --txt "$out/coverage-${folder//\//-}.txt" | tail -n 3
done
gcovr --root . --filter 'src/' --exclude '.*_autogen.*' "$out" \
    --html-details "$out/coverage.html" >/dev/null
