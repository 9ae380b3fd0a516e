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
xdotool mousemove 1023 767 # the screen file shows the pointer: out of the way

# The screen is copied whenever it changed while the player's letter lands and the computer
# answers, and the copies are compared afterwards, so that a busy machine does not miss the
# second the computer's letter shows above its column. Watching ends when the screen has been
# still for 2.5 seconds after at least three pictures (the computer's letter has landed), or
# after eight seconds on a loaded machine.
shots=0
changedAt=$dropped
while true; do
    now=$(date +%s%N)
    [ $(((now - dropped) / 1000000)) -lt 8000 ] || break
    [ "$shots" -ge 3 ] && [ $(((now - changedAt) / 1000000)) -ge 2500 ] && break
    quick_screenshot "$WORK_DIR/next.xwd"
    if [ "$shots" = 0 ] || ! cmp -s "$WORK_DIR/next.xwd" "$WORK_DIR/now$shots.xwd"; then
        shots=$((shots + 1))
        mv "$WORK_DIR/next.xwd" "$WORK_DIR/now$shots.xwd"
        changedAt=$now
    fi
    sleep 0.05
done
# The picture of screen $1 of the series, made once.
screen() {
    [ -f "$WORK_DIR/now$1.png" ] || convert "xwd:$WORK_DIR/now$1.xwd" "$WORK_DIR/now$1.png"
    echo "$WORK_DIR/now$1.png"
}

# Hole 3 (bottom row, column 3) comes to show a letter while hole 38 above, where it was
# released, is empty again.
landed=0
for ((i = 1; i <= shots; i++)); do
    changed=$(area_difference "$WORK_DIR/before.png" "$(screen $i)" "28x28+$((x + 303))+$((y + 269))")
    top=$(area_difference "$WORK_DIR/before.png" "$(screen $i)" "28x28+$((x + 303))+$((y + 59))")
    [ "$changed" -gt 100 ] && [ "$top" -lt 20 ] && landed=$i && break
done
[ "$landed" -gt 0 ] || fail "no letter landed in hole 3 alone ($shots screens)"
cp "$(screen $landed)" "$WORK_DIR/after.png"
keep after letter_dropped

# The computer shows its letter in the drop row during its move, then drops it (where it lands is
# the keyboard game's check).
shown=0
dropRow="434x32+$((x + 177))+$((y + 10))"
for ((i = landed; i <= shots; i++)); do
    diff=$(area_difference "$WORK_DIR/after.png" "$(screen $i)" "$dropRow")
    [ "$diff" -gt 100 ] && shown=1 && keep "now$i" computer_letter && break
done
[ "$shown" = 1 ] || fail "the computer's letter never showed above its column ($shots screens)"
shot answered computer_answered
row=$(area_difference "$WORK_DIR/after.png" "$WORK_DIR/answered.png" "$dropRow")
[ "$row" -lt 20 ] || fail "the drop row still shows something after the computer's move"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended"
echo "letter dropped with the mouse, computer answered; screenshots in $artefacts"
