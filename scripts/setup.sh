#!/usr/bin/env bash
# Installs the Debian packages lumatide needs (only those missing), then configures and builds in
# build/: the targets named as arguments, or everything.
# clang with its sanitizer and libFuzzer runtimes and llvm's symbolizer serve scripts/test.sh's
# sanitizer and fuzz builds; the desktop-file and AppStream validators and dpkg-shlibdeps its
# package step.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev
          libpng-dev libfreetype-dev libfontconfig-dev libvorbis-dev libogg-dev libsamplerate0-dev libsndfile1-dev libavformat-dev libavcodec-dev
          fonts-vlgothic fonts-dejavu-core googletest libgtest-dev libbenchmark-dev
          xvfb xauth xdotool
          clang libclang-rt-dev llvm
          desktop-file-utils appstream dpkg-dev libaubio-dev)

source scripts/install_packages.sh
install_packages "${packages[@]}"

build_type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build -j"$(nproc)" "${targets[@]}"
