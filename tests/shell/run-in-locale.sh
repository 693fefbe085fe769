#!/usr/bin/env bash
# Runs a Windows test program under Wine in a Unix locale, which gives its ANSI code page:
# run-in-locale.sh <locale> <program> [arguments...]. Exits 77 (skipped) without the locale.
set -euo pipefail
wanted=$1
shift
normalised=$(echo "$wanted" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
if ! locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$normalised"; then
  echo "skipped: the locale $wanted is not installed"
  exit 77
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
LANG=$wanted LC_ALL=$wanted exec "$root/scripts/wine-run" "$@"
