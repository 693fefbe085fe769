#!/usr/bin/env bash
# Each folder builds only on those before it: core/, history/, shell/model/ (portable, no
# Windows headers), then shell/ (Win32). Fails on an include of a later layer, a relative
# include that climbs out of its folder, or a Windows header in portable code.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
check() {  # $1: folder, $2: the folders its quoted includes may name
  local folder=$1 allowed=$2
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      include=$(sed -E 's/^#include[[:space:]]+"([^"]+)".*/\1/' <<<"$line")
      if [[ $include == *..* ]] || { [[ $include == */* ]] && ! grep -qE "^($allowed)/" <<<"$include"; }; then
        echo "$file: includes \"$include\", which $folder/ may not build on" >&2
        status=1
      fi
    done < <(grep -E '^#include[[:space:]]+"' "$file" || true)
    if grep -qiE '^#include[[:space:]]+<(windows|winuser|wingdi|commdlg|commctrl|imm)\.h>' "$file"; then
      echo "$file: portable code includes a Windows header" >&2
      status=1
    fi
  done < <(find "$folder" -maxdepth 1 -name '*.h' -print0 -o -maxdepth 1 -name '*.cpp' -print0)
}
check core 'core'
check history 'core|history'
check shell/model 'core|history|shell/model'
[ $status -eq 0 ] && echo "layers: core/ -> history/ -> shell/model/ -> shell/"
exit $status
