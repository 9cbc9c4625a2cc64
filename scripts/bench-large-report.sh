#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Time and peak memory of plenix-calc --pdf on the largest route a file may
# hold: a description of one unbroken line of 64 MiB, and one of 200,000
# short lines. Usage: scripts/bench-large-report.sh [PLENIX_CALC]
set -euo pipefail
calc=${1:-build/dev/src/cli/plenix-calc}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
head = b"\t1000\t12\t100\x80"
open(f"{work}/one-line.txt", "wb").write(head + b"=" * (64 * 1024 * 1024 - len(head)))
open(f"{work}/many-lines.txt", "wb").write(
    head + b"\r\n".join(b"line %d of the description" % i for i in range(200000)))
PY
for route in one-line many-lines; do
    size=$(stat -c %s "$work/$route.txt")
    env -u DISPLAY /usr/bin/time -f "$route ($size bytes): %e s, peak %M KiB" \
        "$calc" --pdf="$work/$route.pdf" "$work/$route.txt"
done
printf '\t1000\t12\t100\x80' >"$work/small.txt"
env -u DISPLAY /usr/bin/time -f "a route of one row, for the program's own share: %e s, peak %M KiB" \
    "$calc" --pdf="$work/small.pdf" "$work/small.txt"
