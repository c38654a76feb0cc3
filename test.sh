#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
werror=$([ -n "${CI:-}" ] && echo ON || echo OFF)
jobs=$(nproc)

echo "== build and test: build/"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR="$werror" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
