#!/usr/bin/env bash
# Runs every fuzz target for $1 seconds (default 60), one after another, each with a working
# corpus in build/fuzz/corpus/<target> seeded from tests/fuzz/corpus/<target>. Prints the
# executions and coverage each reached; fails on the first crash (its input is kept).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
# The targets, as tests/fuzz/CMakeLists.txt lists them for the build.
for target in $(cat "$root/build/fuzz/fuzz-targets.txt"); do
  corpus=$root/build/fuzz/corpus/$target
  mkdir -p "$corpus" "$root/build/fuzz/crashes"
  echo "== fuzz_$target for ${seconds}s"
  "$root/build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$root/build/fuzz/crashes/$target-" "$corpus" \
    "$root/tests/fuzz/corpus/$target" 2>&1 |
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss|==|SUMMARY|INFO: Running)' |
    grep -v 'INFO: Running with' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz_$target failed: see build/fuzz/crashes/"; exit 1; }
done
