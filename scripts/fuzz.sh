#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) into build-fuzz/ and
# runs each one from a copy of its seed corpus in fuzz/corpus/<name>/:
#   scripts/fuzz.sh [SECONDS] [TARGET...]    each target for SECONDS (default 60)
#   scripts/fuzz.sh --runs N [TARGET...]     each target until it has executed N inputs
# TARGET names a fuzzer (uri_fuzzer, ...); without one, every target runs.
# As many targets run at once as there are cores. The committed corpus is never written: new
# inputs, crash files and each target's log go to build-fuzz/runs/<name>/. Ends with a table of
# the executions of every target and exits non-zero when a target crashes, leaks, trips a
# sanitizer or fails one of its checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

usage() {
  echo "usage: scripts/fuzz.sh [SECONDS | --runs N] [TARGET...]" >&2
  exit 2
}
if [ "${1:-}" = "--runs" ]; then
  [[ "${2:-}" =~ ^[0-9]+$ ]] || usage
  limit=(-runs="$2")
  describe="$2 executions"
  shift 2
else
  seconds=60
  if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
  fi
  limit=(-max_total_time="$seconds")
  describe="$seconds s"
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for seeds in fuzz/corpus/*/; do names+=("$(basename "$seeds")"); done
fi
for name in "${names[@]}"; do
  [ -d "fuzz/corpus/$name" ] || { echo "scripts/fuzz.sh: no fuzz target \"$name\"" >&2; usage; }
done

bash scripts/install-packages.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPELMORIX_BUILD_FUZZERS=ON -DPELMORIX_BUILD_TESTS=OFF -DPELMORIX_BUILD_GUI=OFF \
  -DPELMORIX_WERROR=ON >/dev/null
cmake --build build-fuzz --target fuzzers --parallel "$(nproc)"

# A fixed zone with summer time, the same on every machine. Set in TZ, it also spares the C
# library a fresh read of the zone file on every local-time call, which cookies make often.
export TZ="CET-1CEST,M3.5.0,M10.5.0/3"

# run_target NAME: one target from a fresh copy of its seeds. Leaves libFuzzer's exit status
# and the seconds it ran next to the log.
run_target() {
  local name=$1 run=build-fuzz/runs/$1 start=$SECONDS status=0
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/crashes"
  cp fuzz/corpus/"$name"/* "$run/corpus/"
  build-fuzz/fuzz/"$name" "${limit[@]}" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$run/crashes/" "$run/corpus" >"$run/log" 2>&1 || status=$?
  echo "$((SECONDS - start))" >"$run/seconds"
  echo "$status" >"$run/status"
}

for name in "${names[@]}"; do
  # At most one target per core at a time.
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  echo "== $name: $describe"
  run_target "$name" &
done
wait

# libFuzzer ends with 72 when it is interrupted (SIGINT): no finding, but not a full run either.
failed=()
interrupted=()
for name in "${names[@]}"; do
  status=$(cat "build-fuzz/runs/$name/status")
  if [ "$status" = 72 ]; then
    interrupted+=("$name")
  elif [ "$status" != 0 ]; then
    failed+=("$name")
    echo "---- $name crashed; the end of build-fuzz/runs/$name/log:"
    tail -n 40 "build-fuzz/runs/$name/log"
  fi
done

stat() { grep -E "^stat::$1:" "$2" | awk '{print $2}' | tail -n 1; }
echo
printf '%-24s %14s %10s %9s %8s\n' target executions "exec/s" "peak MB" seconds
for name in "${names[@]}"; do
  run=build-fuzz/runs/$name
  printf '%-24s %14s %10s %9s %8s\n' "$name" "$(stat number_of_executed_units "$run/log")" \
    "$(stat average_exec_per_sec "$run/log")" "$(stat peak_rss_mb "$run/log")" \
    "$(cat "$run/seconds")"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Crashed: ${failed[*]} (inputs in build-fuzz/runs/<name>/crashes/)"
  exit 1
fi
if [ ${#interrupted[@]} -gt 0 ]; then
  echo "Interrupted before the end, without a crash: ${interrupted[*]}"
  exit 1
fi
echo "All fuzz targets ran ${describe} each without a crash."
