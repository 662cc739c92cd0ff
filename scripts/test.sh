#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the plain build's suite (under a private
# Xvfb when there is no display), then the whole suite again with AddressSanitizer and UBSan, the
# fuzz targets on the same sanitized build, and ThreadSanitizer over the audio tests and a played
# song. Each sanitizer build has its own folder. FUZZ_SECONDS sets each fuzz target's time.
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

step setup scripts/setup.sh
step tests scripts/with_display.sh bash -c 'cd build && ctest --output-on-failure -j2'
step asan scripts/asan.sh
step fuzz scripts/fuzz.sh
step tsan scripts/tsan.sh
