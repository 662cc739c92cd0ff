#!/usr/bin/env bash
# Installs what is missing, builds only what the game needs (the game, the chart tool, the images
# and the demo songs; no tests or benchmarks), and starts the game with the bundled demo songs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh lumatide lumatide-chart lumatide_assets demo_songs
exec build/lumatide "$@"
