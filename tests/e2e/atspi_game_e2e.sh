#!/usr/bin/env bash
# A whole game against the computer through the real accessibility stack: a private session bus,
# the AT-SPI bus on it, the program under Xvfb, and atspi_game.py playing as a screen reader
# user would, by the elements' names and press actions alone.
# Usage: atspi_game_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
[ -n "${GD_SESSION_BUS:-}" ] || exec env GD_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1

# The system's Python: pyatspi is a Debian package, not in a private Python.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing (scripts/install-deps)"
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || fail "at-spi-bus-launcher is missing (scripts/install-deps)"

start_xvfb
"$launcher" --launch-immediately >"$WORK_DIR/atspi.log" 2>&1 &
LAUNCHER_PID=$!
READER_PID=""
stop_all() {
    [ -z "$READER_PID" ] || kill "$READER_PID" 2>/dev/null || true
    cleanup
    kill "$LAUNCHER_PID" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap stop_all EXIT
"$python" "$(dirname "$0")/atspi_game.py" "$WORK_DIR/listening" &
READER_PID=$!
for _ in $(seq 200); do
    [ -e "$WORK_DIR/listening" ] || ! kill -0 "$READER_PID" 2>/dev/null && break
    sleep 0.05
done
[ -e "$WORK_DIR/listening" ] || fail "the reader's script did not start listening"
# Qt serves the accessibility tree only when told a reader is there.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_program "$runDir" --player Tester --skill 1
wait "$READER_PID" || fail "the game through accessibility failed"
