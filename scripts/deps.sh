#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need, when missing.
# amd64 packages only: adding the i386 architecture (for wine32) breaks /usr/bin/wine.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest
  wine wine64 xvfb xauth x11-utils x11-apps xdotool imagemagick tmux
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages yourself)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
