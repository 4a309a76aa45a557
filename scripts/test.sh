#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says, then builds everything with
# warnings as errors and runs every test, then builds again with the address and
# undefined-behaviour sanitizers and runs every test under them. Then builds the Windows
# programs with MinGW-w64 and runs their tests under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "== formatting"
# Changes nothing; names each file that differs from the project's .clang-format and fails.
folders=()
for folder in src tests bench tools fuzz; do
    if [ -d "$folder" ]; then
        folders+=("$folder")
    fi
done
mapfile -t sources < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' -o \
    -name '*.hpp' -o -name '*.cc' -o -name '*.cxx' -o -name '*.hxx' \) | sort)
clang-format --dry-run -Werror --style=file "${sources[@]}"

for preset in ci asan; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j 2
    echo "== $preset tests"
    ctest --preset "$preset" -j 2
done

bash scripts/test-windows.sh
