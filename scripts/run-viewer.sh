#!/usr/bin/env bash
# run-viewer.sh EXE PNG — inside a wine session: runs EXE in this terminal; on a
# virtual display, also saves a screenshot of its window to PNG.
set -uo pipefail
exe=$1 png=$2

if [ -n "${PLIMO_VIRTUAL_DISPLAY:-}" ]; then
  echo "No display is set: the viewer's window opens on the virtual display $DISPLAY."
  echo "A screenshot of it will be written to $png."
  (
    for _ in $(seq 1 100); do
      wid=$(xdotool search --name '^Graph$' 2>/dev/null | head -n 1)
      [ -n "$wid" ] && break
      sleep 0.1
    done
    sleep 1
    if [ -n "${wid:-}" ] && xwd -silent -id "$wid" | /usr/bin/convert xwd:- "$png" 2>/dev/null; then
      echo "Screenshot written to $png." >&2
    fi
  ) &
fi

"$(dirname "$exe")/wine-exec" "$exe"
