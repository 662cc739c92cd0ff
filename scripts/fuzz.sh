#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan over the game code too) in
# fuzz-build/ (or $FUZZ_BUILD_DIR) and runs each briefly over its seed corpus. Fails on any crash.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1 || ! command -v clang >/dev/null 2>&1; then
    echo "fuzz.sh: clang not found, fuzz targets skipped"
    exit 0
fi

seconds=${FUZZ_SECONDS:-20}
build=${FUZZ_BUILD_DIR:-fuzz-build}
sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"
CC=clang CXX=clang++ cmake -S . -B "$build" -DLUMATIDE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

for fuzzer in "$build"/fuzz/*_fuzzer; do
    name=$(basename "$fuzzer" _fuzzer)
    corpus=$build/corpus/$name
    mkdir -p "$corpus"
    if [ -d "fuzz/seeds/$name" ]; then
        cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
    fi
    echo "fuzzing $name for ${seconds}s"
    "$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 "$corpus" \
        -artifact_prefix="$build/$name-" 2>"$build/$name.log" || {
        tail -40 "$build/$name.log"
        echo "fuzz.sh: $name found a crash (input saved under $build/)"
        exit 1
    }
    tail -1 "$build/$name.log"
done
