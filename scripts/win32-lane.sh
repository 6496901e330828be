# Sourced by deps.sh, run.sh, test.sh, ctest.sh and win32-exact.sh: what running the
# 32-bit (i686) programs here needs, and the rule both 32-bit lanes apply to a run.
#
# The kernel of our amd64 machines cannot execute 32-bit code. Wine runs a 32-bit
# program of a 64-bit prefix through its 32-bit loader (an i386 ELF file, from
# wine32:i386), and that loader runs under a user-mode i386 emulator that
# binfmt_misc starts for every i386 ELF file.
#
# Wine's 32-bit side (wine32:i386, libwine:i386 and their i386 dependencies) is
# never installed into the system: apt downloads it with a private state (its own
# source list, lists, cache and an empty dpkg status, architecture i386) and the
# packages are unpacked into a private root, PLIMO_I386_ROOT, which the emulator
# takes as its library prefix (QEMU_LD_PREFIX; scripts/wine-env.sh sets it). The
# system's dpkg, its architectures and its packages stay as they are. Where
# wine32:i386 is installed in the system (/usr/lib/wine/wine), that one is used.
#
# NOTE: the emulator's version decides the lane's speed. Debian 12's qemu 7.2
# needs about a minute per process start (Wine reserves its address space with
# ~130,000 mmap calls, each slow there); the statically linked qemu-i386 of
# Debian 13's qemu-user (10.x) starts one in well under a second and runs on
# Debian 12. Only that one file is taken out of the package: nothing of
# Debian 13 is installed.

PLIMO_QEMU=/usr/local/libexec/plimo/qemu-i386
PLIMO_QEMU_FALLBACK=/usr/bin/qemu-i386-static
# The same default as scripts/wine-env.sh.
PLIMO_I386_ROOT=${PLIMO_I386_ROOT:-/usr/local/lib/plimo/i386-root}
# Raise when what goes into the root or how it is made changes: the root is made again.
win32_root_recipe=1
binfmt_dir=/proc/sys/fs/binfmt_misc
binfmt_entry=$binfmt_dir/qemu-i386
# An i386 ELF executable or shared object (e_ident class 1, little endian, e_machine 3).
binfmt_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
binfmt_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# Each message also becomes win32_reason: the last one says why the lane cannot run.
win32_reason=""
win32_say() { win32_reason=$*; echo "win32 lane: $*"; }

# Another apt or dpkg run (unattended upgrades, a second terminal) holds the lock.
wait_for_apt() {
  command -v pgrep >/dev/null || return 0
  for _ in $(seq 1 600); do
    pgrep -x apt-get >/dev/null || pgrep -x dpkg >/dev/null || return 0
    sleep 1
  done
}

# Errors of apt that go away by themselves: a lock held by another apt or dpkg,
# a mirror in the middle of its sync, a network hiccup.
apt_transient='Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock|Mirror sync in progress|File has unexpected size|Hash Sum mismatch|Temporary failure resolving|Could not connect|Connection timed out|Connection failed'
PLIMO_APT_TRIES=${PLIMO_APT_TRIES:-4}
PLIMO_APT_PAUSE=${PLIMO_APT_PAUSE:-5}

# apt_retry LOG COMMAND...: runs COMMAND (an apt-get call) with its output in LOG;
# one that failed with a transient error runs again, up to PLIMO_APT_TRIES times
# with PLIMO_APT_PAUSE seconds between. Ends with COMMAND's exit code.
apt_retry() {
  local log=$1 try rc; shift
  for ((try = 1; ; try++)); do
    wait_for_apt
    "$@" >"$log" 2>&1
    rc=$?
    ((rc == 0)) && return 0
    ((try < PLIMO_APT_TRIES)) && grep -Eq "$apt_transient" "$log" || return "$rc"
    sleep "$PLIMO_APT_PAUSE"
  done
}

# apt_error LOG: the first error line of an apt log, in one line.
apt_error() {
  { grep -m 1 -E "^(E|Err):.*($apt_transient)" "$1" || grep -m 1 '^E:' "$1" || grep -m 1 '^Err' "$1" ||
    tail -n 1 "$1"; } 2>/dev/null | tr -s ' \t' ' ' | cut -c 1-200
}

# win32_archive_uri [security]: the URI of the machine's own Debian archive (the
# first entry that is not the security archive), or with "security" that of
# its security archive (empty when it has none).
win32_archive_uri() {
  local f want=${1:-}
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v want="$want" '/^URIs:/ { for (i = 2; i <= NF; i++) if (($i ~ /security/) == (want == "security")) { print $i; exit } }' "$f"
  done | head -n 1
  grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
    awk -v want="$want" '{ for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { if (($i ~ /security/) == (want == "security")) print $i; break } }'
}
win32_debian_uri() { win32_archive_uri; }
win32_security_uri() { win32_archive_uri security; }

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

# Wine's 32-bit loader: the system's (wine32:i386 installed) or the private root's;
# empty when there is neither. The same rule as scripts/wine-env.sh.
win32_loader() {
  if [ -x /usr/lib/wine/wine ]; then
    echo /usr/lib/wine/wine
  elif [ -f "$PLIMO_I386_ROOT/.plimo-root" ] && [ -x "$PLIMO_I386_ROOT/usr/lib/wine/wine" ]; then
    echo "$PLIMO_I386_ROOT/usr/lib/wine/wine"
  fi
}

# What the private root is made of: the stamp it carries (.plimo-root).
win32_root_key() {
  echo "wine32:i386 libwine:i386 $(dpkg-query -W -f='${Version}' wine64 2>/dev/null) recipe $win32_root_recipe"
}

# Makes PLIMO_I386_ROOT unless it holds what win32_root_key names: wine32:i386 and
# libwine:i386 at the installed wine64's version with their dependency closure,
# downloaded with a private apt state and unpacked (dpkg-deb -x, no maintainer
# scripts). The suites: this system's release (PLIMO_I386_SUITE overrides), its
# -updates and -security; only the release's main i386 index must be readable.
win32_make_root() {
  local root=$PLIMO_I386_ROOT version key suite uri sec work rc t0=$SECONDS debs count
  version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null)
  [ -n "$version" ] || { win32_say "not set up: wine64 is not installed"; return 1; }
  key=$(win32_root_key)
  [ "$(cat "$root/.plimo-root" 2>/dev/null)" = "$key" ] && return 0
  mkdir -p "$(dirname "$root")"
  # One maker at a time (two test runs at once); the second finds the root made.
  exec 8>"$(dirname "$root")/.i386-root.lock"
  flock 8
  if [ "$(cat "$root/.plimo-root" 2>/dev/null)" = "$key" ]; then exec 8>&-; return 0; fi
  suite=${PLIMO_I386_SUITE:-$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")}
  uri=$(win32_debian_uri | head -n 1)
  sec=$(win32_security_uri | head -n 1)
  if [ -z "$uri" ]; then win32_say "not set up: no Debian archive in the apt sources"; exec 8>&-; return 1; fi
  echo "win32 lane: downloading Wine's 32-bit side ($version, i386, $suite) into $root (once)"
  work=$(mktemp -d "$(dirname "$root")/.i386-root.XXXXXX")
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/state" "$work/root"
  : >"$work/status"
  {
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite-updates main"
    [ -n "$sec" ] && echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $sec $suite-security main"
  } >"$work/sources.list"
  local apt=(apt-get -q -o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::Etc::Preferences=/dev/null -o Dir::Etc::PreferencesParts=/dev/null
             -o "Dir::State=$work/state" -o "Dir::State::Lists=$work/lists" -o "Dir::State::status=$work/status"
             -o "Dir::Cache=$work/cache" -o APT::Architecture=i386 -o APT::Architectures=i386
             -o APT::Sandbox::User=root -o Acquire::Languages=none)
  # NOTE: the mirror's bookworm-security i386 index was unreadable for days ("File
  # has unexpected size ... Mirror sync in progress?") while bookworm main's read
  # fine. Within the private root every package is i386, so the older versions of
  # the main index resolve as well: an unreadable -updates or -security index is
  # said in one line and the root is made from what could be read.
  apt_retry "$work/update.log" "${apt[@]}" update
  if ! ls "$work/lists/"*"_dists_${suite}_main_binary-i386_Packages"* >/dev/null 2>&1; then
    win32_say "not set up: the i386 index of $suite main could not be read from $uri ($(apt_error "$work/update.log"))"
    rm -rf "$work"; exec 8>&-; return 1
  fi
  grep -q '^E:' "$work/update.log" &&
    echo "win32 lane: some i386 indexes could not be read, the root is made from the others ($(apt_error "$work/update.log"))"
  if ! (cd "$work" && apt_retry "$work/download.log" "${apt[@]}" install -y --download-only \
          --no-install-recommends -o APT::Install-Suggests=0 "wine32=$version" "libwine=$version"); then
    win32_say "not set up: wine32:i386 $version and its dependencies could not be downloaded ($(apt_error "$work/download.log"))"
    rm -rf "$work"; exec 8>&-; return 1
  fi
  debs=("$work"/cache/archives/*.deb)
  for rc in "${debs[@]}"; do
    dpkg-deb -x "$rc" "$work/root" || { win32_say "not set up: $(basename "$rc") could not be unpacked"; rm -rf "$work"; exec 8>&-; return 1; }
  done
  # NOTE: the i386 dynamic loader reads /etc/ld.so.cache through the emulator's
  # prefix; without one in the root it reads the host's amd64 cache, finds no i386
  # entry, and dlopen("libfreetype.so.6") fails ("Wine cannot find the FreeType
  # font library"). The root's own cache, made by the host's ldconfig, mends it.
  [ -f "$work/root/etc/ld.so.conf" ] || echo 'include /etc/ld.so.conf.d/*.conf' >"$work/root/etc/ld.so.conf"
  ldconfig -r "$work/root" 2>>"$work/download.log"
  # NOTE: a 32-bit Wine process starts a 64-bit one (conhost.exe, a 64-bit
  # program) through its loader's name with "64" added: the root's
  # usr/lib/wine/wine64 leads to the system's 64-bit loader.
  ln -sfn /usr/lib/wine/wine64 "$work/root/usr/lib/wine/wine64"
  count=${#debs[@]}
  printf '%s\n' "${debs[@]##*/}" >"$work/root/.plimo-packages"
  echo "$key" >"$work/root/.plimo-root"
  rm -rf "$root"
  mv "$work/root" "$root"
  rm -rf "$work"
  exec 8>&-
  echo "win32 lane: Wine's 32-bit side in $root: $count packages, $(du -sm "$root" | cut -f 1) MB, made in $((SECONDS - t0)) s"
}

# Whether 32-bit programs run here; if not, one line on the standard output says why.
win32_lane_ready() {
  local emu
  emu=$(win32_emulator)
  if [ -z "$emu" ]; then win32_say "not run: no i386 emulator (scripts/deps.sh installs one)"; return 1; fi
  if ! win32_binfmt_ok "$emu"; then win32_say "not run: i386 programs are not registered with binfmt_misc (scripts/deps.sh does it)"; return 1; fi
  local loader
  loader=$(win32_loader)
  if [ -z "$loader" ]; then win32_say "not run: Wine's 32-bit side is neither installed nor in $PLIMO_I386_ROOT (scripts/deps.sh makes it)"; return 1; fi
  if [ "$loader" = /usr/lib/wine/wine ]; then
    "$loader" --version >/dev/null 2>&1 || { win32_say "not run: Wine's 32-bit loader $loader does not start under $emu"; return 1; }
  else
    if [ "$(cat "$PLIMO_I386_ROOT/.plimo-root")" != "$(win32_root_key)" ]; then
      win32_say "not run: $PLIMO_I386_ROOT is not of the installed wine64's version (scripts/deps.sh makes it again)"; return 1
    fi
    QEMU_LD_PREFIX=$PLIMO_I386_ROOT "$loader" --version >/dev/null 2>&1 ||
      { win32_say "not run: Wine's 32-bit loader $loader does not start under $emu with the prefix $PLIMO_I386_ROOT"; return 1; }
  fi
  if [ "$emu" = "$PLIMO_QEMU_FALLBACK" ]; then
    win32_say "with Debian 12's qemu 7.2 every 32-bit process takes about a minute to start: the lane will be slow"
  fi
  return 0
}

# The lane ready, set up first when it is not; false, with win32_reason, when it cannot be.
win32_ensure() { win32_lane_ready >/dev/null 2>&1 || win32_setup; }

win32_setup() {
  if [ "$(id -u)" -ne 0 ]; then win32_say "not set up: run scripts/deps.sh as root"; return 1; fi
  win32_install_emulator || return 1
  win32_register_binfmt || return 1
  if [ ! -x /usr/lib/wine/wine ]; then win32_make_root || return 1; fi
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

# The emulator re-run rule of both 32-bit lanes (win32, win32-exact; README: the
# 32-bit build). The i386 emulator itself now and then dies under load ("qemu:
# uncaught target signal 11"), in a test that passes on every other run.
#
# win32_failures BUILD_DIR: "NAME CRASHED" for each failed test of the build's last
# CTest run; CRASHED is 1 when the emulator's own message is in that test's output.
win32_failures() {
  awk '/^[0-9]+\/[0-9]+ Testing: /{name=$3; crashed=0} /qemu: uncaught target signal/{crashed=1}
       /^Test Failed/{print name, crashed}' "$1/Testing/Temporary/LastTest.log" 2>/dev/null
}

# win32_emulator_reruns LANE BUILD_DIR [RUNNER...]: after a failed run, when every
# failed test failed with the emulator's own message, those tests run once more
# (RUNNER ctest --preset win32 -R ...), each named. Succeeds only when every failure
# was such a crash and each passes its second run; any other failure fails the
# lane, and no test runs twice for it. Leaves a line for the lane's summary in
# win32_rerun_note.
win32_emulator_reruns() {
  local lane=$1 dir=$2 name crashed names=() others=() pattern; shift 2
  win32_rerun_note=""
  while read -r name crashed; do
    if ((crashed)); then names+=("$name"); else others+=("$name"); fi
  done < <(win32_failures "$dir")
  ((${#names[@]})) || return 1
  if ((${#others[@]})); then
    echo "$lane lane: the emulator itself crashed under: ${names[*]}; not run again, as other tests failed: ${others[*]}"
    return 1
  fi
  echo "$lane lane: the emulator itself crashed under: ${names[*]} ($(grep -m 1 -o 'qemu: uncaught target signal [^)]*)' \
    "$dir/Testing/Temporary/LastTest.log")); each runs once more"
  pattern="^($(IFS='|'; echo "${names[*]}"))\$"
  if "$@" ctest --preset win32 -R "$pattern" --output-on-failure; then
    win32_rerun_note="$lane: run again after an emulator crash and passed: ${names[*]}"
    return 0
  fi
  win32_rerun_note="$lane: failed again after an emulator crash: $(win32_failures "$dir" | cut -d' ' -f1 | xargs)"
  return 1
}
