#!/usr/bin/env bash
# Builds the audio tests with ThreadSanitizer in build-tsan/ and runs them: the mixer's audio
# thread, the voice thread and the main thread must share their state without a data race.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(audio_threads_test audio_core_test audio_disk_test)
cmake -S . -B build-tsan -DLUMATIDE_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-tsan -j"$(nproc)" --target "${targets[@]}"

export TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}"
for target in "${targets[@]}"; do
    echo "tsan: $target"
    build-tsan/tests/audio/"$target" --gtest_brief=1
done
