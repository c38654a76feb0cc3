#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: an optimised build in build/,
# and a clang build with AddressSanitizer + UndefinedBehaviorSanitizer and the fuzz target in
# build-asan/. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
werror=$([ -n "${CI:-}" ] && echo ON || echo OFF)
jobs=$(nproc)

echo "== build/: optimised build, all tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR="$werror" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build-asan/: ASan + UBSan, all tests and the fuzz target"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARN_SANITIZE=ON -DQUARN_FUZZ=ON -DQUARN_WERROR="$werror" >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
