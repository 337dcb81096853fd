#!/usr/bin/env bash
# A long random walk through the whole program under AddressSanitizer and
# UndefinedBehaviorSanitizer, reproducible from its seed:
#   scripts/random-walk.sh [SEED] [ACTIONS] [WALKS]     (defaults: 1, 100000, 1)
# Walk k uses seed SEED + k; a broken rule names its seed and action.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build desktop

cmake -S . -B build-san-ui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDUN_SANITIZE=ON -DVARDUN_BENCH=OFF
cmake --build build-san-ui -j "$(nproc)" --target random_walk_test

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-qt.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export VARDUN_WALK_SEED=${1:-1} VARDUN_WALK_ACTIONS=${2:-100000} VARDUN_WALKS=${3:-1}
exec build-san-ui/tests/random_walk_test
