#!/usr/bin/env bash
# play_game.sh SNUGBOX DESKTOP_ENTRY: plays the opening of a game with the real program on a
# virtual X server, as a player would: the welcome screen, the main window with its welcome
# message, its icon and the window class the desktop entry names, a new game, the first piece
# taken, carried with its shadow and dropped, then Exit, and the store it left. SNUGBOX may be
# a link to the program. Exits 77 (skipped) when no virtual X server or xdotool is installed.
# With SNUGBOX_E2E_SHOTS set to a directory, a picture of a game in play is left there as
# screenshot.png.
set -uo pipefail

snugbox=$1
desktop_entry=$2
sheet="$(dirname "$(readlink -f "$snugbox")")/ALLPICDATA.BMP"

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
require_tools Xvfb xdotool import convert compare xprop

now() { date +%s.%N; }
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# --- a virtual screen of our own ---------------------------------------------------------
start_virtual_screen

"$snugbox" >"$work/snugbox.log" 2>&1 &
game_pid=$!

geometry_of() { xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' '; }
visible_windows() { xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null; }
visible_window_count_is() { [[ $(visible_windows | wc -l) -eq $1 ]]; }

# --- the welcome screen, alone, borderless, for about two seconds --------------------------
wait_until 20 visible_windows || fail "no window appeared"
splash_seen=$(now)
splash=$(visible_windows | head -1)
[[ $(geometry_of "$splash") == "WIDTH=680 HEIGHT=450 " ]] || fail "welcome screen is $(geometry_of "$splash")"
xprop -id "$splash" _MOTIF_WM_HINTS | grep -q '= 0x[0-9a-f]*, 0x[0-9a-f]*, 0x0,' ||
    fail "welcome screen asks for a frame: $(xprop -id "$splash" _MOTIF_WM_HINTS)"
[[ $(xdotool getwindowname "$splash") != *Ver* ]] || fail "the main window came first"

main_window() { xdotool search --onlyvisible --name '^Snugbox  Ver 1\.0$' 2>/dev/null; }
wait_until 20 main_window || fail "the main window did not appear"
main=$(main_window | head -1)
shown_for=$(seconds_between "$splash_seen" "$(now)")
awk -v s="$shown_for" 'BEGIN { exit !(s >= 1.5 && s <= 8) }' || fail "welcome screen shown for ${shown_for}s"
wait_until 5 visible_window_count_is 1 || fail "the welcome screen stayed"
echo "welcome screen: 680 x 450, borderless, shown for about ${shown_for}s"

[[ $(geometry_of "$main") == "WIDTH=765 HEIGHT=563 " ]] || fail "main window is $(geometry_of "$main")"
# The class lets a desktop group the window with its menu entry; the icon comes from the
# program's directory. Each is matched whole: grep -q leaving xprop's pipe early would fail
# the pipeline.
class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[[ $(xprop -id "$main" WM_CLASS) == *", \"$class\"" ]] || fail "window class $(xprop -id "$main" WM_CLASS), not $class"
[[ $(xprop -id "$main" _NET_WM_ICON) == *"Icon ("* ]] || fail "no window icon"

shot() { import -window "$main" "png:$work/$1.png"; }

# How many pixels of a picture's area (x, y, width, height) differ from the area of the
# same size at (x2, y2) of another picture, or from one colour.
differing() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$work/area.png"
    convert "$6" -crop "${4}x${5}+${7}+${8}" +repage "$work/other.png"
    compare -metric AE "$work/area.png" "$work/other.png" null: 2>&1 | awk '{ printf "%d", $1 }'
}
not_of_colour() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$work/area.png"
    convert -size "${4}x${5}" "xc:$6" "$work/other.png"
    compare -metric AE "$work/area.png" "$work/other.png" null: 2>&1 | awk '{ printf "%d", $1 }'
}
at_least() { (($1 >= $2)); }
none() { (($1 == 0)); }

# A piece square of any of the five colours (side by side in the sheet's second row) at
# (x, y); with a pointer position, at the held square under it, whose centre lies half a
# square (22 or 23 pixels with the game's rounding) right of and below its corner.
piece_square_at() {
    local colour
    for colour in 0 1 2 3 4; do
        none "$(differing "$1" "$2" "$3" 45 45 "$sheet" $((colour * 45)) 45)" && return 0
    done
    return 1
}
held_square_under() {
    local offsets
    for offsets in "22 22" "22 23" "23 22" "23 23"; do
        piece_square_at "$1" $(($2 - ${offsets% *})) $(($3 - ${offsets#* })) && return 0
    done
    return 1
}

welcome_shown() { shot welcome && at_least $((57000 - $(not_of_colour "$work/welcome.png" 180 200 570 100 "rgb(100,100,200)"))) 50; }
board_shown() { shot board && none "$(differing "$work/board.png" 202 58 45 45 "$sheet" 0 0)"; }
slot_1_filled() { shot slot && at_least "$(not_of_colour "$work/slot.png" 631 16 88 88 "rgb(50,50,40)")" 100; }
carried_under() { shot carried && held_square_under "$work/carried.png" "$@"; }
dropped_at() { shot dropped && piece_square_at "$work/dropped.png" "$@"; }

# --- the welcome message over the dimmed play area ------------------------------------------
panel="rgb(74,107,173)"
wait_until 10 welcome_shown || fail "no welcome message"
# The play area darkens where the message is shown, but not its rightmost part.
at_least "$(not_of_colour "$work/welcome.png" 190 20 400 150 "$panel")" 20000 || fail "play area not dimmed"
none "$(not_of_colour "$work/welcome.png" 680 200 60 200 "$panel")" || fail "the slot column was dimmed"
echo "main window: 765 x 563, class $class, with its icon, welcome message over the dimmed play area"

# --- a new game: the board from the sprite sheet, and the first piece in slot 1 --------------
click_at() { xdotool mousemove --window "$main" "$1" "$2" click "${3:-1}"; }
click_at 86 246
wait_until 10 board_shown || fail "board tile 1 not at (202, 58)"
none "$(differing "$work/board.png" 247 58 45 45 "$sheet" 45 0)" || fail "board tile 2 not at (247, 58)"
wait_until 10 slot_1_filled || fail "no piece in slot 1"
shot before_take
echo "new game: board at (202, 58) as drawn in the sprite sheet, a piece in slot 1"

# --- take it, carry it with its shadow, drop it on a free cell --------------------------------
# Cell (column 5, row 6): every piece fits there in some turn, since the held square is
# its lowest-leftmost one.
x=404
y=305
click_at 675 60
placed=no
for turn in 1 2 3 4; do
    xdotool mousemove --window "$main" 300 300 sleep 0.1 mousemove --window "$main" $x $y
    wait_until 5 carried_under $x $y || fail "the carried piece is not under the pointer"
    # Right below the held square, the lowest-leftmost one until the piece is turned,
    # lies only its shadow.
    if ((turn == 1)); then
        at_least "$(differing "$work/before_take.png" $((x - 10)) $((y + 24)) 32 9 "$work/carried.png" $((x - 10)) $((y + 24)))" 250 ||
            fail "no shadow under the carried piece"
    fi
    click_at $x $y
    xdotool mousemove --window "$main" 150 520
    if wait_until 2 dropped_at $((x - 22)) $((y - 22)); then
        placed=yes
        break
    fi
    xdotool mousemove --window "$main" $x $y click 3   # does not fit this way round: turn it
done
[[ $placed == yes ]] || fail "the piece never landed on the board"
echo "carried with its shadow and dropped: the cell shows the piece's colour"

if [[ -n ${SNUGBOX_E2E_SHOTS:-} ]]; then
    # A picture for the README: a few pieces on the board, more arriving, one on the way.
    # A piece that does not fit where it is dropped goes back into slot 1 with the next take.
    for target in "247 440" "562 440" "562 103" "247 125"; do click_at 675 60 && click_at $target; done
    sleep 6
    click_at 675 60
    xdotool mousemove --window "$main" 300 300 sleep 0.1 mousemove --window "$main" 450 230 sleep 0.3
    import -window "$main" "png:${SNUGBOX_E2E_SHOTS}/screenshot.png"
fi

# --- Exit saves and ends the program cleanly ----------------------------------------------
click_at 86 446
wait_until 10 game_ended || fail "Exit did not end the program"
wait "$game_pid"
status=$?
game_pid=
[[ $status -eq 0 ]] || fail "the program ended with status $status"
# Mode 2 in bytes 2-3 of the stored block; seven 16-bit sound options of 1.
store="$XDG_CONFIG_HOME/Quillon/Snugbox/1.0.ini"
grep -q '^SOLVINGDATA=@ByteArray(\\0\\0\\x2\\0' "$store" || fail "mode 2 not stored: $(grep SOLVINGDATA "$store")"
grep -qx 'SOUNDOPTIONS=@ByteArray(\(\\x1\\0\)\{7\})' "$store" || fail "sound options: $(grep SOUNDOPTIONS "$store")"
echo "Exit: status 0, store saved"
