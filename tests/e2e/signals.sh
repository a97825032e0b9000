#!/usr/bin/env bash
# signals.sh SNUGBOX STATE SIGNAL: brings the real program into one state on a virtual X
# server, sends it the signal (TERM, INT or HUP) and checks that it ends at once, as the
# close box would end it, with the exit status and the store that the state calls for.
#   error-box     the start-up box about a damaged piece catalogue: status 1, as for its OK
#   welcome       the welcome picture: status 0, the main window never shows, the store saved
#   best-scores   the best-scores table opened from the menu: status 0, the store saved
#   name-typed    the name entry after a ranked score, with "Ada" typed: status 0, the
#                 score stored with "Ada"
#   name-empty    the same with nothing typed: the score stored with "-"
# Exits 77 (skipped) when no virtual X server or xdotool is installed.
set -uo pipefail

snugbox=$1
state=$2
signal=$3

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
require_tools Xvfb xdotool xev stdbuf
game_stop_signal=KILL
fail_prefix="FAILED ($state, SIG$signal)"

shown() { [[ -n $(window_named "$1") ]]; }
any_window_shown() { [[ -n $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null) ]]; }

start_virtual_screen
store="$XDG_CONFIG_HOME/Quillon/Snugbox/1.0.ini"
mkdir -p "$(dirname "$store")"

# The program looks for its data next to itself: a copy of it in a folder of our own.
program_dir="$work/program"
mkdir -p "$program_dir"
cp "$snugbox" "$(dirname "$snugbox")"/*.PDAT "$(dirname "$snugbox")"/*.BMP "$program_dir"/
program="$program_dir/$(basename "$snugbox")"

main_window='^Snugbox  Ver 1\.0$'
click_main() { xdotool mousemove --window "$(window_named "$main_window")" "$1" "$2" click 1; }

# Eight rows below zero, so that a game lost at once with 0 points still earns the first place.
seed_store_below_zero() {
    {
        echo '[General]'
        printf '2STATS=@ByteArray('
        for row in 1 2 3 4 5 6 7 8; do printf '\\xff\\xff\\xff\\xff'; done
        echo ')'
        for row in 1 2 3 4 5 6 7 8; do echo "2STATS$row=Below $row"; done
    } >"$store"
}

start() {
    # Every window that appears on the screen, from the start, line by line as it happens.
    stdbuf -oL xev -root -event substructure >"$work/screen.log" 2>&1 &
    stop_at_end+=($!)
    sleep 0.3
    "$program" >"$work/snugbox.log" 2>&1 &
    game_pid=$!
}

case $state in
error-box)
    printf 'not a catalogue' >"$program_dir/ALLPIECES.PDAT"
    start
    wait_until 30 shown '^Snugbox$' || fail "no error box"
    expected_status=1
    ;;
welcome)
    start
    wait_until 30 any_window_shown || fail "no welcome screen"
    shown "$main_window" && fail "the main window came first"
    expected_status=0
    ;;
best-scores)
    start
    wait_until 30 shown "$main_window" || fail "no main window"
    click_main 86 296
    wait_until 10 shown '^Best Scores - Snugbox$' || fail "the best scores did not open"
    expected_status=0
    ;;
name-typed | name-empty)
    seed_store_below_zero
    start
    wait_until 30 shown "$main_window" || fail "no main window"
    click_main 86 246
    # A piece every three seconds on level 1: five slots are full after twelve, and the
    # next piece ends the game.
    wait_until 60 shown '^Best Score$' || fail "the name entry did not open"
    if [[ $state == name-typed ]]; then
        entry=$(window_named '^Best Score$')
        sleep 0.5   # the name box takes the focus once the dialog shows
        xdotool windowfocus --sync "$entry" type --delay 50 Ada
        sleep 0.5
    fi
    expected_status=0
    ;;
*)
    fail "no such state"
    ;;
esac

kill -s "$signal" "$game_pid"
sent=$(date +%s.%N)
wait_until 10 game_ended || fail "still running 10 s after SIG$signal"
took=$(awk -v a="$sent" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
wait "$game_pid"
status=$?
game_pid=
[[ $status -eq $expected_status ]] || fail "ended with status $status instead of $expected_status"
! grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error' "$work/snugbox.log" || fail "the sanitizers reported a fault"
echo "$state: SIG$signal ended the program in ${took}s with status $status"

case $state in
welcome)
    windows_shown=$(grep -c MapNotify "$work/screen.log")
    ((windows_shown == 1)) || fail "$windows_shown windows appeared: the main window followed the welcome picture"
    ;;&
welcome | best-scores)
    # Mode 2 in bytes 2-3 of the stored block: the main window saved as it closed.
    grep -q '^SOLVINGDATA=@ByteArray(\\0\\0\\x2\\0' "$store" || fail "nothing saved: $(cat "$store")"
    ;;
name-typed | name-empty)
    name=Ada
    [[ $state == name-empty ]] && name=-
    grep -qx "2STATS1=$name" "$store" || fail "row 1 is not \"$name\": $(grep '^2STATS' "$store")"
    grep -qx '2STATS2=Below 1' "$store" || fail "the old rows did not move down: $(grep '^2STATS' "$store")"
    grep -q '^2STATS=@ByteArray(\\0\\0\\0\\0\\xff\\xff\\xff\\xff' "$store" ||
        fail "the score 0 is not first: $(grep '^2STATS=' "$store")"
    echo "the score was saved with the name \"$name\""
    ;;
esac
exit 0
