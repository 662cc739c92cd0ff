#!/usr/bin/env bash
# Underrun soak: the built game plays AUTOPLAY songs one after another for a while, under whatever
# load the machine has, and reports the output's underrun count (the `audio underruns N` trace line
# at shutdown: pulls that came later than half a buffer after the listener ran out of frames).
# Not part of CI; run it when the output buffer or the audio threads change.
#   scripts/audio_soak.sh                  ten minutes
#   MINUTES=2 scripts/audio_soak.sh
#   BUILD=build scripts/audio_soak.sh      an existing build instead of a fresh Release one
#   SDL_AUDIODRIVER=alsa scripts/audio_soak.sh   a real sound device
# By default no SDL driver opens, so the game plays through its own silent output, which pulls
# the mixer on a fixed real-time schedule as a sound card's clock would, with the buffer size the
# device would have had (the message box about the missing output is dismissed). SDL's dummy
# driver is no stand-in: it sleeps one buffer after each pull, so under load it falls behind real
# time and its pulls count as late.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-release}
minutes=${MINUTES:-10}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-none-for-the-soak}

source scripts/release_build.sh
source scripts/game_keys.sh
[ "${BUILD:-}" = "" ] && build_release "$build" lumatide lumatide_assets demo_songs

soak() {
    set -euo pipefail
    local window box deadline load_before
    trace=$(mktemp)
    pid=""
    trap 'kill -TERM $pid 2>/dev/null || true; rm -f "$trace"' EXIT
    load_before=$(cut -d' ' -f1-3 /proc/loadavg)
    LUMATIDE_TRACE=1 "$build/lumatide" 2>"$trace" &
    pid=$!
    # The last screen the game traced, or "ended" once the song just played has ended.
    screen() {
        awk '$2 == "state" { screen = $3 } $2 == "song" && $3 == "end" { screen = "ended" } END { print screen }' "$trace"
    }
    for _ in $(seq 200); do
        [ "$(screen)" = Title ] && break
        # The box that says no output opened holds the start-up until it is closed.
        box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Error$' 2>/dev/null | head -1 || true)
        [ -n "$box" ] && xdotool windowfocus "$box" key Return 2>/dev/null || true
        sleep 0.1
    done
    focus_game "$pid" >/dev/null
    deadline=$((SECONDS + minutes * 60))
    while [ $SECONDS -lt $deadline ]; do
        kill -0 "$pid" 2>/dev/null || { echo "the game stopped early:" >&2; tail -5 "$trace" >&2; exit 1; }
        case $(screen) in
        Title) press space 0.08 ;;
        Select) press Up 0.08 ;;
        ended) press space 0.08 ;; # leaves the song once its result has been shown
        esac
        sleep 1
    done
    kill -TERM "$pid"
    wait "$pid" || true
    echo "soak: $minutes min, $(grep -c " song start " "$trace") AUTOPLAY songs started, driver $(awk '$2 == "audio" && $3 != "underruns" { print $3, $5 " frames" }' "$trace")"
    echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"
    grep -E ' audio underruns [0-9]+$' "$trace" | cut -d' ' -f2- || { echo "no underrun line traced" >&2; exit 1; }
}
export -f soak press focus_game
export build minutes
scripts/with_display.sh bash -c soak
