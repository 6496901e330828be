#!/usr/bin/env bash
# graph-window.sh — the window titled "Graph" on $DISPLAY, for the scripts and
# (through tests/graph_window.py) the tests:
#   graph-window.sh ids                  the windows titled Graph now, one id a line
#   graph-window.sh wait [SECONDS]       waits for one (default 10 s) and prints its id
#   graph-window.sh shot ID|root OUT [WxH]
#                                        a screenshot of the window (or the whole screen):
#                                        xwd read by ImageMagick into OUT (png:FILE, ppm:FILE,
#                                        rgb:- ...), cut to W x H from the top-left corner
# Exit code 1 when there is no such window in time or the screenshot failed.
set -uo pipefail

case "${1:-}" in
  ids)
    xdotool search --name '^Graph$' 2>/dev/null
    exit 0
    ;;
  wait)
    end=$((SECONDS + ${2:-10}))
    while :; do
      wid=$(xdotool search --name '^Graph$' 2>/dev/null | head -n 1)
      [ -n "$wid" ] && { echo "$wid"; exit 0; }
      [ "$SECONDS" -lt "$end" ] || exit 1
      sleep 0.1
    done
    ;;
  shot)
    [ $# -ge 3 ] || { echo "usage: graph-window.sh shot ID|root OUT [WxH]" >&2; exit 2; }
    if [ "$2" = root ]; then from=(-root); else from=(-id "$2"); fi
    crop=()
    [ -n "${4:-}" ] && crop=(-crop "$4+0+0" +repage)
    # ImageMagick's own convert, whatever else is on the PATH.
    xwd -silent "${from[@]}" | /usr/bin/convert xwd:- "${crop[@]}" -depth 8 "$3" 2>/dev/null
    ;;
  *)
    echo "usage: graph-window.sh ids | wait [SECONDS] | shot ID|root OUT [WxH]" >&2
    exit 2
    ;;
esac
