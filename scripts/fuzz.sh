#!/usr/bin/env bash
# The fuzz targets (tests/fuzz), built with clang's libFuzzer and the sanitizers.
#
#   bash scripts/fuzz.sh                       bounded run of every target
#   bash scripts/fuzz.sh run TARGET            bounded run of one built target (CTest's fuzz.TARGET:
#                                              the fuzz lane is `ctest --preset fuzz`)
#   bash scripts/fuzz.sh campaign TARGET [S]   long campaign of one target, S seconds (default 600)
#
# The bounded run starts each target from its seeds in tests/fuzz/corpus/TARGET
# with a fixed seed and a fixed number of runs, and fails on the first crash or
# property violation. A campaign runs at the lowest priority and keeps what it
# finds in build/fuzz/campaign/TARGET, so the next campaign goes on from there.
# Inputs that fail are written to build/fuzz/artifacts/; a fixed one belongs in
# the target's seed folder, where every later run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs per target in the bounded step: about 10 s each on an idle core. On a
# busy machine a target stops after 30 s with the runs it has made, so the
# whole step stays within 3 minutes.
declare -A runs=(
  [fuzz_cmdline]=200000
  [fuzz_projection]=300000
  [fuzz_console_keys]=300000
  [fuzz_window_keys]=500000
  [fuzz_requests]=200000
  [fuzz_bmp]=1000000
  [fuzz_utf8]=300000
  [fuzz_bgi]=50000
)

[ "${1:-}" = run ] || bash scripts/build.sh fuzz >/dev/null
bin=build/fuzz/tests/fuzz
mkdir -p build/fuzz/artifacts

summary() { # log: runs, executions per second, coverage at the end
  local runs rate cov
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$1")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$1")
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$1" | tail -n 1)
  echo "${runs:-?} runs, ${rate:-?} exec/s, ${cov:-no coverage line}"
}

if [ "${1:-}" = campaign ]; then
  target=${2:?target name}
  seconds=${3:-600}
  work=build/fuzz/campaign/$target
  mkdir -p "$work"
  log=build/fuzz/$target-campaign.log
  nice -n 19 "$bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/$target-" "$work" "tests/fuzz/corpus/$target" 2>"$log" || {
    tail -n 40 "$log" >&2
    exit 1
  }
  echo "$target: campaign of ${seconds} s: $(summary "$log"), $(ls "$work" | wc -l) inputs in its corpus"
  exit 0
fi

# fuzz_one TARGET: the bounded run of one target; its summary line, or FAILED.
fuzz_one() {
  local target=$1 work=build/fuzz/work/$1 log=build/fuzz/$1.log
  [ -n "${runs[$target]:-}" ] || { echo "fuzz $target: FAILED (no such target in scripts/fuzz.sh)" >&2; return 1; }
  rm -rf "$work"
  mkdir -p "$work"
  if "$bin/$target" -runs="${runs[$target]}" -max_total_time=30 -seed=1 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/artifacts/$target-" "$work" "tests/fuzz/corpus/$target" 2>"$log"; then
    echo "fuzz $target: $(summary "$log")"
  else
    tail -n 40 "$log" >&2
    echo "fuzz $target: FAILED (input in build/fuzz/artifacts/)" >&2
    return 1
  fi
}

# One target, already built (the CTest test fuzz.TARGET).
[ "${1:-}" = run ] && { fuzz_one "${2:?target name}"; exit; }

status=0
for target in "${!runs[@]}"; do
  fuzz_one "$target" || status=1
done
exit $status
