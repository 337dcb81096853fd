#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them against its seeds.
#   scripts/fuzz.sh datafile|dictionary|pipeline [seconds]      (default 600 seconds)
# The pipeline target starts from the data file seeds.
# New inputs collect in build-fuzz/corpus/<name>/, crashes in build-fuzz/crashes/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."

name=${1:-}
seconds=${2:-600}
case "$name" in
    datafile | dictionary | pipeline) ;;
    *) echo "usage: scripts/fuzz.sh datafile|dictionary|pipeline [seconds]" >&2; exit 2 ;;
esac

bash scripts/deps.sh build fuzz

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDUN_CORE_ONLY=ON -DVARDUN_FUZZ=ON
cmake --build build-fuzz -j "$(nproc)" --target "${name}_fuzz"

corpus=build-fuzz/corpus/$name
crashes=build-fuzz/crashes/$name
mkdir -p "$corpus" "$crashes"
seeds=fuzz/seeds/$name
[[ "$name" == pipeline ]] && seeds=fuzz/seeds/datafile
exec "build-fuzz/fuzz/${name}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "$seeds"
