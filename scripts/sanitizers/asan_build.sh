# Sourced by scripts/asan.sh and scripts/fuzz.sh. One clang build in build-asan/ (or the folder
# named by LUMATIDE_ASAN_BUILD_DIR) carries AddressSanitizer, UBSan with float-to-int overflow,
# and libFuzzer's coverage on every object: the whole test suite and the fuzz targets run on the
# same sanitized code, compiled once.
asan_build=${LUMATIDE_ASAN_BUILD_DIR:-build-asan}

configure_asan_build() {
    if ! command -v clang >/dev/null 2>&1 || ! command -v clang++ >/dev/null 2>&1; then
        echo "$(basename "$0"): clang not found (scripts/setup.sh installs it)" >&2
        exit 1
    fi
    CC=clang CXX=clang++ cmake -S . -B "$asan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DLUMATIDE_ASAN=ON -DLUMATIDE_FUZZ=ON \
        -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
}

# Leaks and faults end the process with a report; leaks inside other projects' libraries are
# listed, one reason each, in lsan.supp.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizers/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
