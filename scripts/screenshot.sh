#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot.png: starts Plenix in a virtual X server, types the
# worked example route with xdotool, calculates it, changes one length and
# photographs the window with its marks. With --project, takes
# docs/screenshot-project.png instead: the example project as it opens, with
# its route list and system figures.
# Needs a built program: ./scripts/run.sh builds it, and PLENIX=path/to/plenix
# takes another.
#
# Usage: scripts/screenshot.sh [--project] [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."

program=${PLENIX:-./build/release/src/app/plenix}
project=()
title='Untitled'
if [[ ${1:-} == --project ]]; then
    project=(examples/level-2-supply.plenix)
    title='level-2-supply\.plenix'
fi
output=${2:-${1:-docs/screenshot.png}}
[[ $output == --project ]] && output=docs/screenshot-project.png

if [[ -z ${INSIDE_XVFB:-} ]]; then
    exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

"$program" "${project[@]}" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 50); do
    window=$(xdotool search --name "^Plenix - $title\$" 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "the Plenix window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5

if ((${#project[@]})); then
    mkdir -p "$(dirname "$output")"
    import -window "$window" "$output"
    echo "wrote $output"
    exit 0
fi

# One row a line: Item Qty, Flow, Diameter, Length, Description, Loss Coef.
rows=(
    "|1000|12|100||"
    "|||||0.28"
    "||||Supply|"
    "2|||||0.28"
    "||10|20||"
    "|||||1.00"
)
for row in "${rows[@]}"; do
    IFS='|' read -r -a cells <<<"$row"
    for cell in "${cells[@]}"; do
        [[ -n $cell ]] && xdotool type --delay 20 "$cell"
        xdotool key Right
    done
    xdotool key Down Home
done

# The route's description, in the box above the grid; then back to the grid
# and Enter, which calculates and leaves cell (1, 1) current.
xdotool key Tab
xdotool type --delay 20 "Supply air to the east wing: worked example"
xdotool key shift+Tab Return
sleep 0.5

# Then the length of row 5 retyped with a unit: that cell reads doubtful and
# the results from row 5 down are out of date until the next Enter.
xdotool key Down Down Down Down Right Right Right Delete
xdotool type --delay 20 "25FT"
xdotool key Down Down
sleep 0.3

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "wrote $output"
