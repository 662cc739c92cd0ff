# Sourced by the scripts that measure the game: a Release build, through ccache when it is there.
#   build_release FOLDER TARGET...
build_release() {
    local folder=$1
    shift
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$(pwd)")}
    fi
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
    cmake --build "$folder" -j2 --target "$@" >/dev/null
}
