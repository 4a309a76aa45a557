#!/usr/bin/env bash
# Builds the libFuzzer targets with Debian's clang and runs each for a while, one after another.
# New inputs go to build/fuzz/found/TARGET, failing ones to build/fuzz/crashes/TARGET. Keep the
# ones that widen coverage with
#   build/fuzz/fuzz/fuzz_TARGET -merge=1 fuzz/corpus/TARGET build/fuzz/found/TARGET
# Not part of the test command: the test suite replays the corpora with the normal compiler.
#
#   bash fuzz/run-fuzzers.sh [SECONDS_PER_TARGET] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(response_parser request_handler value_format posted_ticket_answer undo_answer
        name_hint_answer)
fi

bash scripts/install-deps.sh
bash scripts/install-packages.sh clang-14 libclang-rt-14-dev

build=build/fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTRELL_FUZZ=ON -DVANTRELL_BUILD_TESTS=OFF -DVANTRELL_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"

root="$(pwd)"
for target in "${targets[@]}"; do
    found="$root/$build/found/$target"
    mkdir -p "$found" "$root/$build/crashes/$target"
    echo "== fuzz_$target for $seconds s (log: $build/fuzz/fuzz-0.log)"
    # One job: the machine's two cores are shared. Scratch files go to memory when /dev/shm is
    # there. libFuzzer writes the job's log in the current folder: the build folder.
    scratch="${TMPDIR:-/tmp}"
    if [ -d /dev/shm ]; then
        scratch=/dev/shm
    fi
    (cd "$build/fuzz" && TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 "./fuzz_$target" \
        -max_total_time="$seconds" -jobs=1 -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$root/$build/crashes/$target/" \
        "$found" "$root/fuzz/corpus/$target" ||
        echo "fuzz_$target stopped on a failing input: see $build/crashes/$target/"
        tail -15 fuzz-0.log)
done
