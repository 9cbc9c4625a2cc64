#!/usr/bin/env bash
# Line coverage of the test suite, per folder of the program, with gcov
# through gcovr. Prints the summary and writes an HTML report to
# build-coverage/coverage.html.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build-coverage -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLENIX_COVERAGE=ON \
    -DPLENIX_BUILD_BENCH=OFF >/dev/null
cmake --build build-coverage -j "$(nproc)"
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage --output-on-failure -j "$(nproc)" -LE e2e
for folder in src/core src/app; do
    echo "== $folder"
    gcovr --root . --filter "$folder/" --exclude '.*_autogen.*' build-coverage \
        --print-summary --txt build-coverage/coverage-${folder//\//-}.txt | tail -n 3
done
gcovr --root . --filter 'src/' --exclude '.*_autogen.*' build-coverage \
    --html-details build-coverage/coverage.html >/dev/null
