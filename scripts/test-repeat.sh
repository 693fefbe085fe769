#!/usr/bin/env bash
# The Wine tests of both releases, in both code pages, run again and again: $1 runs in a row
# (default 20), stopping at the first run with a failure and naming it. A test that fails
# once is a fault to find, in the test or the program: nothing here retries a test.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
log=build/win/test-repeat.log
for run in $(seq 1 "$runs"); do
  start=$(date +%s)
  if ! ctest --preset windows -L 'wine|japanese' -j "${JOBS:-2}" >"$log" 2>&1; then
    grep -E '\*\*\*|Failed|Timeout|wine-run:' "$log" | head -40
    echo "run $run of $runs failed: $log"
    exit 1
  fi
  echo "run $run of $runs: $(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log"), $(($(date +%s) - start)) s"
done
echo "the Wine tests passed $runs runs in a row"
