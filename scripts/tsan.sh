#!/usr/bin/env bash
# Builds the audio tests with ThreadSanitizer and runs them: the mixer's audio thread, the voice
# thread and the main thread must share their state without a data race. The build goes to
# build-tsan/, or to the folder named by LUMATIDE_TSAN_BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${LUMATIDE_TSAN_BUILD_DIR:-build-tsan}"
targets=(audio_threads_test audio_core_test audio_disk_test)
cmake -S . -B "$build" -DLUMATIDE_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}"
for target in "${targets[@]}"; do
    echo "tsan: $target"
    "$build"/tests/audio/"$target" --gtest_brief=1
done
