# The Wine environment of one build's Windows programs, for both lanes: sourced
# (POSIX sh) by scripts/wine-session.sh and by each build's wine-exec (made by
# CMake from scripts/wine-exec.in), with plimo_build_dir set to the build's
# absolute folder and plimo_bits to 32 for the i686 build. Defines PLIMO_WINE,
# PLIMO_WINE64 and PLIMO_WINESERVER.

# Each build has its own prefix: a 64-bit one, made by the session's first start.
# NOTE: a prefix made before Wine's 32-bit side was there cannot start 32-bit
# programs ("could not load kernel32.dll", c0000135; its syswow64 is empty:
# scripts/wine-session.sh makes such a prefix again); a WINEARCH=win32 prefix
# (every Wine process emulated) hung in services.exe.
WINEPREFIX="${PLIMO_WINEPREFIX:-$plimo_build_dir/wineprefix}"
WINEDEBUG="${WINEDEBUG:--all}"
# NOTE: an empty override of mscoree/mshtml keeps a fresh prefix from opening
# the Mono and Gecko install dialogs, which would wait for ever under Xvfb.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# The loader: wine64 for the x86_64 build and for each session's own start-up
# (PLIMO_WINE64); for the i686 build's programs (plimo_bits=32) Wine's 32-bit
# loader, run by the i386 emulator: the system's where wine32:i386 is installed,
# else the one in the private root PLIMO_I386_ROOT (scripts/win32-lane.sh makes it).
# NOTE: wine64 given a 32-bit program does not hand it over: it stays as a
# 64-bit parent process that waits for the 32-bit one, so a signal sent to the
# started process (Ctrl+C as SIGINT) reaches the parent, not the program.
PLIMO_WINE64=$(command -v wine64 2>/dev/null || echo /usr/lib/wine/wine64)
PLIMO_WINE=$PLIMO_WINE64
PLIMO_I386_ROOT="${PLIMO_I386_ROOT:-/usr/local/lib/plimo/i386-root}"
if [ "${plimo_bits:-64}" = 32 ]; then
  plimo_wine32=/usr/lib/wine/wine
  if [ ! -x "$plimo_wine32" ]; then
    plimo_wine32=$PLIMO_I386_ROOT/usr/lib/wine/wine
    # NOTE (measured with Wine 8.0 and qemu-i386 10.0): the emulator looks up
    # every absolute path a 32-bit process opens in QEMU_LD_PREFIX first, so the
    # 32-bit loader finds its ld.so, libraries, i386-unix and i386-windows in the
    # root. It needs no file at a system path: a 32-bit process starts another
    # with the loader beside its own (the root's, an i386 ELF file that
    # binfmt_misc hands to the emulator, which inherits QEMU_LD_PREFIX), and a
    # 64-bit one with that name and "64" (the root's wine64 leads to the
    # system's). A 64-bit process cannot start a 32-bit one (it looks for
    # /usr/lib/wine/wine only), so a new prefix gets its 32-bit side from
    # scripts/wine-session.sh, from the root's i386-windows (WINEDLLPATH says
    # where). Both loaders talk to the system's 64-bit wineserver (same Wine
    # version, same protocol).
    QEMU_LD_PREFIX=$PLIMO_I386_ROOT
    WINELOADER=$plimo_wine32
    WINEDLLPATH=$PLIMO_I386_ROOT/usr/lib/i386-linux-gnu/wine
    export QEMU_LD_PREFIX WINELOADER WINEDLLPATH
  fi
  # PLIMO_WINE32: another command in its place (scripts/win32-exact.sh).
  PLIMO_WINE=${PLIMO_WINE32:-$plimo_wine32}
fi
PLIMO_WINESERVER=$(command -v wineserver 2>/dev/null || echo /usr/lib/wine/wineserver64)
