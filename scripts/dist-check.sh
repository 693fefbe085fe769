#!/usr/bin/env bash
# Builds the package twice, from two clean clones of HEAD in folders of different names and
# depths, the Windows programs only, and fails unless both give the same bytes: the
# programs and the zip. It checks HEAD, the committed tree, not the working tree.
# JOBS: parallel compile jobs of each build (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
head=$(git -C "$root" rev-parse HEAD)
work=$(mktemp -d "${TMPDIR:-/tmp}/tapecount-dist-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
start=$(date +%s)

clones=("$work/a/tapecount" "$work/second/clone/of-tapecount")
for clone in "${clones[@]}"; do
  echo "Building $head in $clone"
  git clone -q --no-checkout "$root" "$clone"
  git -C "$clone" checkout -q --detach "$head"
  if ! make -C "$clone" dist JOBS="${JOBS:-2}" \
      CMAKE_FLAGS="-DTAPECOUNT_WERROR=ON -DTAPECOUNT_TESTS=OFF -DTAPECOUNT_BENCH=OFF" \
      >"$clone.log" 2>&1; then
    tail -n 30 "$clone.log" >&2
    echo "dist-check: the build in $clone failed" >&2
    exit 1
  fi
done

status=0
zip=$(cd "${clones[0]}" && ls build/dist/tapecount-*-win64.zip)
for file in build/win/tapecount.exe build/win/tapecount-1.27.exe "$zip"; do
  one=${clones[0]}/$file
  two=${clones[1]}/$file
  if cmp -s "$one" "$two"; then
    echo "same:    $(sha256sum "$one" | cut -d' ' -f1)  $file"
  else
    echo "DIFFERS: $file; the first differing bytes (offset, octal values):"
    cmp -l "$one" "$two" | head -n 10 || true
    status=1
  fi
done
echo "dist-check: two builds of $head took $(($(date +%s) - start)) s"
exit $status
