#!/usr/bin/env bash
# Drives the built program from outside, as a person would: a real X server,
# synthetic keys from xdotool, the real Save As and Open dialogs, the real
# clipboard. Types the worked example route, calculates, saves, clears,
# opens the file again, sends the list to the clipboard, and checks the saved
# bytes and the clipboard text exactly. The expected bytes are the golden
# file of the worked example, which the core's golden test checks as well.
# Last, the program is started with the file named on its command line.
#
# Usage: e2e.sh path/to/plenix [work-dir [worked-example.expected]]
set -euo pipefail
plenix=$(realpath "$1")
work=${2:-$(mktemp -d)}
golden=$(realpath "${3:-$(dirname "$0")/../data/routes/worked-example.expected}")
mkdir -p "$work"
route="$work/worked example.txt"
rm -f "$route"

display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    return 0
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

fail() { echo "FAIL: $*" >&2; exit 1; }

wait_for_window() { # name-regex -> window id
    local id
    for _ in $(seq 400); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.05
    done
    fail "no window named '$1' appeared"
}

keys() { xdotool key --delay 30 "$@"; }
# With no window manager nothing hands the keyboard back to the main window
# when a dialog closes; a person's click would.
focus_main() { xdotool windowfocus --sync "$main"; sleep 0.2; }
type_text() { xdotool type --delay 30 -- "$1"; }

QT_QPA_PLATFORM=xcb "$plenix" >"$work/plenix.log" 2>&1 &
app=$!
main=$(wait_for_window '^Plenix - Untitled$')
focus_main

# The grid has the focus, cell (1, 1) current. Row by row:
keys Right; type_text 1000; keys Right; type_text 12; keys Right; type_text 100
keys Down Right Right; type_text 0.28
keys Down Left; type_text Supply
keys Down Left Left Left Left; type_text 2; keys Right Right Right Right Right; type_text 0.28
keys Down Left Left Left; type_text 10; keys Right; type_text 20
keys Down Right Right; type_text 1.00
keys Return
sleep 0.3

# Save: an untitled route asks for a name in the Save As dialog.
keys ctrl+s
dialog=$(wait_for_window '^Save As$')
xdotool windowfocus --sync "$dialog"; sleep 0.3
keys ctrl+a; type_text "$route"; keys Return
wait_for_window '^Plenix - worked example$' >/dev/null
[[ -f $route ]] || fail "Save As wrote no file"

cmp "$golden" "$route" || fail "the saved file differs from the expected bytes"

# New clears everything; Open brings the route back.
focus_main
keys ctrl+n
wait_for_window '^Plenix - Untitled$' >/dev/null
keys ctrl+o
dialog=$(wait_for_window '^Open$')
xdotool windowfocus --sync "$dialog"; sleep 0.3
keys ctrl+a; type_text "$route"; keys Return
wait_for_window '^Plenix - worked example$' >/dev/null
sleep 0.3

# Tools > Send List to Clipboard, by its access keys.
focus_main
keys alt+t
sleep 0.3
keys l
sleep 0.5
T=$'\t'; CR=$'\r'
header="Item Qty${T}Flow, cfm${T}Diameter, in${T}Length, ft${T}Description${T}Loss Coef.${T}"
header+="Item SP, in wg${T}VP, in wg${T}Vel., fpm${T}Route SP, in wg${CR}"
# The list is the saved rows without the separator that ends them (the route
# has no description).
{ printf '%s' "$header"; head -c -1 "$golden"; } >"$work/expected-list.txt"
xclip -o -selection clipboard >"$work/clipboard.txt" || fail "nothing on the clipboard"
cmp "$work/expected-list.txt" "$work/clipboard.txt" || fail "the clipboard list differs"

import -window root "$work/screen.png"
deviation=$(convert "$work/screen.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }' || fail "the screenshot is blank ($deviation)"

# `plenix FILE` opens the route at start, as File > Open would.
kill "$app"; wait "$app" 2>/dev/null || true
QT_QPA_PLATFORM=xcb "$plenix" "$route" >>"$work/plenix.log" 2>&1 &
app=$!
wait_for_window '^Plenix - worked example$' >/dev/null

echo "e2e: 1 passed, 0 failed"
