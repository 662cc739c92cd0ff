# Sourced by the scripts that drive the built game under a display with xdotool.

# Holds a key for $2 seconds (default 0.1): the game polls once a frame and misses a shorter tap.
press() {
    xdotool keydown "$1"
    sleep "${2:-0.1}"
    xdotool keyup "$1"
}

# Hands the keyboard to the game's window (process $1): without a window manager the focus stays
# with whatever window had it last. Prints the window, or nothing when it is not on screen.
focus_game() {
    local window
    window=$(xdotool search --all --onlyvisible --pid "$1" --name '^lumatide$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null || true
    echo "$window"
}
