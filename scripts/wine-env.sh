# Sourced by the scripts that run Windows programs: prepares a private Wine prefix and
# exports WINEPREFIX. $1 chooses the prefix: "null" (headless: the null graphics driver;
# windows, messages, the clipboard and INI files work with no display) or "x11".
# TAPECOUNT_WINEPREFIX overrides the location. A prefix is built afresh when this file
# changes: its ready-marker holds the checksum of the set-up that built it.

_tc_kind=${1:-null}
_tc_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TAPECOUNT_WINEPREFIX:-$_tc_root/build/wine-$_tc_kind}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Without address randomisation: Debian's Wine has no preloader to keep the page of its shared
# data free, and a heap placed at random can take it. Where the system forbids that, Wine is
# started as it is.
if setarch -R true 2>/dev/null; then tc_wine=(setarch -R wine); else tc_wine=(wine); fi

_tc_marker=$WINEPREFIX/.tapecount-ready
_tc_setup="$_tc_kind $(cksum <"${BASH_SOURCE[0]}")"
_tc_ready() { [ "$(cat "$_tc_marker" 2>/dev/null)" = "$_tc_setup" ]; }

_tc_make_prefix() {
  if [ -f "$_tc_marker" ]; then
    # Built by an older set-up: start again rather than patch it.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  "${tc_wine[@]}" wineboot -i >/dev/null 2>&1 || true
  # Debian's Wine looks for its own fonts in /usr/share/fonts, not in /usr/share/wine/fonts
  # where fonts-wine puts them: without this copy the caption buttons draw Marlett's letters.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  else
    echo "wine-env.sh: $marlett is missing (fonts-wine): caption buttons will show letters" >&2
  fi
  local reg="$WINEPREFIX/tapecount.reg"
  # The program's Japanese face names are mapped to the installed CJK fonts, and the
  # Western UI fonts fall back to them, so every Japanese text renders.
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"MS　ゴシック"="Noto Sans CJK JP"\r\n'
    printf '"ＭＳ ゴシック"="Noto Sans CJK JP"\r\n'
    printf '"MS UI Gothic"="Noto Sans CJK JP"\r\n'
    printf '"ＭＳ 明朝"="Noto Serif CJK JP"\r\n'
    printf '"ＭＳ Ｐゴシック"="Noto Sans CJK JP"\r\n'
    # A printer's default font names no face, so Wine takes its default fixed face, Courier
    # New. VL Gothic has the Japanese glyphs, as TrueType outlines the PostScript driver can
    # embed (it cannot embed Noto's CFF ones) and with Unicode glyph names, so a PDF's text
    # reads back.
    printf '"Courier New"="VL Gothic"\r\n'
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" System "Lucida Sans Unicode"; do
      printf '"%s"=hex(7):' "$face"
      printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP\0\0' | iconv -f UTF-8 -t UTF-16LE |
        od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//'
      printf '\r\n'
    done
    # A crashing program ends at once instead of waiting in the debugger.
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\r\n'
    printf '"Auto"="1"\r\n"Debugger"="-"\r\n'
    if [ "$_tc_kind" = null ]; then
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n'
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  "${tc_wine[@]}" regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  echo "$_tc_setup" >"$_tc_marker"
}

if ! _tc_ready; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Parallel test runs may arrive here together: one builds the prefix, the rest wait.
  exec {_tc_lock}>"$WINEPREFIX.lock"
  flock "$_tc_lock"
  _tc_ready || _tc_make_prefix
  flock -u "$_tc_lock"
fi
# A persistent server makes each later start take milliseconds instead of seconds. Wine's
# own services start with the first program: start them here, detached from the caller's
# output, or they would hold a test runner's pipes open for as long as the server lives.
wineserver -p >/dev/null 2>&1 || true
"${tc_wine[@]}" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
