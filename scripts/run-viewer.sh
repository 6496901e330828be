#!/usr/bin/env bash
# run-viewer.sh EXE PNG — inside a wine session: runs EXE in this terminal; on a
# virtual display, also saves a screenshot of its window to PNG.
set -uo pipefail
exe=$1 png=$2

if [ -n "${PLIMO_VIRTUAL_DISPLAY:-}" ]; then
  echo "No display is set: the viewer's window opens on the virtual display $DISPLAY."
  echo "A screenshot of it will be written to $png."
  (
    window="$(dirname "$0")/graph-window.sh"
    wid=$(bash "$window" wait 10) || exit 0
    sleep 1
    if bash "$window" shot "$wid" "$png"; then
      echo "Screenshot written to $png." >&2
    fi
  ) &
fi

"$(dirname "$exe")/wine-exec" "$exe"
