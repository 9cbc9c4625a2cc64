#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window in little memory. Each row of the window test named below runs
# again in a process of its own under `ulimit -v`, with 25 MB more address
# space than it needs: a save, a copy or a report that held one more copy of
# the 40 MB route, or an undo history without its budget (ten edits of a
# 10 MB cell), fails with "Caught unhandled exception" or an abort.
#
# Usage: limits.sh TST_APP_WINDOW
set -uo pipefail

window_test=$1
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
exit "$status"
