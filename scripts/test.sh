#!/usr/bin/env bash
# Installs what is missing, checks the formatting and the includes, builds everything and
# runs every test: the full build (windows included, on Qt's offscreen platform), the core
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then the report tool's tests
# and a random walk through the windows under the same sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build desktop checks

# Every source file as the repository's .clang-format writes it.
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
python3 scripts/check-includes.py

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# Any sanitizer report aborts the test that caused it, so ctest fails.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDUN_CORE_ONLY=ON -DVARDUN_SANITIZE=ON
cmake --build build-san -j "$jobs"
ctest --test-dir build-san --output-on-failure -j "$jobs"

# With the windows under the same sanitizers: the report tool's tests (labelled "tool"),
# and a short random walk through the whole program (a long one: scripts/random-walk.sh);
# only what they need is built.
cmake -S . -B build-san-ui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDUN_SANITIZE=ON -DVARDUN_BENCH=OFF
tool_tests=$(cd tests/core && ls report_*test.cpp workbook_test.cpp | grep -v _windows_ | sed 's/\.cpp$//')
cmake --build build-san-ui -j "$jobs" --target random_walk_test vardun-report $tool_tests
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-qt.supp:print_suppressions=0
ctest --test-dir build-san-ui --output-on-failure -j "$jobs" -L tool
VARDUN_WALK_ACTIONS=3000 build-san-ui/tests/random_walk_test
