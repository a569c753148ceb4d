#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, only those missing. The x86
# tests add what their path needs (scripts/x86-path.sh): the i386 architecture and wine32, or
# QEMU and mmdebstrap for the guest.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 xvfb xauth xdotool x11-apps imagemagick zip unzip
)
case $("$here/x86-path.sh") in
  direct) packages+=(wine32:i386) ;;
  guest) packages+=(qemu-system-x86 mmdebstrap e2fsprogs) ;;
esac
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  # Other apt users (unattended upgrades, a second job) may hold the lock for a while.
  apt=($sudo apt-get -o DPkg::Lock::Timeout=300)
  "${apt[@]}" update -q
  DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
fi
