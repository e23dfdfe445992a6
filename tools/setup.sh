#!/usr/bin/env bash
# tools/setup.sh [--quiet-probe]
# Installs what the build and the tests need on Debian 12 (amd64 with i386 multiarch).
# Idempotent: when every package is there it only checks and returns. Then says whether Wine can
# start here (tools/wine/probe), unless --quiet-probe: its caller says it itself.
set -euo pipefail
quiet_probe=no
[ "${1:-}" = --quiet-probe ] && quiet_probe=yes
packages=(
  cmake ninja-build g++ make python3 googletest zlib1g-dev clang libclang-rt-14-dev
  g++-mingw-w64-i686 libz-mingw-w64-dev binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-apps imagemagick
  nasm qemu-system-x86 dosfstools mtools
  fonts-arphic-uming locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# Wine takes the system language from the locale; the Chinese tests need these two generated.
for loc in zh_TW.UTF-8 zh_CN.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${loc/UTF-8/utf8}"; then
    $sudo sed -i "s/^# *\\(${loc} UTF-8\\)/\\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
done
# The build needs no Wine: a machine where it cannot start still builds everything.
[ "$quiet_probe" = yes ] || "$(dirname "$0")/wine/probe" || true
