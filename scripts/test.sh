#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset ci >/dev/null
cmake --build --preset ci -j 2
ctest --preset ci -j 2
