# Sourced by deps.sh, run.sh and test.sh: what running the 32-bit (i686) programs here needs.
#
# The kernel of our amd64 machines cannot execute 32-bit code. Wine runs a 32-bit
# program of a 64-bit prefix through its 32-bit loader (an i386 ELF file, from
# wine32:i386), and that loader runs under a user-mode i386 emulator that
# binfmt_misc starts for every i386 ELF file.
#
# NOTE: the emulator's version decides the lane's speed. Debian 12's qemu 7.2
# needs about a minute per process start (Wine reserves its address space with
# ~130,000 mmap calls, each slow there); the statically linked qemu-i386 of
# Debian 13's qemu-user (10.x) starts one in well under a second and runs on
# Debian 12. Only that one file is taken out of the package: nothing of
# Debian 13 is installed.

PLIMO_QEMU=/usr/local/libexec/plimo/qemu-i386
PLIMO_QEMU_FALLBACK=/usr/bin/qemu-i386-static
PLIMO_WINE32_LOADER=/usr/lib/wine/wine
binfmt_dir=/proc/sys/fs/binfmt_misc
binfmt_entry=$binfmt_dir/qemu-i386
# An i386 ELF executable or shared object (e_ident class 1, little endian, e_machine 3).
binfmt_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
binfmt_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

win32_say() { echo "win32 lane: $*"; }

# Another apt or dpkg run (unattended upgrades, a second terminal) holds the lock.
wait_for_apt() {
  command -v pgrep >/dev/null || return 0
  for _ in $(seq 1 600); do
    pgrep -x apt-get >/dev/null || pgrep -x dpkg >/dev/null || return 0
    sleep 1
  done
}

# The URI of the machine's own Debian archive (the first entry that is not the security archive).
win32_debian_uri() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i !~ /security/) { print $i; exit } }' "$f"
  done | head -n 1
  grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
    awk '{ for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { if ($i !~ /security/) print $i; break } }'
}

# Debian 13's qemu-i386, taken from the qemu-user package through apt, with a
# private source list and list directory: the system's apt state is not touched.
win32_download_qemu() {
  local uri work deb
  uri=$(win32_debian_uri | head -n 1)
  [ -n "$uri" ] || { win32_say "no Debian archive in the apt sources: cannot download Debian 13's qemu-user"; return 1; }
  work=$(mktemp -d)
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
  printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s trixie main\n' "$uri" >"$work/sources.list"
  local opts=(-q -o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
              -o APT::Sandbox::User=root -o Acquire::Languages=none)
  if apt-get "${opts[@]}" update >"$work/log" 2>&1 &&
     (cd "$work" && apt-get "${opts[@]}" download qemu-user:amd64 >>"$work/log" 2>&1); then
    deb=$(ls "$work"/qemu-user_*.deb 2>/dev/null | head -n 1)
  fi
  if [ -z "${deb:-}" ] || ! dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$work" ./usr/bin/qemu-i386 2>>"$work/log"; then
    win32_say "Debian 13's qemu-user could not be downloaded ($( (grep -m 1 '^[EW]:' "$work/log" || tail -n 1 "$work/log") | cut -c 1-160))"
    rm -rf "$work"; return 1
  fi
  mkdir -p "$(dirname "$PLIMO_QEMU")"
  install -m 755 "$work/usr/bin/qemu-i386" "$PLIMO_QEMU"
  echo "win32 lane: emulator $("$PLIMO_QEMU" --version | head -n 1) from $(basename "$deb") in $PLIMO_QEMU"
  rm -rf "$work"
}

# The emulator binfmt_misc should start: Debian 13's when present, else Debian 12's.
win32_emulator() {
  if [ -x "$PLIMO_QEMU" ]; then echo "$PLIMO_QEMU"; elif [ -x "$PLIMO_QEMU_FALLBACK" ]; then echo "$PLIMO_QEMU_FALLBACK"; fi
}

win32_install_emulator() {
  [ -n "$(win32_emulator)" ] && return 0
  win32_download_qemu && return 0
  wait_for_apt
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static >/dev/null 2>&1; then
    win32_say "falling back to Debian 12's qemu-user-static (7.2): every 32-bit process takes about a minute to start, the lane will be slow"
    return 0
  fi
  win32_say "no i386 emulator could be installed"
  return 1
}

win32_binfmt_ok() {
  local emu=$1
  [ -f "$binfmt_entry" ] && grep -qx enabled "$binfmt_entry" &&
    grep -qx "interpreter $emu" "$binfmt_entry" && grep -q '^flags: .*F' "$binfmt_entry"
}

# The binfmt_misc entry for i386 ELF files, with the F flag: the kernel opens the
# emulator once, at registration, so it also serves programs in other mount namespaces.
win32_register_binfmt() {
  local emu
  emu=$(win32_emulator)
  [ -n "$emu" ] || return 1
  win32_binfmt_ok "$emu" && return 0
  if [ ! -f "$binfmt_dir/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null ||
      { win32_say "binfmt_misc cannot be mounted here: 32-bit programs cannot start"; return 1; }
  fi
  [ -f "$binfmt_entry" ] && echo -1 >"$binfmt_entry" 2>/dev/null
  echo ":qemu-i386:M::$binfmt_magic:$binfmt_mask:$emu:F" >"$binfmt_dir/register" 2>/dev/null ||
    { win32_say "the i386 binfmt_misc entry cannot be registered: 32-bit programs cannot start"; return 1; }
}

win32_install_wine32() {
  local version
  [ -x "$PLIMO_WINE32_LOADER" ] && return 0
  wait_for_apt
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || { win32_say "the i386 architecture cannot be added"; return 1; }
  fi
  # The same Wine as the 64-bit one: the two loaders share one wineserver.
  version=$(dpkg-query -W -f='${Version}' wine64)
  export DEBIAN_FRONTEND=noninteractive
  if ! { apt-get update -q >/dev/null 2>&1 &&
         apt-get install -y -q --no-install-recommends "wine32:i386=$version" >/dev/null 2>&1; }; then
    win32_say "wine32:i386 $version could not be installed"
    return 1
  fi
}

# Whether 32-bit programs run here; if not, one line on the standard output says why.
win32_lane_ready() {
  local emu
  emu=$(win32_emulator)
  if [ -z "$emu" ]; then win32_say "not run: no i386 emulator (scripts/deps.sh installs one)"; return 1; fi
  if ! win32_binfmt_ok "$emu"; then win32_say "not run: i386 programs are not registered with binfmt_misc (scripts/deps.sh does it)"; return 1; fi
  if [ ! -x "$PLIMO_WINE32_LOADER" ]; then win32_say "not run: wine32:i386 is not installed (scripts/deps.sh installs it)"; return 1; fi
  if ! "$PLIMO_WINE32_LOADER" --version >/dev/null 2>&1; then win32_say "not run: Wine's 32-bit loader does not start under $emu"; return 1; fi
  if [ "$emu" = "$PLIMO_QEMU_FALLBACK" ]; then
    win32_say "with Debian 12's qemu 7.2 every 32-bit process takes about a minute to start: the lane will be slow"
  fi
  return 0
}

win32_setup() {
  if [ "$(id -u)" -ne 0 ]; then win32_say "not set up: run scripts/deps.sh as root"; return 1; fi
  win32_install_emulator || return 1
  win32_register_binfmt || return 1
  win32_install_wine32 || return 1
  win32_lane_ready
}

# Inside a wine session of BUILD_DIR (the i686 build): prints how long one 32-bit
# process takes from start to end, median of 5 (the fault probe's plain return:
# the program frame's start and end, nothing else).
win32_start_time() {
  local wine_exec=$1/wine-exec probe=$1/tests/frame/fault_probe.exe t times=()
  local TIMEFORMAT=%R
  for _ in 1 2 3 4 5; do
    t=$( { time "$wine_exec" "$probe" return >/dev/null 2>&1 </dev/null; } 2>&1 )
    times+=("$t")
  done
  win32_say "a 32-bit process starts and ends in $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p) s" \
    "(median of 5: ${times[*]})"
}
