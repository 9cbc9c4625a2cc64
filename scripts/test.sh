#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the sources' formatting, builds Plenix and
# runs the whole test suite: the core and window tests, the naming check, all
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer (the
# window's random-input test at its full length there), and a bounded fuzzing
# run. Builds use the presets of CMakePresets.json; CI (CI=true) turns
# warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
source scripts/preset-env.sh

echo "== Lines of code"
./scripts/count-lines.sh --strict

echo "== Formatting"
./scripts/format.sh --check

echo "== The methods' cases against their independent model"
python3 scripts/method-model.py --check || {
    echo "tests/data/method-routes.cases differs from scripts/method-model.py" >&2
    exit 1
}

echo "== Build and test"
cmake --preset dev "${preset_flags[@]}"
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== Names"
./scripts/lint.sh

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan-ubsan "${preset_flags[@]}"
cmake --build --preset asan-ubsan -j "$jobs"
ctest --preset asan-ubsan -j "$jobs"

echo "== Fuzzing"
./scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
