#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) into build-fuzz/ and
# runs each one for SECONDS (default 60) from a copy of its seed corpus in fuzz/corpus/<name>/.
# The committed corpus is never written: new inputs and crash files go to build-fuzz/runs/.
# Exits non-zero when a target crashes, leaks, trips a sanitizer or fails one of its checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}

bash scripts/install-packages.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPELMORIX_BUILD_FUZZERS=ON -DPELMORIX_BUILD_TESTS=OFF -DPELMORIX_BUILD_GUI=OFF \
  -DPELMORIX_WERROR=ON >/dev/null
cmake --build build-fuzz --target fuzzers --parallel "$(nproc)"

failed=()
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  run=build-fuzz/runs/$name
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/crashes"
  cp "$seeds"* "$run/corpus/"
  echo "== $name: $seconds s"
  if ! build-fuzz/fuzz/"$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$run/crashes/" "$run/corpus" >"$run/log" 2>&1; then
    failed+=("$name")
    tail -n 40 "$run/log"
  fi
  grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$run/log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Crashed: ${failed[*]} (inputs in build-fuzz/runs/<name>/crashes/)"
  exit 1
fi
echo "All fuzz targets ran ${seconds} s without a crash."
