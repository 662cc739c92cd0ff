#!/usr/bin/env bash
# Builds the libFuzzer targets in the ASan build (scripts/sanitizers/asan_build.sh) and runs each
# for FUZZ_SECONDS (default 40) over its seeds in fuzz/seeds/<name>/, two at a time on two or more
# cores. Every target runs; the script fails at the end when any of them found a crash, a leak, a
# time-out or one input asking for more than 512 MB at once (none of a few kilobytes should), with
# the input saved beside the target's log in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizers/asan_build.sh

seconds=${FUZZ_SECONDS:-40}
configure_asan_build
cmake --build "$asan_build" -j"$(nproc)" --target fuzzers

results=$asan_build/fuzz/results
rm -rf "$results"
mkdir -p "$results"

run_fuzzer() {
    local fuzzer=$1 name corpus log
    name=$(basename "$fuzzer" _fuzzer)
    corpus=$asan_build/fuzz/corpus/$name
    log=$asan_build/fuzz/$name.log
    mkdir -p "$corpus"
    if [ -d "fuzz/seeds/$name" ]; then
        cp fuzz/seeds/"$name"/* "$corpus"/
    fi
    if "$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -malloc_limit_mb=512 -print_final_stats=1 \
        -artifact_prefix="$asan_build/fuzz/$name-" "$corpus" >"$log" 2>&1; then
        echo "fuzz $name: $(grep -Eo 'cov: [0-9]+ ft: [0-9]+ corp: [0-9/a-zA-Z]+' "$log" | tail -1)," \
            "$(grep -Eo 'stat::number_of_executed_units: [0-9]+' "$log" | grep -Eo '[0-9]+$') runs in ${seconds}s"
    else
        # Counted before anything else here can fail under set -e.
        touch "$results/$name"
        echo "fuzz $name: FAILED (log: $log)"
        grep -m 20 -E '^(==[0-9]+==|SUMMARY|.*runtime error|.*_fuzzer: |artifact_prefix|Test unit written)' "$log" || true
    fi
}

parallel=$(( $(nproc) >= 2 ? 2 : 1 ))
for fuzzer in "$asan_build"/fuzz/*_fuzzer; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    run_fuzzer "$fuzzer" &
done
wait

failed=$(ls "$results")
if [ -n "$failed" ]; then
    echo "fuzz.sh: crashes found by: $failed"
    exit 1
fi
