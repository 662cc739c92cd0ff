#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Without a display the tests get a
# private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

scripts/with_display.sh bash -c 'cd build && ctest --output-on-failure -j2'

# Sanitizer builds of the threaded tests and the fuzz targets, each in its own build folder.
for extra in scripts/tsan.sh scripts/fuzz.sh; do
    if [ -x "$extra" ]; then
        "$extra"
    fi
done
