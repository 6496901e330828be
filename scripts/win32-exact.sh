#!/usr/bin/env bash
# win32-exact.sh (bash scripts/test.sh win32-exact): the win32 tests on an i386
# emulator that delivers processor faults as a processor does.
#
# The emulator is qemu-i386 built here from Debian 13's qemu source, of the same
# version as the lane's default emulator (scripts/win32-lane.sh), with our patch
# scripts/qemu/i386-trapno-and-x87-exceptions.patch: the signal context carries the
# trap number and error code, and an unmasked x87 exception traps. Only the i386
# user-mode target is built, static, in build/qemu-exact/; it is built again only
# when the patch, the source version or the recipe below changes.
#
# Nothing global changes: binfmt_misc keeps starting the default emulator. The
# lane runs Wine's 32-bit loader itself under the patched one (wine-env.sh takes
# the loader command from PLIMO_WINE32), with WINELOADERNOEXEC=1 so that the
# loader does not execute itself again through binfmt_misc. 32-bit helper
# processes Wine starts on its own still run under the default emulator.
# The tests see PLIMO_EXACT_EMULATOR=1 and expect what they expect on x86_64.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/win32-lane.sh

out=$root/build/qemu-exact
patch_file=$root/scripts/qemu/i386-trapno-and-x87-exceptions.patch
# Raise when the configure options or the build steps change.
recipe=1
build_deps=(dpkg-dev ninja-build python3-venv libglib2.0-dev libpcre2-dev gcc-multilib xz-utils)

say() { echo "win32-exact: $*"; }

# Inside the Wine session: one line per fault path (what the fault filter
# receives, the report, the finalisers, the exit code), then the tests.
if [ "${1:-}" = --in-session ]; then
  probe=build/win32/tests/frame/fault_probe.exe tmp=$(mktemp)
  win32_start_time build/win32
  for path in divide pointer thread stack thread-stack x87 double; do
    code=$(build/win32/wine-exec "$probe" diag "$path" 2>/dev/null </dev/null | sed -n 's/^filter receives: code \([0-9A-F]*\) .*/\1/p')
    build/win32/wine-exec "$probe" "$path" >"$tmp.out" 2>"$tmp.err" </dev/null
    rc=$?
    report=$(tr -d '\r' <"$tmp.err" | grep -m 1 -o 'unhandled exception .*')
    say "$path: filter receives ${code:-nothing}; ${report:-no report}; finalisers: $(tr '\n' ' ' <"$tmp.out"); exit $rc"
  done
  rm -f "$tmp" "$tmp.out" "$tmp.err"
  ctest --preset win32 -j "$2"
  status=$?
  log=build/win32/Testing/Temporary/LastTest.log
  # What the tests still could not expect as on x86_64.
  grep -ho "emulator limit: .*" "$log" | sort -u | sed 's/^/win32-exact: difference left: /' | grep . && exit 1
  ((status == 0)) && exit 0
  # NOTE: the emulator itself (ours as Debian's) now and then dies under load,
  # "qemu: uncaught target signal 11" (README: the 32-bit build): the rule of
  # both 32-bit lanes (scripts/win32-lane.sh) runs such a test once more.
  win32_emulator_reruns win32-exact build/win32
  status=$?
  [ -n "$win32_rerun_note" ] && echo "$win32_rerun_note"
  exit "$status"
fi

# The Debian packages the emulator's build needs, installed when missing.
install_build_deps() {
  local missing=() p
  for p in "${build_deps[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  if [ "$(id -u)" -ne 0 ]; then say "missing build dependencies (run as root): ${missing[*]}"; return 1; fi
  wait_for_apt
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null ||
    { say "could not install: ${missing[*]}"; return 1; }
}

# The Debian version of the default emulator (empty for a build without one).
default_version() {
  local emu
  emu=$(win32_emulator)
  [ -n "$emu" ] && "$emu" --version | sed -n 's/.*(Debian \(.*\))$/\1/p' | head -n 1
}

# fetch DIR VERSION: Debian 13's qemu source of VERSION (else its current one)
# and Debian 13's meson into DIR, through a private apt source list.
# NOTE: qemu 10 needs meson 1.5 or newer; Debian 12 has 1.0. Debian 13's meson
# (pure Python) is only unpacked into DIR and run from there.
fetch() {
  local dir=$1 version=$2 uri
  uri=$(win32_debian_uri | head -n 1)
  [ -n "$uri" ] || { say "no Debian archive in the apt sources"; return 1; }
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
  printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s trixie main\n' "$uri" >"$dir/sources.list"
  printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s trixie main\n' "$uri" >>"$dir/sources.list"
  local apt=(apt-get -q -o "Dir::Etc::SourceList=$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache"
             -o APT::Sandbox::User=root -o Acquire::Languages=none)
  cd "$dir" || return 1
  "${apt[@]}" update >log 2>&1 || { say "apt could not read Debian 13's index: $(tail -n 1 log)"; cd "$root"; return 1; }
  if ! "${apt[@]}" source --download-only "qemu${version:+=$version}" >>log 2>&1; then
    say "qemu $version is not in Debian 13 (any more): taking its current qemu"
    "${apt[@]}" source --download-only qemu >>log 2>&1
  fi
  "${apt[@]}" download meson >>log 2>&1
  cd "$root" || return 1
  ls "$dir"/qemu_*.dsc "$dir"/meson_*.deb >/dev/null 2>&1 ||
    { say "Debian 13's qemu source or meson could not be downloaded: $(grep -m 1 '^E:' "$dir/log")"; return 1; }
}

# Builds $out/qemu-i386 unless the one there was built from the same inputs.
build_emulator() {
  local version key work dsc t0=$SECONDS
  version=$(default_version)
  key="qemu ${version:-current} recipe $recipe patch $(sha256sum "$patch_file" | cut -c 1-16)"
  if [ -x "$out/qemu-i386" ] && [ "$(cat "$out/built-from" 2>/dev/null)" = "$key" ]; then
    say "emulator up to date ($key)"
    return 0
  fi
  install_build_deps || return 1
  say "building the emulator ($key); the first build takes minutes"
  rm -rf "$out" && mkdir -p "$out"
  work=$out/work
  fetch "$work" "${version:-}" || return 1
  dsc=$(ls "$work"/qemu_*.dsc | head -n 1)
  dpkg-source -x "$dsc" "$work/src" >>"$work/log" 2>&1 || { say "dpkg-source failed (see $work/log)"; return 1; }
  dpkg-deb -x "$work"/meson_*.deb "$work/meson"
  patch -d "$work/src" -p1 <"$patch_file" >>"$work/log" || { say "the patch does not apply to $(basename "$dsc")"; return 1; }
  mkdir -p "$work/build"
  # As Debian builds its qemu-user (debian/rules), for the i386 target alone.
  (cd "$work/build" && export PYTHONPATH=$work/meson/usr/lib/python3/dist-packages &&
     "$work/src/configure" --python=/usr/bin/python3 --target-list=i386-linux-user --static \
       --disable-system --disable-tools --disable-docs --disable-plugins --disable-debug-info \
       --disable-download --disable-containers --disable-install-blobs --disable-xkbcommon \
       --extra-cflags=-DPROVIDE_STUBS_FOR_STATIC --with-pkgversion="$(basename "$dsc" .dsc), with our patch" \
       >>"$work/log" 2>&1 &&
     nice -n 10 make -j2 qemu-i386 >>"$work/log" 2>&1) ||
    { say "the emulator's build failed (see $work/log)"; return 1; }
  install -m 755 "$work/build/qemu-i386" "$out/qemu-i386"
  # The built tree is large; what is kept is the emulator and what it was built from.
  cp "$dsc" "$out/"
  rm -rf "$work"
  echo "$key" >"$out/built-from"
  say "built in $((SECONDS - t0)) s: $("$out/qemu-i386" --version | head -n 1), in $out"
}

# The patch's own test programs, under the patched emulator.
check_emulator() {
  local t rc ok=0
  for t in trapno x87trap; do
    gcc -m32 -O1 -o "$out/$t" "scripts/qemu/$t.c" || { say "$t.c does not build (gcc -m32)"; return 1; }
    "$out/qemu-i386" "$out/$t" >"$out/$t.out" 2>&1
    rc=$?
    say "$t: $(cat "$out/$t.out") (exit $rc)"
    ((rc == 0)) || ok=1
  done
  return $ok
}

started=$(date +%s)
bash scripts/deps.sh --64 || exit 1
build_emulator || exit 1
check_emulator || { say "the patched emulator fails its own tests"; exit 1; }

cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$(nproc)" || { say "build failed"; exit 1; }
win32_ensure || exit 1

# Wine's 32-bit loader under the patched emulator (the private root's loader
# finds its libraries through QEMU_LD_PREFIX, which scripts/wine-env.sh exports).
cat >"$out/wine32" <<EOF
#!/bin/sh
WINELOADERNOEXEC=1 exec "$out/qemu-i386" "$(win32_loader)" "\$@"
EOF
chmod 755 "$out/wine32"

export PLIMO_WINE32=$out/wine32 PLIMO_EXACT_EMULATOR=1
bash scripts/wine-session.sh build/win32 bash scripts/win32-exact.sh --in-session "$(nproc)"
status=$?
say "$( ((status == 0)) && echo passed || echo FAILED) in $(($(date +%s) - started)) s"
exit "$status"
