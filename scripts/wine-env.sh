# The Wine environment of one build's Windows programs, for both lanes: sourced
# (POSIX sh) by scripts/wine-session.sh and by each build's wine-exec (made by
# CMake from scripts/wine-exec.in), with plimo_build_dir set to the build's
# absolute folder and plimo_bits to 32 for the i686 build. Defines PLIMO_WINE
# and PLIMO_WINESERVER.

# Each build has its own prefix: a 64-bit one, made by the session's first start.
# NOTE: a prefix made before wine32:i386 was installed cannot start 32-bit
# programs ("could not load kernel32.dll", c0000135); a WINEARCH=win32 prefix
# (every Wine process emulated) hung in services.exe.
WINEPREFIX="${PLIMO_WINEPREFIX:-$plimo_build_dir/wineprefix}"
WINEDEBUG="${WINEDEBUG:--all}"
# NOTE: an empty override of mscoree/mshtml keeps a fresh prefix from opening
# the Mono and Gecko install dialogs, which would wait for ever under Xvfb.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# The loader: wine64 for the x86_64 build (and for the session's own start-up),
# Wine's 32-bit loader (wine32:i386, run by the i386 emulator) for the i686
# build's programs (plimo_bits=32).
# NOTE: wine64 given a 32-bit program does not hand it over: it stays as a
# 64-bit parent process that waits for the 32-bit one, so a signal sent to the
# started process (Ctrl+C as SIGINT) reaches the parent, not the program.
PLIMO_WINE=$(command -v wine64 2>/dev/null || echo /usr/lib/wine/wine64)
if [ "${plimo_bits:-64}" = 32 ]; then
  # PLIMO_WINE32: another command in its place (scripts/win32-exact.sh).
  PLIMO_WINE=${PLIMO_WINE32:-/usr/lib/wine/wine}
fi
PLIMO_WINESERVER=$(command -v wineserver 2>/dev/null || echo /usr/lib/wine/wineserver64)
