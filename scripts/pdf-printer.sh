#!/usr/bin/env bash
# Makes a CUPS PDF printer the default printer, so what the program prints under Wine lands
# in ~/PDF as a PDF (as root: it starts the CUPS scheduler). Exits 77 where it cannot.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: starting the CUPS scheduler needs root"
  exit 77
fi
command -v cupsd >/dev/null && [ -e /usr/lib/cups/backend/cups-pdf ] ||
  { echo "skipped: cups or cups-pdf is not installed"; exit 77; }
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd
  for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.2; done
fi
lpstat -p PDF >/dev/null 2>&1 ||
  lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd -E 2>/dev/null
lpoptions -d PDF >/dev/null
mkdir -p "$HOME/PDF"
