# Shared steps of the whole-program checks: a private Xvfb display, the program started in a
# copy of the runnable folder, windows found by size, screenshots. Everything started here is
# stopped by its PID when the script exits.
set -euo pipefail

XVFB_PID=""
PROGRAM_PID=""
WORK_DIR=""

cleanup() {
    [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    [ -n "$PROGRAM_PID" ] && wait "$PROGRAM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && wait "$XVFB_PID" 2>/dev/null || true
    [ -n "$WORK_DIR" ] && rm -rf "$WORK_DIR"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -n "$WORK_DIR" ] && [ -f "$WORK_DIR/program.log" ] && sed 's/^/program: /' "$WORK_DIR/program.log" >&2
    [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>&1 | grep -i glyphdrop >&2
    exit 1
}

# Starts Xvfb on a display number it picks itself and exports DISPLAY; the screen is
# $XVFB_SCREEN, 1024x768x24 unless set.
start_xvfb() {
    command -v Xvfb >/dev/null || fail "Xvfb is not installed (scripts/install-deps)"
    WORK_DIR=$(mktemp -d)
    local numberFile="$WORK_DIR/display"
    # The screen is also kept as a file in the work folder, for screenshots a busy machine
    # can take quickly.
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -fbdir "$WORK_DIR" -nolisten tcp \
        3>"$numberFile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$numberFile" ] && break
        sleep 0.05
    done
    [ -s "$numberFile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$numberFile")"
}

# The tests' own record writer, which the build names in GD_WRITE_TEST_FILES.
record_writer() {
    [ -x "${GD_WRITE_TEST_FILES:-}" ] || fail "GD_WRITE_TEST_FILES names no record writer"
    "$GD_WRITE_TEST_FILES" "$@"
}

# Writes a small "wordlist.dic" $1.
write_word_list() {
    record_writer wordlist "$1" able word game play || fail "cannot write $1"
}

# Appends to "players.dat" $1 the profile of new player $2: no password, the default sounds,
# the "Marble" board, skill Normal and no games.
write_profile() {
    record_writer profiles "$1" "$2" || fail "cannot write $1"
}

# Copies the runnable folder $1 and starts the program there with the remaining arguments. The
# player of "--player NAME" and each name in $PROFILES get a profile first, so that the program
# logs straight on.
start_program() {
    local runDir=$1
    shift
    cp -r "$runDir" "$WORK_DIR/home"
    local args=("$@") i name
    for ((i = 0; i + 1 < ${#args[@]}; i++)); do
        [ "${args[i]}" = --player ] && write_profile "$WORK_DIR/home/players.dat" "${args[i + 1]}"
    done
    for name in ${PROFILES:-}; do
        write_profile "$WORK_DIR/home/players.dat" "$name"
    done
    # Without a word list the program would open with its "File Not Found" message first.
    [ -e "$WORK_DIR/home/wordlist.dic" ] || write_word_list "$WORK_DIR/home/wordlist.dic"
    # The program draws on the Xvfb display even when the caller runs window tests offscreen.
    QT_QPA_PLATFORM=xcb GLYPHDROP_HOME="$WORK_DIR/home" "$WORK_DIR/home/glyphdrop" "$@" \
        >"$WORK_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# Prints "id x y" of the first mapped window of size $1 (for example 618x449), waiting up to
# ten seconds for it; prints nothing when none shows.
find_window() {
    local size=$1 line id
    for _ in $(seq 200); do
        while read -r line; do
            id=$(awk '{print $1}' <<<"$line")
            if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
                sed -E 's/.* [0-9]+x[0-9]+\+(-?[0-9]+)\+(-?[0-9]+) .*/\1 \2/' <<<"$line" |
                    { read -r x y; echo "$id $x $y"; }
                return 0
            fi
        done < <(xwininfo -root -tree | grep -E " ${size}\+" || true)
        sleep 0.05
    done
}

# Saves a screenshot of the whole screen to $1.
screenshot() {
    import -window root "$1"
}

# Copies the screen as it is now to $1 (X window dump format): fast enough to catch what shows
# for a second while the machine is busy. `convert "xwd:$1" ...` reads it.
quick_screenshot() {
    cp "$WORK_DIR/Xvfb_screen0" "$1"
}

# The number of pixels that differ between the areas WxH+X+Y of two pictures.
area_difference() {
    local a=$1 b=$2 geometry=$3
    convert "$a" -crop "$geometry" +repage "$WORK_DIR/a.png"
    convert "$b" -crop "$geometry" +repage "$WORK_DIR/b.png"
    compare -metric AE "$WORK_DIR/a.png" "$WORK_DIR/b.png" null: 2>&1 || true
}

# Prints the id of the first mapped window named exactly $1, waiting up to ten seconds for it.
find_named_window() {
    local id
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
            echo "$id"
            return 0
        done
        sleep 0.05
    done
}

# Two programs that played each other agree (logs $1 and $2 of their --drive runs, which print
# "board: BOARD TURN SEAT" whenever one changes): every board with letters that one showed in
# their pairing the other showed too (boards against the computer aside), and once both had it,
# exactly one of them was to move, unless the game was over.
check_boards() {
    python3 - "$1" "$2" <<'PY' || fail "the two programs' boards or turns disagree ($1, $2)"
import sys

def last_states(path):
    states = {}
    for line in open(path, errors="replace"):
        parts = line.split()
        if len(parts) == 4 and parts[0] == "board:" and parts[1].strip("."):
            states[parts[1]] = (parts[2], parts[3])
    return states

a, b = last_states(sys.argv[1]), last_states(sys.argv[2])
wrong = []
for board in sorted(set(a) | set(b)):
    sa, sb = a.get(board), b.get(board)
    if "computer" in (sa or ("", ""))[1] + (sb or ("", ""))[1]:
        continue
    if not sa or not sb:
        wrong.append(f"{board}: shown by one program only")
    elif "over" not in (sa[0], sb[0]) and [sa[0], sb[0]].count("mine") != 1:
        wrong.append(f"{board}: turns {sa[0]} and {sb[0]}")
for w in wrong:
    print(w, file=sys.stderr)
sys.exit(1 if wrong else 0)
PY
}
