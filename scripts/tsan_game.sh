#!/usr/bin/env bash
# Plays the ThreadSanitizer build of the game (the build folder is the first argument) through one
# short AUTOPLAY song and the same song by hand on the current display, with the wave and unison
# keys and held tone presses while the music, voice and audio threads run, then quits. Fails on any ThreadSanitizer report
# and on any step the game does not reach.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
: "${DISPLAY:?needs a display: run it through scripts/with_display.sh}"

folder=$(mktemp -d /tmp/lumatide-tsan-game-XXXXXX)
game=
cleanup() {
    [ -n "$game" ] && kill -9 "$game" 2>/dev/null
    rm -rf "$folder"
}
trap cleanup EXIT

# The game as installed: its executable, images and one song of six seconds of music.
cp "$build/lumatide" "$folder/"
cp -r "$build/img" "$folder/img"
mkdir "$folder/data"
cp fuzz/seeds/music/mono_8000_6s.ogg "$folder/data/tsan.ogg"
printf 'tsan.txt\n' >"$folder/data/songlist.txt"
printf 'TITLE:tsan\nLEVEL:1\nWAVE:tsan.ogg\nBPM:120\nOFFSET:0\n#START\n,\n4c 4e 4G 4c ,\n4e 4d 4c 40 ,\n#END\n' \
    >"$folder/data/tsan.txt"

log=$folder/stderr.txt
suppressions=$PWD/scripts/sanitizers/tsan.supp
# No sound server under Xvfb, and Mesa's rasteriser threads are not ours to check.
(cd / && SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0 LUMATIDE_TRACE=1 \
    TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$suppressions ${TSAN_OPTIONS:-}" \
    exec "$folder/lumatide" 2>"$log") &
game=$!

fail() {
    trap - ERR
    echo "tsan game: $1" >&2
    tail -60 "$log" >&2
    exit 1
}
trap 'fail "line $LINENO failed"' ERR

# Waits up to $2 seconds for a trace line matching $1 (an extended regular expression) after the
# line the last wait found.
seen=0
wait_for() {
    local deadline=$((SECONDS + $2)) found
    while :; do
        found=$(tail -n "+$((seen + 1))" "$log" | grep -nEm1 "$1" | cut -d: -f1 || true)
        if [ -n "$found" ]; then
            seen=$((seen + found))
            return
        fi
        kill -0 "$game" 2>/dev/null || fail "the game ended before \"$1\""
        [ $SECONDS -lt $deadline ] || fail "no \"$1\" within $2 s"
        sleep 0.1
    done
}

source scripts/game_keys.sh

wait_for ' state Title$' 60
window=$(focus_game "$game")
[ -n "$window" ] || fail "no window showing the title"
sleep 0.3
press space
wait_for ' state Select$' 20
press Up
wait_for ' song start tsan\.txt autoplay=1 ' 20

# Every toggle twice, so the game ends with the wave and unison it started with; the tone held
# longer than a frame, steered with the mouse, and released while the music plays on. In AUTOPLAY
# the driver plays the tone; by hand these presses do.
toggle_and_play() {
    for key in w e w e; do
        press "$key"
        xdotool mousemove --window "$window" 100 400 keydown space
        sleep 0.15
        xdotool mousemove --window "$window" 500 100
        sleep 0.15
        xdotool keyup space
        sleep 0.2
    done
}
toggle_and_play
wait_for ' song end ' 120

sleep 1.2
press space
wait_for ' state Select$' 20
# Past the menus' 200 ms repeat gate, the same song by hand, left with Escape.
sleep 0.3
press space
wait_for ' song start tsan\.txt autoplay=0 ' 20
toggle_and_play
press Escape
wait_for ' state Title$' 20
sleep 0.3
press Escape
for _ in $(seq 100); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game" 2>/dev/null && fail "the game did not quit within 10 s"
status=0
wait "$game" || status=$?
game=
grep -q 'ThreadSanitizer' "$log" && fail "ThreadSanitizer report"
[ "$status" -eq 0 ] || fail "the game exited with status $status"
echo "tsan game: title, select, a song in AUTOPLAY and by hand with wave, unison and tone keys, quit: no report"
