#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs the tests.
#   bash scripts/test.sh          every lane: native, win64, win32
#   bash scripts/test.sh win64    the x86_64 build under Wine only (also: win32, native; several may be given)
# native: the platform-free tests under the sanitizers, then a bounded fuzz run. win64: the x86_64 build
# under Wine. win32: the i686 build under Wine with the i386 emulator (see
# scripts/win32-lane.sh); if this machine cannot run it, one line says why and
# the other lanes still run. Every lane runs even when an earlier one fails;
# the command fails if any did. It ends with each lane's count.
set -uo pipefail
cd "$(dirname "$0")/.."
# win32-exact: the win32 tests on an i386 emulator built with our patch (scripts/win32-exact.sh).
[ "$*" = win32-exact ] && exec bash scripts/win32-exact.sh

lanes=("$@")
((${#lanes[@]})) || lanes=(native win64 win32)
for lane in "${lanes[@]}"; do
  case $lane in native|win64|win32) ;; *) echo "usage: $0 [native|win64|win32]..." >&2; exit 2 ;; esac
done

bash scripts/deps.sh || exit 1
. scripts/win32-lane.sh

jobs=$(nproc)
status=0 counts=() log=$(mktemp)
trap 'rm -f "$log"' EXIT

# run LANE COMMAND...: runs one lane's CTest, keeps its count for the end and
# its exit code in lane_rc.
run() {
  local lane=$1; shift
  "$@" 2>&1 | tee "$log"
  lane_rc=${PIPESTATUS[0]}
  local total failed skipped
  read -r failed total < <(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\1 \2/p' "$log" | tail -n 1)
  skipped=$(grep -c '^[[:space:]]*[0-9]* - .* (Skipped)$' "$log")
  if [ -n "${total:-}" ]; then
    counts+=("$lane: $((total - failed - skipped)) passed, $failed failed$( ((skipped)) && echo ", $skipped skipped")")
  else
    counts+=("$lane: did not run to its end")
  fi
}

# failures LANE: "NAME CRASHED" for each failed test of the lane's last CTest run;
# CRASHED is 1 when the i386 emulator itself ended the test's process (its own
# message is in the test's output), else 0.
failures() {
  awk '/^[0-9]+\/[0-9]+ Testing: /{name=$3; crashed=0} /qemu: uncaught target signal/{crashed=1}
       /^Test Failed/{print name, crashed}' "build/$1/Testing/Temporary/LastTest.log" 2>/dev/null
}

# emulator_reruns: after a failed win32 run, the tests whose process the emulator
# itself ended run once more (README: the 32-bit build), each named and counted.
# Succeeds only when every failure was such a crash and each passes its second run.
emulator_reruns() {
  local name crashed names=() other=0
  while read -r name crashed; do
    if ((crashed)); then names+=("$name"); else other=1; fi
  done < <(failures win32)
  ((${#names[@]})) || return 1
  echo "win32 lane: the emulator itself crashed under: ${names[*]}; each runs once more"
  local pattern
  pattern="^($(IFS='|'; echo "${names[*]}"))\$"
  if bash scripts/wine-session.sh build/win32 ctest --preset win32 -R "$pattern" --output-on-failure; then
    counts+=("win32: run again after an emulator crash and passed: ${names[*]}")
    return "$other"
  fi
  counts+=("win32: failed again after an emulator crash: $(failures win32 | cut -d' ' -f1 | xargs)")
  return 1
}

built=()
for lane in "${lanes[@]}"; do
  if bash scripts/build.sh "$lane"; then
    built+=("$lane")
    # The installed package as another project uses it.
    if [ "$lane" != native ] && ! bash scripts/package-test.sh "$lane"; then
      status=1 counts+=("$lane: package test failed")
    fi
  else
    status=1 counts+=("$lane: build failed")
  fi
done

for lane in "${built[@]}"; do
  if [ "$lane" = win32 ] && ! win32_lane_ready; then
    counts+=("win32: built, not run on this machine (the line above says why)")
    continue
  fi
  case $lane in
    native)
      run native ctest --preset native -j "$jobs"
      ((lane_rc == 0)) || status=1
      bash scripts/fuzz.sh || { status=1; counts+=("fuzz: failed"); }
      ;;
    win64)
      run win64 bash scripts/wine-session.sh build/win64 ctest --preset win64 -j "$jobs"
      ((lane_rc == 0)) || status=1
      ;;
    win32)
      run win32 bash scripts/wine-session.sh build/win32 bash -c \
        '. scripts/win32-lane.sh && win32_start_time build/win32; exec ctest --preset win32 -j "$1"' - "$jobs"
      # What the tests checked instead where the emulator cannot deliver (README: the 32-bit build).
      grep -ho "emulator limit: .*" build/win32/Testing/Temporary/LastTest.log 2>/dev/null | sort -u
      ((lane_rc == 0)) || emulator_reruns || status=1
      ;;
  esac
done

echo
printf '%s\n' "${counts[@]}"
exit "$status"
