#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the built program from outside, as a person would: a real X server,
# synthetic keys from xdotool, the real Save As and Open dialogs, the real
# clipboard. Types the worked example route, calculates, saves, clears,
# opens the file again and sends the list to the clipboard; the saved bytes
# must be the worked example's golden file, the clipboard its list. Then the
# program is started with the file named on its command line, and without
# a display.
#
# Usage: e2e.sh path/to/plenix [work-dir [worked-example.expected]]
set -euo pipefail
plenix=$(realpath "$1")
work=${2:-$(mktemp -d)}
golden=$(realpath "${3:-$(dirname "$0")/../data/routes/worked-example.expected}")
mkdir -p "$work"
route="$work/worked example.txt"
rm -f "$route"

fail() { echo "FAIL: $*" >&2; exit 1; }

# With no display the program says how to get one, and fails.
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$plenix" 2>"$work/nodisplay.txt"; then
    fail "started without a display"
fi
grep -q 'xvfb-run' "$work/nodisplay.txt" || fail "no advice without a display"
# Help and version need none, in every spelling.
for option in --help -h --help-all --version -v; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$plenix" "$option" >"$work/help.txt" ||
        fail "$option failed without a display"
    grep -q 'plenix' "$work/help.txt" || fail "$option printed nothing"
done

display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
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
type_text() { xdotool type --delay 30 -- "$1"; }
# With no window manager nothing hands the keyboard back to the main window
# when a dialog closes; a person's click would.
focus_main() { xdotool windowfocus --sync "$main"; sleep 0.2; }
file_dialog() { # title, path: types the path into the file dialog
    local dialog
    dialog=$(wait_for_window "^$1\$")
    xdotool windowfocus --sync "$dialog"; sleep 0.3
    keys ctrl+a; type_text "$2"; keys Return
    wait_for_window '^Plenix - worked example$' >/dev/null
}

# The recent routes go to a settings folder of the run, not the user's.
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$plenix" >"$work/plenix.log" 2>&1 &
app=$!
main=$(wait_for_window '^Plenix - Untitled$')
focus_main

# The grid has the focus, cell (1, 1) current. Row by row, then Enter:
keys Right; type_text 1000; keys Right; type_text 12; keys Right; type_text 100
keys Down Right Right; type_text 0.28
keys Down Left; type_text Supply
keys Down Left Left Left Left; type_text 2; keys Right Right Right Right Right; type_text 0.28
keys Down Left Left Left; type_text 10; keys Right; type_text 20
keys Down Right Right; type_text 1.00
keys Return
sleep 0.3

keys ctrl+s # an untitled route asks for a name
file_dialog 'Save As' "$route"
cmp "$golden" "$route" || fail "the saved file differs from the expected bytes"

focus_main
keys ctrl+n
wait_for_window '^Plenix - Untitled$' >/dev/null
keys ctrl+o
file_dialog 'Open' "$route"
sleep 0.3

# Tools > Send List to Clipboard, by its access keys: the header line, then
# the saved rows without the separator that ends them (no description).
focus_main
keys alt+t; sleep 0.3; keys l; sleep 0.5
T=$'\t'
{
    printf 'Item Qty%sFlow, cfm%sDiameter, in%sLength, ft%sDescription%sLoss Coef.%s' "$T" "$T" "$T" "$T" "$T" "$T"
    printf 'Item SP, in wg%sVP, in wg%sVel., fpm%sRoute SP, in wg\r' "$T" "$T" "$T"
    head -c -1 "$golden"
} >"$work/expected-list.txt"
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
