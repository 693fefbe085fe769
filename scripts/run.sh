#!/usr/bin/env bash
# Starts the program under Wine on the user's display. $1: the release, 1.34 (default) or
# 1.27. The program keeps its settings file in its current directory, build/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-1.34}" in
  1.34) exe=$root/build/win/tapecount.exe ;;
  1.27) exe=$root/build/win/tapecount-1.27.exe ;;
  *) echo "unknown release '$1': 1.34 or 1.27" >&2; exit 2 ;;
esac
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'HELP'
No display: DISPLAY is not set. To run the program on a virtual display:
    scripts/with-virtual-display.sh make run
and look at it with, for instance, `import -window root shot.png` run with the same DISPLAY.
HELP
  exit 1
fi
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh" x11
mkdir -p "$root/build/run"
cd "$root/build/run"
echo "Starting $exe (settings in $PWD)"
exec "${tc_wine[@]}" "$exe"
