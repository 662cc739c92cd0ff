#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the plain build's suite (under a private
# Xvfb when there is no display), then the whole suite again with AddressSanitizer and UBSan, the
# fuzz targets on the same sanitized build, and ThreadSanitizer over the audio tests and a played
# song, then the desktop entry and AppStream data through their validators and the Debian package
# (scripts/package.sh), and last the format check and clang-tidy (scripts/lint.sh). Each sanitizer
# build has its own folder. FUZZ_SECONDS sets each fuzz target's time. Every
# step after the set-up runs even when an earlier one failed, so one run shows every failure.
set -euo pipefail
cd "$(dirname "$0")/.."

failed=()
step() {
    local name=$1 start=$SECONDS status=0
    shift
    echo "== $name"
    "$@" || status=$?
    if [ "$status" -eq 0 ]; then
        echo "== $name: $((SECONDS - start)) s"
    else
        echo "== $name: $((SECONDS - start)) s, FAILED (exit $status)"
        failed+=("$name")
    fi
}

step setup scripts/setup.sh
[ ${#failed[@]} -eq 0 ] || exit 1
step tests scripts/with_display.sh bash -c 'cd build && ctest --output-on-failure -j2'
step asan scripts/asan.sh
step fuzz scripts/fuzz.sh
step tsan scripts/tsan.sh
step desktop desktop-file-validate packaging/io.github.lumatide.Lumatide.desktop
step appstream appstreamcli validate --no-net packaging/io.github.lumatide.Lumatide.metainfo.xml
step package scripts/package.sh
step lint scripts/lint.sh

if [ ${#failed[@]} -gt 0 ]; then
    echo "test.sh: failed: ${failed[*]}"
    exit 1
fi
