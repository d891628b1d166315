#!/usr/bin/env bash
# Installs dependencies, builds the sanitizer configuration and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
JOBS="${JOBS:-$(nproc)}"
# The benchmarks are timed in an optimised build (bench/); the sanitizer build leaves them out.
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DSORAFUNE_SANITIZE=ON -DSORAFUNE_TSAN=OFF -DSORAFUNE_BENCHMARKS=OFF \
  -DSORAFUNE_WERROR=ON > /dev/null
cmake --build build/asan -j "$JOBS"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build/asan --output-on-failure -j "$JOBS" --timeout 600

# The sound threads again under ThreadSanitizer.
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DSORAFUNE_TSAN=ON -DSORAFUNE_SANITIZE=OFF -DSORAFUNE_BENCHMARKS=OFF \
  -DSORAFUNE_WERROR=ON > /dev/null
cmake --build build/tsan -j "$JOBS" --target test_sound
mkdir -p build/tsan/test-tmp
SORAFUNE_TEST_TMP="$PWD/build/tsan/test-tmp" TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
  timeout 900 build/tsan/tests/test_sound
