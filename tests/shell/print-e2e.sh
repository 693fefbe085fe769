#!/usr/bin/env bash
# Printing end to end: a CUPS PDF printer as the default printer, the program printing
# under Wine, the PDF read back. Exits 77 (skipped) where CUPS cannot be set up.
# Usage: print-e2e.sh <shell tests program>
set -euo pipefail
tests=$1
root=$(cd "$(dirname "$0")/../.." && pwd)

"$root/scripts/pdf-printer.sh" || exit $?
out=$HOME/PDF
# A new PDF, or one written over: each by its checksum.
pdfs() { find "$out" -name '*.pdf' -exec sha256sum {} + 2>/dev/null | sort; }
before=$(pdfs)
TAPECOUNT_PRINT_E2E=1 "$root/scripts/wine-run" "$tests" --gtest_filter='*PrintsTheHistory*'

# The backend writes the PDF a moment after the job: read it until its rows are all there.
# The Japanese header row is drawn in the printer's default font like the rest.
rows=('^ *入力履歴 +合計履歴$' '^ *100 +100$' '^ *-25 +75$' '^ *\*3 +225$')
missing_rows() {
  for row in "${rows[@]}"; do grep -Eq "$row" <<<"$1" || echo "  $row"; done
}
pdf="" text=""
for _ in $(seq 300); do  # 60 seconds at most
  pdf=$(pdfs | comm -13 <(echo "$before") - | head -1 | cut -d' ' -f3-)
  if [ -n "$pdf" ]; then
    text=$(pdftotext -layout "$pdf" - 2>/dev/null || true)
    [ -z "$(missing_rows "$text")" ] && break
  fi
  sleep 0.2
done
[ -n "$pdf" ] || { echo "FAIL: no PDF appeared in $out"; exit 1; }
echo "printed ($pdf):"
echo "$text" | sed -n '1,8p'
missing=$(missing_rows "$text")
[ -z "$missing" ] || { printf 'FAIL: the printed text lacks rows matching\n%s\n' "$missing"; exit 1; }
# One copy, one page: what does not fit is not printed.
pdfinfo "$pdf" | grep -Eq '^Pages: +1$' || { echo "FAIL: not one page"; exit 1; }
echo PASS
