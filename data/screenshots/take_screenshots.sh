#!/usr/bin/env bash
# Takes the README's pictures of a game against the computer under Xvfb: the high-contrast
# board (contrast.png) and the ordinary board on a screen scaled 2x (scaled2x.png, the board's
# part only). The letters are dealt at random, so every run shows another game.
# Usage: take_screenshots.sh RUNNABLE_FOLDER WRITE_TEST_FILES_PROGRAM [OUTPUT_FOLDER]
source "$(dirname "$0")/../../tests/e2e/xvfb_lib.sh"
runDir=$(realpath "$1")
export GD_WRITE_TEST_FILES=$(realpath "$2")
out=$(realpath "${3:-$(dirname "$0")}")

# Plays a few letters against the computer on board $1 at scale $2 and keeps the part $4 (WxH+X+Y)
# of the window as $3, in few colours to keep it small.
take() {
    local board=$1 scale=$2 picture=$3 part=$4 size=$((618 * $2))x$((449 * $2))
    start_xvfb
    local script="$WORK_DIR/moves"
    printf '%s\n' computer turn "drop g 3" turn "drop l 3" turn "drop y 4" turn "drop p 2" \
        turn "drop h 4" turn "sleep 100000" >"$script"
    cp -r "$runDir" "$WORK_DIR/run"
    write_profile "$WORK_DIR/run/players.dat" Tester
    # The profile's board, a ten-character field after the name "Marble".
    python3 -c "import sys; p=sys.argv[1]; b=open(p,'rb').read()
open(p,'wb').write(b.replace(b'Marble    ', sys.argv[2].ljust(10).encode(), 1))" \
        "$WORK_DIR/run/players.dat" "$board"
    QT_SCALE_FACTOR=$scale PROFILES=Computer start_program "$WORK_DIR/run" --player Tester --drive "$script"
    read -r id x y < <(find_window "$size") || true
    [ -n "${id:-}" ] || fail "no main window of $size"
    for _ in $(seq 200); do
        grep -q '^drop h 4' "$WORK_DIR/program.log" && break
        sleep 0.1
    done
    sleep 3  # the computer's answer lands
    screenshot "$WORK_DIR/screen.png"
    convert "$WORK_DIR/screen.png" -crop "$size+$x+$y" +repage -crop "$part" +repage -strip \
        +dither -colors 96 -define png:compression-level=9 "$out/$picture"
    kill "$PROGRAM_PID" "$XVFB_PID"
    wait "$PROGRAM_PID" "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK_DIR"
    PROGRAM_PID="" XVFB_PID="" WORK_DIR=""
}

take zcontrast 1 contrast.png 618x449+0+0
XVFB_SCREEN=2048x1536x24 take Marble 2 scaled2x.png 640x560+310+60
echo "wrote $out/contrast.png and $out/scaled2x.png"
