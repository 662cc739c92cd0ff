#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan (scripts/sanitizers/asan_build.sh) and runs
# the whole test suite with it, the GUI tests and the game they start included, under a display.
# Any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizers/asan_build.sh

configure_asan_build
cmake --build "$asan_build" -j"$(nproc)"
# Mesa's software rasteriser keeps two blocks in its globals when it is unloaded at exit; from
# then on nothing names their allocating code, so no suppression can match them. Preloaded, it
# stays mapped and the blocks stay reachable.
mesa_driver=/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so
if [ -f "$mesa_driver" ]; then
    export LD_PRELOAD="$mesa_driver${LD_PRELOAD:+:$LD_PRELOAD}"
fi
scripts/with_display.sh bash -c "cd '$asan_build' && ctest --output-on-failure -j2"
