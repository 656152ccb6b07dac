#!/usr/bin/env bash
# Builds the libFuzzer target with clang (ASan + UBSan) in build-fuzz and runs it.
# Usage: scripts/fuzz.sh [seconds] [extra libFuzzer arguments...]   (default 300 seconds)
# New inputs collect in build-fuzz/corpus (seeded from fuzz/corpus), crashing ones in build-fuzz/crashes;
# replay one with: build-fuzz/fuzz/app_fuzzer build-fuzz/crashes/<file>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
shift || true
build_dir="$root/build-fuzz"

"$root/scripts/install-deps.sh" fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZETA_FUZZ=ON -DZETA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" --target app_fuzzer

mkdir -p "$build_dir/corpus" "$build_dir/crashes"
# Inputs are short programs of input events; a calculation is stopped at the end of each, so 30 s without
# an end is a hang.
"$build_dir/fuzz/app_fuzzer" -max_total_time="$seconds" -max_len=256 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$build_dir/crashes/" "$@" "$build_dir/corpus" "$root/fuzz/corpus"
