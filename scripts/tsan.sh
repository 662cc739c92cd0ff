#!/usr/bin/env bash
# Builds the audio tests and the game with ThreadSanitizer and runs them: the mixer's audio
# thread, the voice thread and the main thread must share their state without a data race, in
# the tests and in the game playing a song (scripts/tsan_game.sh, under a display). The build goes
# to build-tsan/, or to the folder named by LUMATIDE_TSAN_BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${LUMATIDE_TSAN_BUILD_DIR:-build-tsan}"
tests=(audio_threads_test audio_core_test audio_disk_test)
cmake -S . -B "$build" -DLUMATIDE_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${tests[@]}" test_voice lumatide lumatide_assets

export TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}"
for target in "${tests[@]}"; do
    echo "tsan: $target"
    "$build"/tests/audio/"$target" --gtest_brief=1
done
# The stand-in recording's feed thread and the capture thread's readout.
"$build"/tests/voice/test_voice --gtest_brief=1 --gtest_filter='MicFile.*:VoiceCapture.*'
scripts/with_display.sh scripts/tsan_game.sh "$build"
