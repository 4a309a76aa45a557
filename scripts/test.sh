#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test, then builds again with the
# address and undefined-behaviour sanitizers and runs every test under them. Then builds the
# Windows programs with MinGW-w64 and runs their tests under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in ci asan; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j 2
    echo "== $preset tests"
    ctest --preset "$preset" -j 2
done

bash scripts/test-windows.sh
