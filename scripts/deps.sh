#!/usr/bin/env bash
# Installs what the build, the tests and the viewer need, when missing. Idempotent.
#   bash scripts/deps.sh          both parts below (the test command, run.sh --32)
#   bash scripts/deps.sh --64     the first part only (run.sh for the 64-bit viewer)
#  - amd64 Debian packages: compilers, Wine, Xvfb and the tools the tests use;
#  - for the 32-bit (i686) programs: a user-mode i386 emulator registered with
#    binfmt_misc, and Wine's 32-bit side unpacked into a private root (see
#    scripts/win32-lane.sh); nothing i386 is installed into the system.
# A refused step of the 32-bit part is said in one line and the rest goes on: the
# win64 lane never depends on it. Transient apt errors (a held lock, a mirror in
# its sync) are tried again a few times, then said in one line.
set -euo pipefail
case ${1:-} in
  "") with32=1 ;;
  --64) with32=0 ;;
  *) echo "usage: $0 [--64]" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake ninja-build g++ python3 clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest
  wine wine64 xvfb xauth x11-utils x11-apps xdotool imagemagick tmux
  fonts-wine fonts-liberation
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
# shellcheck source=win32-lane.sh
. "$here/win32-lane.sh"

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages yourself)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  log=$(mktemp)
  # An index that cannot be read is said by the install below, if it matters.
  apt_retry "$log" apt-get update -q || echo "apt-get update: $(apt_error "$log")"
  if ! apt_retry "$log" apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=120 "${missing[@]}"; then
    echo "deps: could not install ${missing[*]}: $(apt_error "$log")" >&2
    rm -f "$log"; exit 1
  fi
  rm -f "$log"
fi

# The 32-bit part: each step says in one line why it was refused, and the script still succeeds.
if ((with32)); then
  win32_ensure || true
fi
