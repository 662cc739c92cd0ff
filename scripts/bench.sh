#!/usr/bin/env bash
# Builds Release in build-release/, runs every benchmark in bench/ and the measurements of the
# running game, several runs each, and prints one table of min / median / max. Not part of CI; on
# a busy two-core machine it took ten minutes.
#   scripts/bench.sh               all of it
#   RUNS=5 scripts/bench.sh        more runs of each
#   BUILD=some-folder scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-release}
runs=${RUNS:-3}
command -v python3 >/dev/null || { echo "bench.sh needs python3 for its table" >&2; exit 1; }

source scripts/release_build.sh
source scripts/game_keys.sh
benches=()
for source in bench/*.cpp; do
    benches+=("bench_$(basename "$source" .cpp)")
done
build_release "$build" lumatide lumatide_assets demo_songs "${benches[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
samples="$work/samples.tsv"   # name, unit, value: one line per measurement
: >"$samples"

# Google Benchmark programs: every repetition's time and counters become samples.
run_benchmark() {
    local program=$1
    shift
    echo "running $program $*" >&2
    "$build/bench/$program" --benchmark_repetitions="$runs" --benchmark_format=json \
        --benchmark_out="$work/$program.json" --benchmark_out_format=json "$@" >/dev/null 2>"$work/$program.err" || {
        echo "$program failed:" >&2
        tail -5 "$work/$program.err" >&2
        return 0
    }
    python3 - "$work/$program.json" "$program" >>"$samples" <<'EOF'
import json, re, sys
skip = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads", "iterations",
        "real_time", "cpu_time", "time_unit", "family_index", "per_family_instance_index",
        "aggregate_name", "aggregate_unit", "error_occurred", "error_message", "label"}
program = sys.argv[2].removeprefix("bench_")
for run in json.load(open(sys.argv[1]))["benchmarks"]:
    if run.get("run_type") != "iteration" or run.get("error_occurred"):
        continue
    name = program + " " + re.sub(r"/(iterations:\d+|manual_time|real_time)", "", run["run_name"])
    print(f"{name}\t{run['time_unit']}\t{run['real_time']}")
    for key, value in run.items():
        if key not in skip and isinstance(value, (int, float)):
            print(f"{name} {key}\t\t{value}")
EOF
}

# The built game with its trace on, started in its own build folder with no sound device; its
# trace goes to $work/game.txt. Waits for the title screen.
game_pid=""
start_game() {
    : >"$work/game.txt"
    LUMATIDE_TRACE=1 SDL_AUDIODRIVER=dummy "$build/lumatide" 2>"$work/game.txt" &
    game_pid=$!
    wait_for_trace " state Title$" 20
}

wait_for_trace() {
    local pattern=$1 seconds=$2
    for _ in $(seq $((seconds * 20))); do
        grep -q "$pattern" "$work/game.txt" && return 0
        sleep 0.05
    done
    echo "the game never traced '$pattern'" >&2
    return 1
}

stop_game() {
    kill -TERM "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
}

# The once-a-second frame lines after the first (which covers the start-up), as samples.
frame_samples() {
    local where=$1
    awk -v where="$where" '$2 == "frames" { if (seen++) {
        sub("work_p50=", "", $4); sub("work_p95=", "", $5); sub("wakeups=", "", $6);
        printf "game %s fps\t/s\t%s\ngame %s work p50\tms\t%s\ngame %s work p95\tms\t%s\ngame %s wake-ups\t/s\t%s\n",
            where, $3, where, $4, where, $5, where, $6 } }' "$work/game.txt" >>"$samples"
}

# Resident memory by kind: mappings without a file (heap, anonymous maps, stacks) against those
# backed by files (the libraries, the software GL driver's above all).
memory_samples() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { file = ($6 != "" && $6 !~ /^\[/) ; special = ($6 ~ /^\[(vvar|vdso|vsyscall)\]/)
                                   driver = ($6 ~ /(\/dri\/|libLLVM|libgallium|libGLX?_mesa|libglapi)/) }
         /^Rss:/ { if (special) next; if (!file) anon += $2; else if (driver) gl += $2; else files += $2 }
         END { printf "game AUTOPLAY anonymous private\tMiB\t%.1f\ngame AUTOPLAY GL driver files\tMiB\t%.1f\ngame AUTOPLAY other files\tMiB\t%.1f\n",
                      anon / 1024, gl / 1024, files / 1024 }' \
        "/proc/$game_pid/smaps" >>"$samples"
    awk '/^VmRSS:/ { printf "game AUTOPLAY RSS\tMiB\t%.1f\n", $2 / 1024 }' "/proc/$game_pid/status" >>"$samples"
}

# Context switches (voluntary and not: each is a later wake-up) per second of each kind of thread
# over a few seconds at the title: the main thread, the software GL driver's rasteriser threads,
# SDL's audio thread and the rest (the voice thread among them).
thread_switches() {
    local task kind
    for task in /proc/"$game_pid"/task/*; do
        case $(cat "$task/comm" 2>/dev/null) in
        llvmpipe*) kind=gl-driver ;;
        SDLAudio*) kind=sdl-audio ;;
        *) kind=other ;;
        esac
        [ "${task##*/}" = "$game_pid" ] && kind=main
        awk -v kind="$kind" '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print kind, n }' "$task/status" 2>/dev/null
    done
}

wake_samples() {
    local seconds=$1
    thread_switches >"$work/switches.before"
    sleep "$seconds"
    thread_switches >"$work/switches.after"
    awk -v seconds="$seconds" 'FNR == NR { n[$1] -= $2; next } { n[$1] += $2 }
        END { for (kind in n) printf "game title wake-ups %s\t/s\t%.0f\n", kind, n[kind] / seconds }' \
        "$work/switches.before" "$work/switches.after" >>"$samples"
}

measure_title() {
    start_game || { stop_game; return 0; }
    sleep 1
    wake_samples 4
    sleep 0.5
    stop_game
    frame_samples title
    awk '$2 == "audio" && $3 == "underruns" { printf "game title underruns\t\t%s\n", $4 }' "$work/game.txt" >>"$samples"
}

measure_autoplay() {
    start_game || { stop_game; return 0; }
    focus_game "$game_pid" >/dev/null
    sleep 0.3
    press space 0.08
    if wait_for_trace " state Select$" 5; then
        sleep 0.3
        press Up 0.08
        if wait_for_trace " song start .* autoplay=1" 5; then
            sleep 5.5
            memory_samples
            stop_game
            sed -n '/ song start /,$p' "$work/game.txt" >"$work/play.txt" && mv "$work/play.txt" "$work/game.txt"
            frame_samples playing
            return 0
        fi
    fi
    stop_game
}

export -f run_benchmark start_game wait_for_trace stop_game frame_samples memory_samples thread_switches wake_samples \
    measure_title measure_autoplay press focus_game
export build work samples runs

run_benchmark bench_audio_bench
run_benchmark bench_game_bench
run_benchmark bench_images_bench
run_benchmark bench_library_bench
run_benchmark bench_sample_rate_converters_bench

scripts/with_display.sh bash -c "
    set -uo pipefail
    run_benchmark bench_render_bench_gui
    run_benchmark bench_library_size_gui --benchmark_filter='StartUpToTitle/(1|100|1000)/'
    run_benchmark bench_song_clock_gui
    run_benchmark bench_press_to_tone_gui
    for run in \$(seq $runs); do
        echo \"running the game at the title and in AUTOPLAY (\$run of $runs)\" >&2
        measure_title
        measure_autoplay
    done
"

python3 - "$samples" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, unit, value = line.rstrip("\n").split("\t")
    rows.setdefault((name, unit), []).append(float(value))
width = max(len(name) for name, _ in rows) + 2
print(f"{'measurement':<{width}}{'unit':<6}{'min':>12}{'median':>12}{'max':>12}{'n':>5}")
for (name, unit), values in rows.items():
    cells = "".join(f"{v:>12.4g}" for v in (min(values), statistics.median(values), max(values)))
    print(f"{name:<{width}}{unit:<6}{cells}{len(values):>5}")
EOF
