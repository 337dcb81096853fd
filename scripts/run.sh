#!/usr/bin/env bash
# Installs what is missing, builds the desktop program and starts it in the folder of
# the sample dictionary, so the lists are filled at once.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build desktop

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target vardun
cd sample
exec ../build/vardun "$@"
