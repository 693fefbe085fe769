#!/usr/bin/env bash
# The program as a user meets it: under Wine on an X display (run it with
# scripts/with-virtual-display.sh), keys typed with xdotool, a screenshot kept.
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

window=""
for _ in $(seq 1 120); do
  window=$(xdotool search --name '「 \+ 」' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break || sleep 0.5
done
[ -n "$window" ] || fail "the main window did not appear"

title() { xdotool getwindowname "$window"; }
[ "$(title)" = "「 + 」: : : " ] || fail "start-up title is '$(title)'"

xdotool windowactivate "$window" >/dev/null 2>&1 || true
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool type --delay 60 100 && xdotool key --delay 60 Return
xdotool type --delay 60 25 && xdotool key --delay 60 minus KP_Multiply
sleep 0.5
[ "$(title)" = "「 * 」: : : " ] || fail "after '*' the title is '$(title)'"
xdotool type --delay 60 3
sleep 0.5
import -window root -crop 400x340+0+0 "$out/screenshot.png"
echo "screenshot: $out/screenshot.png"

xdotool key Control_L
for _ in $(seq 1 40); do kill -0 "$app" 2>/dev/null && sleep 0.25; done
if kill -0 "$app" 2>/dev/null; then fail "the Control key did not end the program"; fi
wait "$app" || fail "the program ended with exit code $?"
rm -rf "$work"
echo "PASS"
