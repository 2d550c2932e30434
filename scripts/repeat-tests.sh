#!/usr/bin/env bash
# repeat-tests.sh windows|window [RUNS]: runs the tests of one kind RUNS times in a row (10 by
# default), to find the cases that fail only now and then.
#   windows  the stage "Windows build and tests under wine" of scripts/test.sh, each run in a
#            new wine prefix and without CTest's record of earlier test times, as in a fresh
#            clone;
#   window   the Linux tests of the real window and of the whole launcher (CTest label
#            "window"), while a build of build-load/ on one core keeps the machine busy.
# Each run's output goes to build-repeat/KIND-N.log. Ends with a line per run, the slowest cases
# and "N passed, M failed" over the runs; exits non-zero when a run failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=scripts/test_stages.sh
source scripts/test_stages.sh
# shellcheck source=scripts/test_stage_commands.sh
source scripts/test_stage_commands.sh

kind=${1:-}
runs=${2:-10}
jobs=$(nproc)
logs=$root/build-repeat
mkdir -p "$logs"

fresh_windows_run() {
  local prefix="$root/build-windows/wine-prefix"
  [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  rm -rf "$prefix" "$prefix.lock" build-windows/Testing
  windows_stage
}

window_run() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON >/dev/null &&
    cmake --build build --parallel "$jobs" &&
    run_ctest build window --output-on-failure --parallel "$jobs" --timeout 300 -L window
}

# A build on one core, again and again, until the runs are over.
start_load() {
  cmake -S . -B build-load -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_BUILD_GUI=OFF \
    >/dev/null || return 1
  # In a process group of its own, so that the build in progress ends with the loop.
  setsid bash -c 'while :; do
    cmake --build build-load --target clean >/dev/null
    cmake --build build-load --parallel 1 >/dev/null
  done' &
  load=$!
}

case "$kind" in
  windows) run=fresh_windows_run ;;
  window)
    run=window_run
    start_load || exit 1
    trap 'kill -- "-$load" 2>/dev/null' EXIT
    ;;
  *)
    echo "usage: scripts/repeat-tests.sh windows|window [RUNS]" >&2
    exit 2
    ;;
esac

bash scripts/install-packages.sh || exit 1
runs_passed=0
runs_failed=0
for n in $(seq "$runs"); do
  run_stage "$kind$n" "$kind, run $n of $runs" "$run" >"$logs/$kind-$n.log" 2>&1
  if [ "$any_failed" -eq 0 ]; then runs_passed=$((runs_passed + 1)); else runs_failed=$((runs_failed + 1)); fi
  any_failed=0
  echo "${stage_lines[-1]}"
  grep -E '^ *[0-9]+ - .*\((Failed|Timeout|Not Run)\)' "$logs/$kind-$n.log"
done
echo
echo "Slowest cases over all runs:"
cat "$logs/$kind"-*.log | grep -E 'Test +#[0-9]+: .* sec$' |
  awk '{print $(NF-1), $4}' | sort -rn | head -n 5
echo "$runs_passed passed, $runs_failed failed"
[ "$runs_failed" -eq 0 ]
