#!/usr/bin/env bash
# ctest.sh PRESET [ctest args...] — any test or set of tests of one lane's build.
#   bash scripts/ctest.sh native -R frame_logic
#   bash scripts/ctest.sh win64 -L graph -LE display
#   bash scripts/ctest.sh win32 -R '^console\.' --output-on-failure
#   bash scripts/ctest.sh win32-exact -R frame.faults
#   bash scripts/ctest.sh fuzz -L fuzz
# PRESET is native, fuzz, win64, win32 or win32-exact (the win32 build's tests on
# the patched emulator, once scripts/win32-exact.sh has built it). The Windows
# builds' tests run inside a Wine session (scripts/wine-session.sh: display,
# prefix, wineserver), the win32 ones with the 32-bit lane's environment
# (scripts/wine-env.sh). Builds nothing: scripts/build.sh PRESET (or scripts/test.sh)
# builds. Labels: a library (frame, console, graph, viewer) or a need (display,
# terminal, e2e, fuzz); `ctest --print-labels --preset PRESET` lists them.
set -uo pipefail
cd "$(dirname "$0")/.."

preset=${1:-}
(($#)) && shift
case $preset in
  native|fuzz|win64|win32|win32-exact) ;;
  *) echo "usage: $0 native|fuzz|win64|win32|win32-exact [ctest args...]" >&2; exit 2 ;;
esac
build=build/${preset%-exact}
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "ctest.sh: $build is not built: bash scripts/build.sh ${preset%-exact}" >&2
  exit 1
fi

case $preset in
  native|fuzz)
    exec ctest --preset "$preset" "$@"
    ;;
  win64)
    exec bash scripts/wine-session.sh "$build" ctest --preset win64 "$@"
    ;;
  win32|win32-exact)
    . scripts/win32-lane.sh
    win32_lane_ready || exit 1
    if [ "$preset" = win32-exact ]; then
      [ -x build/qemu-exact/wine32 ] ||
        { echo "ctest.sh: the patched emulator is not built: bash scripts/test.sh win32-exact" >&2; exit 1; }
      export PLIMO_WINE32=$PWD/build/qemu-exact/wine32 PLIMO_EXACT_EMULATOR=1
    fi
    exec bash scripts/wine-session.sh "$build" ctest --preset win32 "$@"
    ;;
esac
