#!/usr/bin/env bash
# build.sh PRESET|BUILD_DIR [TARGET...] — configures (when needed) and builds one
# build: the one way the run, test, release, fuzz and screenshot scripts build.
#   PRESET      win64, win32, native or fuzz: build/PRESET from CMakePresets.json
#   BUILD_DIR   a folder; configured, when it has no cache yet, with the preset
#               its name matches (win64 otherwise)
# TARGETs: only these (default: everything). Quiet configure; the build's own
# output stays, as a failing compile must be seen.
set -euo pipefail
cd "$(dirname "$0")/.."

where=${1:?usage: build.sh PRESET|BUILD_DIR [TARGET...]}; shift
targets=()
(($#)) && targets=(--target "$@")
jobs=$(nproc)

case $where in
  win64|win32|native|fuzz)
    cmake --preset "$where" >/dev/null
    exec cmake --build --preset "$where" -j "$jobs" "${targets[@]}"
    ;;
esac
if [ ! -f "$where/CMakeCache.txt" ]; then
  preset=$(basename "$where")
  case $preset in win64|win32|native|fuzz) ;; *) preset=win64 ;; esac
  cmake --preset "$preset" -B "$where" >/dev/null
fi
exec cmake --build "$where" -j "$jobs" "${targets[@]}"
