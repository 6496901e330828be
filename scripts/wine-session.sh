#!/usr/bin/env bash
# wine-session.sh BUILD_DIR COMMAND...
# Runs COMMAND with what Windows programs of BUILD_DIR need under Wine:
#  - a display: $DISPLAY if set, else a private Xvfb with a 24-bit screen;
#  - the build's own Wine prefix, made once (the first start takes ~10 s);
#  - one persistent wineserver for the whole session, so each program starts fast.
# Everything this script started is stopped when COMMAND ends; COMMAND's exit code is kept.
set -uo pipefail

plimo_build_dir=$(cd "$1" && pwd); shift
# The i686 build's wine-exec says plimo_bits=32: the session then has the 32-bit
# lane's environment (wine-env.sh), which its tests inherit.
plimo_bits=$(sed -n 's/.*plimo_bits=\([0-9]*\).*/\1/p' "$plimo_build_dir/wine-exec" 2>/dev/null)
. "$(dirname "$0")/wine-env.sh"
wine=$PLIMO_WINE64 wineserver=$PLIMO_WINESERVER

xvfb_pid=""
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 20 num <"$fifo"; then
    echo "wine-session: Xvfb did not start" >&2
    rm -f "$fifo"; exit 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$num"
  export PLIMO_VIRTUAL_DISPLAY=1
fi

# NOTE: a prefix made while Wine's 32-bit side was missing has an empty syswow64,
# and every 32-bit program fails in it with c0000135: such a prefix is made again.
syswow64_kernel32=$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll
if [ "${plimo_bits:-64}" = 32 ] && [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$syswow64_kernel32" ]; then
  echo "wine-session: $WINEPREFIX was made without Wine's 32-bit side (no syswow64\\kernel32.dll): making it again"
  "$wineserver" -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: making the Wine prefix $WINEPREFIX (once)"
  timeout 180 "$wine" wineboot -i >/dev/null 2>&1
  # No crash dialog: an unhandled fault that reaches Wine's debugger must end the process.
  timeout 60 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  timeout 60 "$wineserver" -w
  # NOTE (measured with Wine 8.0 and qemu-i386 10.0): wineboot gives a 64-bit
  # prefix its 32-bit side by starting syswow64\rundll32.exe (wine.inf's
  # Wow64Install) with the 32-bit loader beside its own, /usr/lib/wine/wine:
  # Wine hands each child WINELOADER set to its own loader, so the private
  # root's is never tried. Without wine32 installed wineboot then runs it in
  # its experimental wow64 mode, which dies at once (SIGSEGV), and syswow64
  # stays empty; the root's 32-bit loader cannot start there either (no
  # kernel32.dll, c0000135). So the root's i386 dlls go into syswow64 as the
  # section would put them (the builtin PE files themselves, and the zlib1.dll
  # Debian's user32 imports from the MinGW folder), and the root's loader runs
  # the section for the rest: the 32-bit registry and COM registrations.
  wow64_dlls=$PLIMO_I386_ROOT/usr/lib/i386-linux-gnu/wine/i386-windows
  if [ "${plimo_bits:-64}" = 32 ] && [ ! -f "$syswow64_kernel32" ] && [ -n "${WINEDLLPATH:-}" ] && [ -d "$wow64_dlls" ]; then
    syswow64=$WINEPREFIX/drive_c/windows/syswow64
    cp -r "$wow64_dlls/." "$syswow64/"
    for dll in "$PLIMO_I386_ROOT"/usr/i686-w64-mingw32/lib/*.dll; do
      [ -f "$dll" ] && cp "$dll" "$syswow64/"
    done
    timeout 300 "$PLIMO_WINE" 'C:\windows\syswow64\rundll32.exe' setupapi,InstallHinfSection Wow64Install 128 \
      '\\?\Z:\usr\share\wine\wine.inf' >/dev/null 2>&1 </dev/null ||
      echo "wine-session: the 32-bit side's Wow64Install step failed in $WINEPREFIX" >&2
    timeout 60 "$wineserver" -w
  fi
  if [ "${plimo_bits:-64}" = 32 ] && [ ! -f "$syswow64_kernel32" ]; then
    echo "wine-session: the new prefix has no 32-bit side (no syswow64\\kernel32.dll): 32-bit programs cannot start in it" >&2
    exit 1
  fi
fi

# NOTE: a daemonising wineserver keeps inherited pipes open, so it must not hold
# the caller's output (CTest would wait for it for ever).
"$wineserver" -p >/dev/null 2>&1 </dev/null
# NOTE: the first program of a session starts Wine's background processes
# (services, explorer's desktop, ...), and they inherit its standard handles.
# Start them here with nothing inherited, or they hold a test's pipes open.
timeout 120 "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
# NOTE: Wine closes its desktop a second after the last program left it, and a
# program that starts just then cannot make a window (tests/desktop_anchor.cpp):
# the build's anchor keeps the desktop in use until the wineserver ends. The
# 32-bit build's anchor is a 32-bit program: started by its own loader, as
# wine64 cannot start one (above).
if [ -f "$plimo_build_dir/tests/desktop_anchor.exe" ]; then
  "$PLIMO_WINE" "$plimo_build_dir/tests/desktop_anchor.exe" >/dev/null 2>&1 </dev/null &
fi

"$@"
