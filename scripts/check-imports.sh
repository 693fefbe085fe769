#!/usr/bin/env bash
# Fails when a program imports a DLL that is not part of Windows.
set -euo pipefail
status=0
for exe in "$@"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
  [ -n "$dlls" ] || { echo "$exe: no imports found" >&2; status=1; }
  for dll in $dlls; do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|comdlg32.dll|comctl32.dll|imm32.dll|msvcrt.dll|\
      advapi32.dll|shell32.dll|winspool.drv|ucrtbase.dll|api-ms-win-*.dll) ;;
      *) echo "$exe imports $dll, which is not a Windows system DLL" >&2; status=1 ;;
    esac
  done
  echo "$exe: $(echo $dlls)"
done
exit $status
