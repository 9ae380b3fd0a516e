#!/usr/bin/env bash
# A whole game against the computer played with the keyboard alone, under Xvfb: F10 opens the
# menu and Escape closes it, the menu starts the game, and each move is a letter's digit, a
# column's digit and Enter (the first by Tab to the board and the arrow keys), until the result.
# What is checked is what the program reports of its board and result (--drive, an empty script).
# Usage: keyboard_game_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
mkdir -p "$2"
start_xvfb
: >"$WORK_DIR/nothing"
start_program "$1" --player Tester --skill 1 --drive "$WORK_DIR/nothing"
log=$WORK_DIR/program.log
read -r id x y < <(find_window 618x449) || true
[ -n "${id:-}" ] || fail "no main window"
xdotool windowfocus --sync "$id"

# The last board the program reported: 42 holes, whose move, the opponent's seat.
board() { grep '^board: ' "$log" | tail -n1 | cut -d' ' -f2-; }
# The number of letters in column $2 (0..6) of board $1.
column_count() {
    local c n=0
    for c in 0 7 14 21 28 35; do [ "${1:$2+c:1}" = . ] || n=$((n + 1)); done
    echo $n
}

xdotool key F10
read -r menu _ < <(find_window 618x67) || true
[ -n "${menu:-}" ] || fail "F10 did not open the menu window"
xdotool key Escape Escape
for ((w = 0; w < 50; w++)); do xwininfo -root -tree | grep -q ' 618x67+' && sleep 0.1 || break; done
! xwininfo -root -tree | grep -q ' 618x67+' || fail "Escape left the menu window open"
# The Game menu's third entry: Play Against Computer.
xdotool key F10 Down Down Down Return

moves=0 played="" first=""
for ((t = 0; t < 1500; t++)); do # at most about 150 seconds
    read -r holes turn seat < <(board) || true
    [ "${turn:-}" = over ] && break
    if [ "${turn:-}" = mine ] && [ "$holes" != "$played" ]; then
        [ "$seat" = computer ] || fail "playing $seat, not the computer"
        if [ -z "$first" ]; then # the middle column and one to the right: the fifth
            first=$holes
            xdotool key Tab Right Return shift+Tab
            for ((w = 0; w < 50; w++)); do
                holes=$(board | cut -d' ' -f1) && [ "$holes" != "$first" ] && break || sleep 0.1
            done
            [ "$(column_count "$holes" 4)" = $(($(column_count "$first" 4) + 1)) ] ||
                fail "the first letter did not land in the fifth column: $first -> $holes"
        else
            for ((c = 0; c < 7; c++)); do [ "$(column_count "$holes" $c)" -lt 6 ] && break; done
            xdotool key $((moves % 8 + 1)) $((c + 1)) Return
        fi
        played=$holes moves=$((moves + 1))
    fi
    sleep 0.1
done
[ "${turn:-}" = over ] || fail "no result after $moves moves: $(board)"
for ((w = 0; w < 50; w++)); do
    result=$(grep '^result: ' "$log" | tail -n1)
    [ -n "$result" ] && break
    sleep 0.1
done
[ -n "$result" ] || fail "no result line after $moves moves"
screenshot "$WORK_DIR/over.png"
convert "$WORK_DIR/over.png" -crop "618x449+$x+$y" +repage "$2/keyboard_game_over.png"
echo "keyboard game over after $moves moves, $result"
