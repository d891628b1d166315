#!/usr/bin/env bash
# Installs dependencies, builds the sanitizer configuration and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
JOBS="${JOBS:-$(nproc)}"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DSORAFUNE_SANITIZE=ON > /dev/null
cmake --build build/asan -j "$JOBS"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build/asan --output-on-failure -j "$JOBS" --timeout 600
