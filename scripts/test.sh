#!/usr/bin/env bash
# The test command: installs what is missing, builds into build/ and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON
cmake --build build --parallel "$jobs"
cd build
ctest --output-on-failure --parallel "$jobs" --timeout 300
