#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rewrites the golden outputs of plenix-calc (tests/data/outputs/*.golden)
# from the development build, so that a deliberate change of an output is one
# diff to review. Read the diff through before committing it: it is what the
# program will be held to.
#
# Usage: scripts/golden-outputs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target plenix-calc
python3 tests/cli/golden_outputs.py "$PWD/build/dev/src/cli/plenix-calc" "$PWD/tests/data" \
    "$PWD/build/dev/tests/golden-work" --write
git status --short -- tests/data/outputs
