#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts the viewer in
# this terminal, which becomes its console. Without a display the window opens
# on a virtual one and a screenshot of it is written to build/plimo-window.png.
#   bash scripts/run.sh          the x86_64 build
#   bash scripts/run.sh --32     the i686 build (under the i386 emulator here)
set -euo pipefail
cd "$(dirname "$0")/.."

# The 64-bit viewer needs none of the 32-bit set-up (the emulator, Wine's
# 32-bit side in its private root): only --32 asks deps.sh for it.
preset=win64 deps=--64
case ${1:-} in
  "") ;;
  --32) preset=win32 deps= ;;
  *) echo "usage: $0 [--32]" >&2; exit 2 ;;
esac

bash scripts/deps.sh $deps
if [ "$preset" = win32 ]; then
  . scripts/win32-lane.sh
  win32_lane_ready || exit 1
fi
bash scripts/build.sh "$preset" plimo

exec bash scripts/wine-session.sh "build/$preset" \
  bash scripts/run-viewer.sh "build/$preset/plimo.exe" build/plimo-window.png
