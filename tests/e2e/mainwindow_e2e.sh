#!/usr/bin/env bash
# Starts the built program under Xvfb and checks that its main window shows at 618 x 449; keeps
# a screenshot of it. Usage: mainwindow_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1
artefacts=$2
mkdir -p "$artefacts"

start_xvfb
start_program "$runDir" --player Tester
read -r id x y < <(find_window 618x449) || true
[ -n "${id:-}" ] || { cat "$WORK_DIR/program.log" >&2; fail "no 618x449 window appeared"; }
xwininfo -id "$id" | grep -q '"Glyphdrop v1.1 - Tester Logged On"' ||
    fail "the main window's caption is not the logged-on caption"
sleep 0.5
screenshot "$WORK_DIR/screen.png"
convert "$WORK_DIR/screen.png" -crop "618x449+$x+$y" +repage "$artefacts/mainwindow.png"
size=$(identify -format '%wx%h' "$artefacts/mainwindow.png")
[ "$size" = "618x449" ] || fail "screenshot of the window is $size"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on its own"

# A click on the close area (574,16 23x19) ends the program at once, with no question.
xdotool mousemove $((x + 585)) $((y + 25))
sleep 0.3
xdotool click 1
for _ in $(seq 60); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the close area did not end the program"
wait "$PROGRAM_PID" || fail "the program ended with an error"
PROGRAM_PID=""
echo "main window 618x449 at $x,$y; screenshot in $artefacts/mainwindow.png; closed by its close area"
