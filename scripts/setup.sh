#!/usr/bin/env bash
# Installs the Debian packages lumatide needs (only those missing), then configures and builds in build/.
# clang with its sanitizer and libFuzzer runtimes and llvm's symbolizer serve scripts/test.sh's
# sanitizer and fuzz builds.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev
          libpng-dev libfreetype-dev libfontconfig-dev libvorbis-dev libogg-dev libsamplerate0-dev
          fonts-vlgothic fonts-dejavu-core googletest libgtest-dev libbenchmark-dev
          xvfb xauth xdotool
          clang libclang-rt-dev llvm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j"$(nproc)"
