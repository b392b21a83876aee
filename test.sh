#!/usr/bin/env bash
# Installs what is missing, builds a debug build with AddressSanitizer, UndefinedBehaviorSanitizer
# and warnings as errors (with clang, which also builds the fuzz target), and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh test

build=build/debug-sanitize
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSCORE_WERROR=ON -DSCORE_SANITIZE=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
