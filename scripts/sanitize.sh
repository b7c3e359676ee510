#!/usr/bin/env bash
# Builds the Qt-free part and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-asan and runs them, then builds the fuzz
# entries (clang, ./build-fuzz) and runs each for a few seconds from its seeds.
#
#   scripts/sanitize.sh                 (FUZZ_SECONDS, default 5 per entry)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build-asan -DPELORIN_SANITIZE=ON -DPELORIN_GUI=OFF -DPELORIN_BENCH=OFF
cmake --build build-asan -j"$jobs"
# Any report of either sanitizer fails the test that met it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build-asan --output-on-failure -j"$jobs"
JOBS=$jobs tests/fuzz/run.sh "${FUZZ_SECONDS:-5}"
