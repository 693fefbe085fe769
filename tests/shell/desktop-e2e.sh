#!/usr/bin/env bash
# The program as a user meets it: under Wine on an X display (run it with
# scripts/with-virtual-display.sh), keys typed with xdotool, the tape read back from the
# clipboard, a screenshot kept.
# Usage: desktop-e2e.sh <program.exe> <output directory>
set -euo pipefail
program=$1 out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"

# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh" x11
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT  # its desktop belongs to this display

work=$(mktemp -d)
(cd "$work" && exec "${tc_wine[@]}" "$program") &
app=$!

fail() { echo "FAIL: $*" >&2; import -window root "$out/failure.png" || true; exit 1; }
# Until the command succeeds; 30 seconds at most.
await() { for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done; return 1; }
title() { xdotool getwindowname "$window"; }
titled() { [ "$(title)" = "$1" ]; }

await xdotool search --name '「 \+ 」' >/dev/null 2>&1 || fail "the main window did not appear"
window=$(xdotool search --name '「 \+ 」' | head -1)

xdotool windowactivate "$window" >/dev/null 2>&1 || true
xdotool windowfocus --sync "$window"
# Once F1 (auto-expand) shows in the title, keys reach the program.
xdotool key F1
await titled "「 + 」: 自動拡張: : " || fail "F1 gave the title '$(title)'"
xdotool type --delay 60 100 && xdotool key --delay 60 Return
xdotool type --delay 60 25 && xdotool key --delay 60 minus KP_Multiply
await titled "「 * 」: 自動拡張: : " || fail "after '*' the title is '$(title)'"
xdotool type --delay 60 3 && xdotool key Return
await titled "「 + 」: 自動拡張: : " || fail "after Enter the title is '$(title)'"
import -window root -crop 400x340+0+0 "$out/screenshot.png"
echo "screenshot: $out/screenshot.png"

# Delete puts the tape on the clipboard, which Wine offers to X: the digits typed went in.
tape=$(printf '入力履歴\t合計履歴\n100\t100\n-25\t75\n*3\t225')
clipboard() { xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null | tr -d '\r'; }
xdotool key Delete
await test "$(clipboard)" = "$tape" || fail "the clipboard holds '$(clipboard)'"

xdotool key Control_L
await eval '! kill -0 "$app" 2>/dev/null' || fail "the Control key did not end the program"
wait "$app" || fail "the program ended with exit code $?"
rm -rf "$work"
echo "PASS"
