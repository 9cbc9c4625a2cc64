#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Counts the non-blank lines of test code (C++, shell and Python files under
# tests/, the case files under tests/data/ excepted) and of product code (the
# C++ files under src/), and prints both and their ratio. The tests are
# budgeted at a third of the product at most; --strict makes a larger ratio
# an error.
#
# Usage: scripts/count-lines.sh [--strict]
set -euo pipefail
cd "$(dirname "$0")/.."

count() { # files... -> non-blank lines
    cat -- "$@" /dev/null | grep -c '[^[:space:]]' || true
}

mapfile -t test_files < <(git ls-files -co --exclude-standard -- tests \
    | grep -v '^tests/data/' | grep -E '\.(cpp|h|sh|py)$')
mapfile -t product_files < <(git ls-files -co --exclude-standard -- src \
    | grep -E '\.(cpp|h|h\.in)$')

tests=$(count "${test_files[@]}")
product=$(count "${product_files[@]}")
ratio=$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.3f", p ? t / p : 0 }')
echo "lines: tests $tests, product $product, ratio $ratio (at most 0.333)"
if ! awk -v t="$tests" -v p="$product" 'BEGIN { exit !(3 * t <= p) }'; then
    echo "the tests exceed a third of the product's lines" >&2
    [[ ${1:-} == --strict ]] && exit 1
fi
exit 0
