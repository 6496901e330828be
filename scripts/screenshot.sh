#!/usr/bin/env bash
# screenshot.sh [BUILD_DIR] [PNG] [PROGRAM] — the README's pictures, made with
# the project's own tooling: builds PROGRAM (plimo or gallery), runs it under
# Wine on a private virtual display (Xvfb) in a terminal of its own (tmux),
# waits until the window shows a whole picture, saves the window's drawing area
# and ends the program with `q`. Defaults: build/win64, docs/plimo.png, plimo;
# the gallery's first page: scripts/screenshot.sh build/win64 docs/gallery.png gallery
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--inside" ]; then
  # Inside the wine session (see below).
  exe=$2 png=$3
  # Pixels (x,y=colour) that show a whole picture: for the viewer the three
  # pillars, a ground line and the help text; for the gallery the boxes of
  # colours 1, 6 and 15.
  case "$(basename "$exe")" in
    gallery.exe) expect="250,100=srgb(0,0,176) 450,220=srgb(176,96,0) 650,470=srgb(255,255,255)" ;;
    *) expect="400,400=srgb(176,0,0) 100,500=srgb(0,0,176) 480,350=srgb(0,128,128) 400,500=srgb(192,192,192) 53,33=srgb(0,176,0)" ;;
  esac
  work=$(mktemp -d)
  sock="plimo-shot-$$"
  finish() {
    tmux -L "$sock" kill-server >/dev/null 2>&1 || true
    rm -rf "$work"
  }
  trap finish EXIT
  tmux -L "$sock" -f /dev/null new-session -d -x 100 -y 30 \
    "$(dirname "$exe")/wine-exec $exe 2>$work/stderr; echo \$? >$work/rc"

  wid=$(bash scripts/graph-window.sh wait 30) || { echo "screenshot: no window titled Graph" >&2; exit 1; }

  # WINE: with no window manager, Wine's X window for a top-level window is
  # its client area alone: the drawing area, 800 x 600.
  size=$(xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  pixel() { /usr/bin/convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
  whole() {
    local check at
    for check in $expect; do
      at=${check%%=*}
      [ "$(pixel "${at%,*}" "${at#*,}")" = "${check#*=}" ] || return 1
    done
  }
  # The viewer's picture is drawn and erased every frame: keep the first shot
  # that shows a whole picture, twice in a row the same.
  previous=""
  for _ in $(seq 1 200); do
    if bash scripts/graph-window.sh shot "$wid" "$work/shot.png" "$size" && whole; then
      current=$(/usr/bin/convert "$work/shot.png" rgb:- | md5sum)
      [ "$current" = "$previous" ] && break
      previous=$current
    else
      previous=""
    fi
    sleep 0.05
  done
  [ -n "$previous" ] && [ "$current" = "$previous" ] || { echo "screenshot: no whole frame seen" >&2; exit 1; }
  mkdir -p "$(dirname "$png")"
  /usr/bin/convert "$work/shot.png" -strip PNG8:"$png"

  tmux -L "$sock" send-keys q
  for _ in $(seq 1 100); do [ -f "$work/rc" ] && break; sleep 0.1; done
  echo "screenshot: $png ($(stat -c %s "$png") bytes; the program ended with exit code $(cat "$work/rc" 2>/dev/null || echo '?'))"
  exit 0
fi

build=${1:-build/win64}
png=${2:-docs/plimo.png}
program=${3:-plimo}
bash scripts/build.sh "$build" "$program"
# Always a private virtual display with a 24-bit screen, whatever $DISPLAY says.
# The session runs elsewhere: a relative PNG path is taken from this folder, an absolute one as it is.
case $png in /*) ;; *) png=$(pwd)/$png ;; esac
exec env -u DISPLAY bash scripts/wine-session.sh "$build" \
  timeout 180 bash scripts/screenshot.sh --inside "$(cd "$build" && pwd)/$program.exe" "$png"
