#!/usr/bin/env bash
# play_installed.sh BUILD_DIR: installs the build below a prefix with spaces in it and plays the
# opening of a game (play_game.sh) with the installed program, started through its bin link
# from another working directory. Then, installed as it is, the program with a damaged piece
# catalogue shows its message and ends with status 1, and without its pictures still opens
# its main window. Exits 77 (skipped) when no virtual X server or xdotool is installed.
set -uo pipefail

build=$1
here=$(dirname "$(readlink -f "$0")")
source "$here/common.sh"
require_tools Xvfb xdotool

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
start_virtual_screen

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
wait_until 20 window_named '^Snugbox  Ver 1\.0$' || fail "no main window without the pictures"
main=$(window_named '^Snugbox  Ver 1\.0$')
xdotool mousemove --window "$main" 86 446 click 1   # Exit
wait_for_end Exit
[[ $status == 0 ]] || fail "without the pictures the program ended with status $status"
echo "missing pictures: the main window opens and Exit ends with status 0"
