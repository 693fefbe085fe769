#!/usr/bin/env bash
# Runs a command on a virtual X display of its own (Xvfb, 1024x768), for a machine with no
# display: with-virtual-display.sh <command> [arguments...]. Look at it with, for instance,
# `import -window root shot.png` from the command.
set -euo pipefail
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
# Until the display answers (30 seconds at most), or Xvfb has ended.
for _ in $(seq 300); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb ended at start" >&2; exit 1; }
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "the display $display does not answer" >&2; exit 1; }
echo "on the virtual display $display" >&2
"$@"
