#!/usr/bin/env bash
# The program starts at the login window: a one-letter name is refused with a message, an
# existing player without a password logs on, the main window shows at 618 x 449 with his
# caption (a screenshot is kept), and a click on its close area ends the program at once.
# Usage: login_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1
artefacts=$2
mkdir -p "$artefacts"

start_xvfb
PROFILES="Tester Computer" start_program "$runDir"
login=$(find_named_window "Glyphdrop v1.1 - Login")
[ -n "$login" ] || fail "no login window"
xwininfo -root -tree | grep -q "Logged On" && fail "the main window showed before the login"

xdotool windowfocus --sync "$login"
xdotool type --delay 20 "A"
xdotool key Return
box=$(find_named_window "Login Error")
[ -n "$box" ] || fail "a one-letter name was not refused"
screenshot "$WORK_DIR/refused.png"
cp "$WORK_DIR/refused.png" "$artefacts/login_refused.png"
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^Login Error$" >/dev/null 2>&1 || break
    sleep 0.05
done

xdotool windowfocus --sync "$login"
xdotool key ctrl+a BackSpace
xdotool type --delay 20 "Tester"
xdotool key Return
read -r id x y < <(find_window 618x449) || true
[ -n "${id:-}" ] || fail "no main window after the login"
xwininfo -id "$id" | grep -q '"Glyphdrop v1.1 - Tester Logged On"' ||
    fail "the main window's caption is not the logged-on caption"
xdotool search --onlyvisible --name "^Glyphdrop v1.1 - Login$" >/dev/null 2>&1 &&
    fail "the login window is still open"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended on its own"
sleep 0.5
screenshot "$WORK_DIR/screen.png"
convert "$WORK_DIR/screen.png" -crop "618x449+$x+$y" +repage "$artefacts/mainwindow.png"
size=$(identify -format '%wx%h' "$artefacts/mainwindow.png")
[ "$size" = "618x449" ] || fail "screenshot of the window is $size"

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
echo "login refused a one-letter name, then logged Tester on; closed by the close area;" \
    "screenshots in $artefacts"
