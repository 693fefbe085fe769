#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Usage: scripts/install-deps.sh [native|windows|all]   (default: all)
set -euo pipefail

native=(cmake make g++ googletest libbenchmark-dev clang libclang-rt-14-dev clang-format)
windows=(g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool xclip imagemagick
         fonts-noto-cjk fonts-vlgothic fonts-wine python3 cups printer-driver-cups-pdf
         poppler-utils locales procps)

case "${1:-all}" in
  native) wanted=("${native[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  all) wanted=("${native[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 [native|windows|all]" >&2; exit 2 ;;
esac

# The Japanese locale gives Wine processes the Japanese code page (932) for the tests.
japanese_locale() {
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && return 0
  [ "$(id -u)" -eq 0 ] && [ -f /etc/locale.gen ] || return 0
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
}

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
  [ "${1:-all}" = native ] || japanese_locale
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
[ "${1:-all}" = native ] || japanese_locale
