#!/usr/bin/env bash
# Builds everything and runs every test through CTest:
#   1. the product and its tests (gcc, warnings as errors);
#   2. with clang, AddressSanitizer + UndefinedBehaviorSanitizer and libFuzzer: the toolkit-free
#      tests again, the replay of the fuzzers' seed corpora and a short fuzzing run of each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_FUZZ=ON -DVELMORA_GUI=OFF
cmake --build build-fuzz -j "$jobs"
(cd build-fuzz && ctest --output-on-failure -j "$jobs")
echo "All tests passed."
