#!/usr/bin/env bash
# Runs a command with a display: the current one, or a private Xvfb on a display number the
# server picks itself (-displayfd), so that runs started at the same time never share a server.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec {ready}<> <(:)
Xvfb -displayfd "$ready" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
read -r -t 20 number <&"$ready" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
"$@"
