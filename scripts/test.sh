#!/usr/bin/env bash
# Installs what is missing, builds Plenix and runs the whole test suite:
# the core and window tests, all of them once more under AddressSanitizer and
# UndefinedBehaviorSanitizer (the window's random-input test at its full
# length there), and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh

jobs=$(nproc)
werror=OFF
[[ ${CI:-} == true ]] && werror=ON

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENIX_WERROR="$werror"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLENIX_CORE_ONLY=OFF \
    -DPLENIX_SANITIZE=ON -DPLENIX_BUILD_BENCH=OFF -DPLENIX_WERROR="$werror"
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs"

echo "== Fuzzing"
./scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
