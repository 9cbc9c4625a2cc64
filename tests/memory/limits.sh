#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window in little memory. Each row of the window test named below runs
# again in a process of its own under `ulimit -v`, with 25 MB more address
# space than it needs: a save, a copy or a report that held one more copy of
# the 40 MB route, or an undo history without its budget (ten edits of a
# 10 MB cell), fails with "Caught unhandled exception" or an abort.
#
# Then plenix-calc -i on a 40 MB route: within 25 MB more than it needs it
# saves; in less it says it has not enough memory, exits 2 and leaves the
# route as it was.
#
# Usage: limits.sh TST_APP_WINDOW PLENIX_CALC WORK_DIR
set -uo pipefail

window_test=$1 calc=$2 work=$3
status=0
while IFS=$'\t' read -r limit row; do
    if output=$(ulimit -v "$limit" &&
        "$window_test" -platform offscreen "inputs_reach_their_operations:$row" 2>&1); then
        echo "ok: $row, within $((limit / 1024)) MiB"
    else
        echo "FAIL: $row, within $((limit / 1024)) MiB"
        grep -E 'FAIL|Actual|Expected|Loc:' <<<"$output"
        status=1
    fi
done <<'ROWS'
645000	big route, a digit typed and saved
749000	big route, its description to the clipboard
703000	big route, its report printed
445000	huge cell edited again and again
ROWS

rm -rf "$work"
mkdir -p "$work"
python3 - "$work/big.txt" <<'PYTHON'
import sys
line = b"A line of a long description, broken where it ends.\r\n"
open(sys.argv[1], "wb").write(b"\t500\t12\t100\x80" + line * (40_000_000 // len(line)))
PYTHON
cp "$work/big.txt" "$work/route.txt"
err=$(ulimit -v 150000 && "$calc" -i "$work/route.txt" 2>&1 >/dev/null)
if [[ $? == 2 && $err == *"not enough memory"* ]] && cmp -s "$work/big.txt" "$work/route.txt"; then
    echo "ok: plenix-calc -i in too little memory says so and keeps the route"
else
    echo "FAIL: plenix-calc -i in too little memory: $err"
    status=1
fi
if (ulimit -v 230000 && "$calc" -i "$work/route.txt") && ! cmp -s "$work/big.txt" "$work/route.txt"; then
    echo "ok: plenix-calc -i saves a 40 MB route within 224 MiB"
else
    echo "FAIL: plenix-calc -i within 224 MiB"
    status=1
fi
exit "$status"
