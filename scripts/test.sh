#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs the tests of each lane asked for.
#   bash scripts/test.sh                 the default lanes: native fuzz win64 win32
#   bash scripts/test.sh LANE...         only these lanes, for example: native win64
# The lanes:
#   native       the platform-free tests with the host compiler under the sanitizers
#   fuzz         every fuzz target (tests/fuzz) for a fixed number of inputs (scripts/fuzz.sh)
#   win64        the x86_64 build under Wine
#   win32        the i686 build (the primary target) under Wine and the i386 emulator
#                (scripts/win32-lane.sh sets it up: nothing i386 goes into the system)
#   win32-exact  the win32 tests on an i386 emulator built with our patch (scripts/win32-exact.sh)
# Asked means run: every lane asked for runs, even when an earlier one failed. A lane
# that was asked for and did not run (its set-up was impossible, its build failed, it
# ran no test) fails the command, with one line that says which and why; the win32
# lane's is the last line. The command ends with each lane's count
# ("LANE: N passed, N failed"), the lanes it was not asked for, and those lines.
# One test or a set of them: scripts/ctest.sh PRESET [ctest args].
set -uo pipefail
cd "$(dirname "$0")/.."

all_lanes=(native fuzz win64 win32 win32-exact)
default_lanes=(native fuzz win64 win32)
usage() {
  echo "usage: $0 [LANE...]   lanes: ${all_lanes[*]} (default: ${default_lanes[*]})" >&2
  exit 2
}
asked=("$@")
((${#asked[@]})) || asked=("${default_lanes[@]}")
lanes=()
for lane in "${all_lanes[@]}"; do   # in this order, each once
  for a in "${asked[@]}"; do [ "$a" = "$lane" ] && { lanes+=("$lane"); break; }; done
done
for a in "${asked[@]}"; do
  case " ${all_lanes[*]} " in *" $a "*) ;; *) usage ;; esac
done
is_asked() { case " ${lanes[*]} " in *" $1 "*) return 0 ;; esac; return 1; }

jobs=$(nproc)
status=0 counts=() not_run=() times=() log=$(mktemp)
trap 'rm -f "$log"' EXIT

# lane_not_run LANE WHY: the lane was asked for and did not run.
lane_not_run() { status=1 not_run+=("$1 lane did not run: $2"); }

summary() {
  echo
  ((${#times[@]})) && echo "time: $(printf '%s, ' "${times[@]}" | sed 's/, $//')"
  printf '%s\n' "${counts[@]}"
  local left=() lane
  for lane in "${all_lanes[@]}"; do is_asked "$lane" || left+=("$lane"); done
  ((${#left[@]})) && echo "not asked for, left out: ${left[*]}"
  # The win32 lane's line comes last.
  local line
  for line in "${not_run[@]}"; do [[ $line == "win32 lane "* ]] || echo "$line"; done
  for line in "${not_run[@]}"; do [[ $line == "win32 lane "* ]] && echo "$line"; done
  exit "$status"
}

# run LANE COMMAND...: runs one lane's CTest, keeps its count for the end, its exit
# code in lane_rc and whether it tested anything in lane_ran; a run that tested
# nothing is a lane that did not run.
run() {
  local lane=$1; shift
  lane_ran=0
  "$@" 2>&1 | tee "$log"
  lane_rc=${PIPESTATUS[0]}
  local total failed skipped
  read -r failed total < <(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\1 \2/p' "$log" | head -n 1)
  skipped=$(grep -c '^[[:space:]]*[0-9]* - .* (Skipped)$' "$log")
  if [ -z "${total:-}" ]; then
    lane_not_run "$lane" "its tests did not run to their end ($(grep -E "^(win32( lane|-exact)|wine-session|CMake Error|No tests)" "$log" | tail -n 1 | cut -c 1-200))"
    lane_rc=1
  elif ((total == 0)); then
    lane_not_run "$lane" "it ran no test"
    lane_rc=1
  else
    lane_ran=1
    counts+=("$lane: $((total - failed - skipped)) passed, $failed failed$( ((skipped)) && echo ", $skipped skipped")")
  fi
}

# The amd64 packages every lane needs.
if ! bash scripts/deps.sh --64; then
  for lane in "${lanes[@]}"; do lane_not_run "$lane" "the Debian packages it needs could not be installed (the lines above say why)"; done
  summary
fi
. scripts/win32-lane.sh

# The 32-bit set-up, when a 32-bit lane is asked for: its one-line reason is kept.
win32_why=""
if is_asked win32 || is_asked win32-exact; then
  win32_ensure || win32_why=${win32_reason:-its set-up failed}
fi

built=()
for lane in "${lanes[@]}"; do
  t0=$SECONDS
  case $lane in
    win32-exact) continue ;;   # builds what it needs itself
    fuzz)
      if bash scripts/build.sh fuzz; then built+=(fuzz); else lane_not_run fuzz "its build failed"; fi
      ;;
    *)
      if bash scripts/build.sh "$lane"; then
        built+=("$lane")
        # The installed package as another project uses it.
        if [ "$lane" != native ] && ! bash scripts/package-test.sh "$lane"; then
          status=1 counts+=("$lane: package test failed")
        fi
      else
        lane_not_run "$lane" "its build failed"
      fi
      ;;
  esac
  times+=("build $lane $((SECONDS - t0)) s")
done
is_asked win32-exact && built+=(win32-exact)

for lane in "${built[@]}"; do
  t0=$SECONDS
  case $lane in
    native)
      run native ctest --preset native -j "$jobs"
      ((lane_rc == 0)) || status=1
      ;;
    fuzz)
      run fuzz ctest --preset fuzz -j "$jobs"
      ((lane_rc == 0)) || status=1
      ;;
    win64)
      run win64 bash scripts/wine-session.sh build/win64 ctest --preset win64 -j "$jobs"
      ((lane_rc == 0)) || status=1
      ;;
    win32)
      if [ -n "$win32_why" ]; then
        lane_not_run win32 "$win32_why"
        continue
      fi
      run win32 bash scripts/wine-session.sh build/win32 bash -c \
        '. scripts/win32-lane.sh && win32_start_time build/win32; exec ctest --preset win32 -j "$1"' - "$jobs"
      # What the tests checked instead where the emulator cannot deliver (README: the 32-bit build).
      grep -ho "emulator limit: .*" build/win32/Testing/Temporary/LastTest.log 2>/dev/null | sort -u
      if ((lane_rc != 0 && lane_ran)); then
        win32_emulator_reruns win32 build/win32 bash scripts/wine-session.sh build/win32 || status=1
        [ -n "$win32_rerun_note" ] && counts+=("$win32_rerun_note")
      elif ((lane_rc != 0)); then
        status=1
      fi
      ;;
    win32-exact)
      if [ -n "$win32_why" ]; then
        lane_not_run win32-exact "$win32_why"
        continue
      fi
      run win32-exact bash scripts/win32-exact.sh
      ((lane_rc == 0)) || status=1
      ;;
  esac
  times+=("$lane $((SECONDS - t0)) s")
done

summary
