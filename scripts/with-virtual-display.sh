#!/usr/bin/env bash
# Runs a command on a virtual X display of its own (Xvfb, 1024x768), for a machine with no
# display: with-virtual-display.sh <command> [arguments...]. Look at it with, for instance,
# `import -window root shot.png` from the command.
set -euo pipefail
ready=$(mktemp -u "${TMPDIR:-/tmp}/xvfb-ready.XXXXXX")
mkfifo "$ready"
# Xvfb takes a free display and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$ready"' EXIT
read -r -t 30 number <"$ready" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$number
echo "on the virtual display $DISPLAY" >&2
"$@"
