#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Without a display the tests run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

run_ctest() { (cd build && ctest --output-on-failure -j2 "$@"); }

if [ -n "${DISPLAY:-}" ]; then
    run_ctest
else
    # -a picks a free display number; the screen is larger than any window the tests open.
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run_ctest); run_ctest"
fi

# Sanitizer builds of the threaded tests and the fuzz targets, each in its own build folder.
for extra in scripts/tsan.sh scripts/fuzz.sh; do
    if [ -x "$extra" ]; then
        "$extra"
    fi
done
