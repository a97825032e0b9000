#!/usr/bin/env bash
# play_installed.sh BUILD_DIR: installs the build below a prefix with spaces in it and plays the
# opening of a game (play_game.sh) with the installed program, started through its bin link
# from another working directory. Then, installed as it is, the program with a damaged piece
# catalogue shows its message and ends with status 1, and without its pictures still opens
# its main window. Exits 77 (skipped) when no virtual X server or xdotool is installed.
set -uo pipefail

build=$1
here=$(dirname "$(readlink -f "$0")")
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
finish() {
    [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}

root="$work/dest/opt/snug box"
DESTDIR="$work/dest" cmake --install "$build" --prefix "/opt/snug box" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; }
program="$root/bin/snugbox"
mkdir "$work/elsewhere"
cd "$work/elsewhere" || fail "no working directory"

bash "$here/play_game.sh" "$program" "$root/share/applications/org.example.snugbox.Snugbox.desktop"
status=$?
((status == 0)) || exit $status
echo "the installed program played, started through bin/snugbox from another directory"

# --- damaged or missing data, in the installed tree -----------------------------------------
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
# -noreset: between two programs the server has no client, and a server that resets then
# refuses the next one for a moment.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until 10 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb

start_game() {
    "$program" >"$work/snugbox.log" 2>&1 &
    game_pid=$!
}
# Sets status to the program's exit status once it has ended.
wait_for_end() {
    wait_until 10 game_ended || fail "$1 did not end the program"
    wait "$game_pid"
    status=$?
    game_pid=
}
game_ended() { ! ps -o stat= -p "$game_pid" | grep -qv '^Z'; }
window_named() {
    local found
    found=$(xdotool search --all --onlyvisible --pid "$game_pid" --name "$1" 2>/dev/null | head -1)
    [[ -n $found ]] && echo "$found"
}

lib="$root/lib/snugbox"
cp "$lib/ALLPIECES.PDAT" "$work/catalogue"
head -c 100 "$work/catalogue" >"$lib/ALLPIECES.PDAT"
start_game
wait_until 20 window_named '^Snugbox$' || fail "no message about the damaged catalogue"
box=$(window_named '^Snugbox$')
[[ -z $(window_named 'Ver') ]] || fail "the main window opened with a damaged catalogue"
# OK; the box is gone before the key is let go, which xdotool reports as an X error.
xdotool key --window "$box" Return 2>/dev/null
wait_for_end "OK on the message"
[[ $status == 1 ]] || fail "a damaged catalogue ended the program with status $status, not 1"
echo "a damaged catalogue: a message box, then status 1"

cp "$work/catalogue" "$lib/ALLPIECES.PDAT"
rm "$lib/ALLPICDATA.BMP" "$lib/BGIMG.BMP"
start_game
wait_until 20 window_named '^Snugbox  Ver 1\.0$' || fail "no main window without the pictures: $(cat "$work/snugbox.log")"
main=$(window_named '^Snugbox  Ver 1\.0$')
xdotool mousemove --window "$main" 86 446 click 1   # Exit
wait_for_end Exit
[[ $status == 0 ]] || fail "without the pictures the program ended with status $status"
echo "missing pictures: the main window opens and Exit ends with status 0"
