# Sourced by the end-to-end scripts: a work folder that goes at the end with every process
# left running, a virtual X server of their own, and waiting on the game.
#
#   require_tools TOOL...   exits 77 (skipped) unless every tool is installed
#   start_virtual_screen    Xvfb on a free display; DISPLAY, the store's folder (under the
#                           work folder) and Qt's platform set for the programs started next
#   wait_until SECONDS CMD  runs CMD every 100 ms until it succeeds; false after SECONDS
#   game_running, game_ended, window_named PATTERN   about $game_pid
#   fail MESSAGE            prints it with $fail_prefix and the game's log, exits 1
# A script stops helpers of its own by adding their pids to stop_at_end, and sets
# game_stop_signal to end a game still running at the end some other way than with TERM.

require_tools() {
    local tool
    for tool; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
    done
}

work=$(mktemp -d)
xvfb_pid=
game_pid=
game_stop_signal=TERM
stop_at_end=()
fail_prefix=FAILED

finish() {
    local pid
    [[ -n $game_pid ]] && kill "-$game_stop_signal" "$game_pid" 2>/dev/null
    for pid in "${stop_at_end[@]}"; do kill "$pid" 2>/dev/null; done
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "$fail_prefix: $*"
    [[ -f $work/snugbox.log ]] && sed 's/^/  snugbox: /' "$work/snugbox.log"
    exit 1
}

wait_until() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

game_running() { ps -o stat= -p "$game_pid" 2>/dev/null | grep -qv '^Z'; }
game_ended() { ! game_running; }
# The first window of the game shown on the screen with a title matching the pattern.
window_named() {
    local found
    found=$(xdotool search --all --onlyvisible --pid "$game_pid" --name "$1" 2>/dev/null | head -1)
    [[ -n $found ]] && echo "$found"
}

start_virtual_screen() {
    # -noreset: between two programs the server has no client, and a server that resets
    # then refuses the next one for a moment.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until 10 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
    export XDG_CONFIG_HOME="$work/config"
    export QT_QPA_PLATFORM=xcb
    mkdir -p "$XDG_CONFIG_HOME"
}
