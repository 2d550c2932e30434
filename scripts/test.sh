#!/usr/bin/env bash
# The test command: installs what is missing, builds into build/ and runs every test; then
# builds the tests that need no display with AddressSanitizer and UBSan into build-asan/ and
# runs them, runs the connection and socket tests under ThreadSanitizer (build-tsan/), builds
# for Windows (build-windows/) and runs those tests under wine, and runs every fuzz target for
# 10 s. Every stage runs even when an earlier one failed; the script
# exits non-zero when any stage failed and ends with the count of passed and failed tests.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=scripts/test_stages.sh
source scripts/test_stages.sh
# shellcheck source=scripts/test_stage_commands.sh
source scripts/test_stage_commands.sh

bash scripts/install-packages.sh || exit 1
jobs=$(nproc)

run_stage main "Build and all tests (build/)" main_stage
run_stage asan "Tests without a display under AddressSanitizer and UBSan (build-asan/)" asan_stage
run_stage tsan "Connection and socket tests under ThreadSanitizer (build-tsan/)" tsan_stage
run_stage win "Windows build and tests under wine (build-windows/)" windows_stage
run_stage fuzz "Fuzz targets, 10 s each (build-fuzz/)" fuzz_stage
print_summary
