#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Plenix (the release preset) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
source scripts/preset-env.sh
cmake --preset release "${preset_flags[@]}"
cmake --build --preset release -j "$jobs" --target plenix
exec ./build/release/src/app/plenix
