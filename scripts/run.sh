#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game with the bundled demo songs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/lumatide "$@"
