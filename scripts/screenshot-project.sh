#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot-project.png: starts Plenix in a virtual X server with
# the example project and photographs the window with the route list and
# the system's figures.
# Needs a built program: ./scripts/run.sh builds it, and PLENIX=path/to/plenix
# takes another.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${PLENIX:-./build/release/src/app/plenix}
output=${1:-docs/screenshot-project.png}

if [[ -z ${INSIDE_XVFB:-} ]]; then
    exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

"$program" examples/level-2-supply.plenix &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 50); do
    window=$(xdotool search --name '^Plenix - level-2-supply.plenix$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "the Plenix window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "wrote $output"
