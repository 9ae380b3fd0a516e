#!/usr/bin/env bash
# A game against the computer through the real program under Xvfb: the menu window opens over
# the Menu area, its toolbar starts the game, a letter dragged with the mouse lands at the
# bottom of its column, and the computer answers with a letter shown above its column first.
# Usage: computer_game_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1
artefacts=$2
mkdir -p "$artefacts"

start_xvfb
start_program "$runDir" --player Tester --skill 1
read -r id x y < <(find_window 618x449) || true
[ -n "${id:-}" ] || fail "no main window"
sleep 0.5

# Takes a screenshot to $WORK_DIR/$1.png; keeps the main window's part as artefact $2.
shot() {
    screenshot "$WORK_DIR/$1.png"
    [ -z "${2:-}" ] || keep "$1" "$2"
}
keep() {
    convert "$WORK_DIR/$1.png" -crop "618x449+$x+$y" +repage "$artefacts/$2.png"
}

# Pointing at the Menu area opens the menu window exactly over the top of the main window.
xdotool mousemove $((x + 60)) $((y + 20))
sleep 0.2
xdotool mousemove $((x + 64)) $((y + 22))
read -r menuId mx my < <(find_window 618x67) || true
[ -n "${menuId:-}" ] || fail "the menu window did not open"
[ "$mx $my" = "$x $y" ] || fail "menu window at $mx,$my, main window at $x,$y"

# "Play Computer", the toolbar's first button.
xdotool mousemove $((mx + 20)) $((my + 37))
sleep 0.3
xdotool click 1
sleep 1
shot before game_started

# Image1 (centre 514,126) to the top hole of column 3 (centre 317,73), passing over dragbar.
px=$((x + 514)); py=$((y + 126))
xdotool mousemove "$px" "$py"
sleep 0.3
xdotool mousedown 1
sleep 0.3
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((px - step * 20)) $((py - step * 5))
    sleep 0.05
done
xdotool mousemove $((x + 317)) $((y + 73))
sleep 0.2
xdotool mousemove $((x + 318)) $((y + 73))
sleep 0.2
xdotool mouseup 1
dropped=$(date +%s%N)
sleep 0.3
shot after letter_dropped

# Hole 3 (bottom row, column 3) now shows a letter; hole 38 above stays empty.
changed=$(area_difference "$WORK_DIR/before.png" "$WORK_DIR/after.png" "28x28+$((x + 303))+$((y + 269))")
[ "$changed" -gt 100 ] || fail "no letter landed in hole 3 ($changed pixels changed)"
top=$(area_difference "$WORK_DIR/before.png" "$WORK_DIR/after.png" "28x28+$((x + 303))+$((y + 59))")
[ "$top" -lt 20 ] || fail "the letter stayed in the top hole"

# The computer shows its letter in the drop row during its move, then drops it.
shown=0
dropRow="434x32+$((x + 177))+$((y + 10))"
board="290x250+$((x + 172))+$((y + 52))"
for _ in $(seq 80); do
    shot now
    diff=$(area_difference "$WORK_DIR/after.png" "$WORK_DIR/now.png" "$dropRow")
    [ "$diff" -gt 100 ] && shown=1 && keep now computer_letter
    # Shown, then gone from the drop row: the letter has landed.
    [ "$shown" = 1 ] && [ "$diff" -lt 20 ] && break
    elapsedMs=$((($(date +%s%N) - dropped) / 1000000))
    [ "$elapsedMs" -gt 8000 ] && break
    sleep 0.1
done
[ "$shown" = 1 ] || fail "the computer's letter never showed above its column"
shot answered computer_answered
moved=$(area_difference "$WORK_DIR/after.png" "$WORK_DIR/answered.png" "$board")
[ "$moved" -gt 100 ] || fail "the computer's letter did not land on the board"
row=$(area_difference "$WORK_DIR/after.png" "$WORK_DIR/answered.png" "$dropRow")
[ "$row" -lt 20 ] || fail "the drop row still shows something after the computer's move"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended"
echo "letter dropped with the mouse, computer answered; screenshots in $artefacts"
