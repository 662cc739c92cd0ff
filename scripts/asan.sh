#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan (scripts/sanitizers/asan_build.sh) and runs
# the whole test suite with it, the GUI tests and the game they start included, under a display.
# Any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizers/asan_build.sh

configure_asan_build
cmake --build "$asan_build" -j"$(nproc)"
scripts/with_display.sh bash -c "cd '$asan_build' && ctest --output-on-failure -j2"
