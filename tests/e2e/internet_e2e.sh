#!/usr/bin/env bash
# Internet play end to end: two programs (offscreen, each driven by a --script) meet through the
# real game server on 127.0.0.1 and play to a word, to a draw and to a quit, with chat both ways
# and a photo from a loopback web server; then a game survives the server's restart; then they
# pair, play, one leaves for the computer, they pair the other way round, and a restarted program
# joins the one that has played before; and a program whose server is down says so without
# hanging. After every move both boards are equal and exactly one side may move; both profile
# files are checked after.
# Usage: internet_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER SERVER_PROGRAM
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1
artefacts=$2
serverProgram=$3
mkdir -p "$artefacts"
WORK_DIR=$(mktemp -d)
PIDS=()

stop_all() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    cp "$WORK_DIR"/*.log "$artefacts/" 2>/dev/null || true
    cleanup
}
trap stop_all EXIT

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
serverPort=$(free_port)
photoPort=$(free_port)
SERVER_PID=""

start_server() {
    "$serverProgram" --listen "127.0.0.1:$serverPort" --db "$WORK_DIR/server.db" --rate 0 \
        --exit-when-idle 300 >>"$WORK_DIR/server.log" 2>&1 &
    SERVER_PID=$!
    PIDS+=("$SERVER_PID")
    for _ in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$serverPort") 2>/dev/null && return 0
        sleep 0.05
    done
    fail "the game server did not start"
}

# A program folder for player $1 (photo address $2), with the test's word list.
make_home() {
    cp -r "$runDir" "$WORK_DIR/$1"
    rm -f "$WORK_DIR/$1/players.dat"
    write_profile "$WORK_DIR/$1/players.dat" "$1"
    # The record's photo address: 150 bytes after name, password, location and photo mode.
    [ -z "${2:-}" ] || printf '%-150s' "$2" |
        dd of="$WORK_DIR/$1/players.dat" bs=1 seek=62 conv=notrunc status=none
    write_word_list "$WORK_DIR/$1/wordlist.dic"
}

# Starts player $1 with the script $2 against server address $3; the log is $1-$4.log.
play() {
    QT_QPA_PLATFORM=offscreen GLYPHDROP_HOME="$WORK_DIR/$1" "$WORK_DIR/$1/glyphdrop" \
        --player "$1" --server "$3" --time-scale 20 --drive "$2" >"$WORK_DIR/$1-$4.log" 2>&1 &
    PIDS+=($!)
    LAST_PID=$!
}

# Waits up to $2 seconds for program $1 to end; fails when it does not or ends with an error.
finish() {
    local pid=$1 status=0
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "a program did not end (see $artefacts)"
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "a program ended with status $status (see $artefacts)"
}

# Played, Won, Lost and Tied of player $1 in the profile file of his program.
counters() {
    record_writer counters "$WORK_DIR/$1" "$1"
}

expect_line() {
    grep -qF -- "$2" "$WORK_DIR/$1.log" || fail "$1.log lacks: $2"
}
# Waits up to $3 seconds for $1.log to hold $2.
await_line() {
    for _ in $(seq $(($3 * 20))); do
        grep -qF -- "$2" "$WORK_DIR/$1.log" 2>/dev/null && return 0
        sleep 0.05
    done
    fail "$1.log never showed: $2"
}

start_server
mkdir -p "$WORK_DIR/photos"
convert -size 60x50 xc:orange "$WORK_DIR/photos/ann.jpg"
python3 -m http.server "$photoPort" --bind 127.0.0.1 --directory "$WORK_DIR/photos" \
    >"$WORK_DIR/photos.log" 2>&1 &
PIDS+=($!)
make_home Ann "http://127.0.0.1:$photoPort/ann.jpg"
make_home Bob
server="http://127.0.0.1:$serverPort"

# Chat lines holding the markers of the server's replies arrive whole: every printable character
# (the program trims a line, so the blank goes inside) and the markers themselves.
awkwardChats=("! $(python3 -c 'print("".join(map(chr, range(34, 127))))')" '*' '***' 'Socket Error'
    '*MOVE*q17' 'QUIT*GAME')

# Game 1, to a word: Ann hosts and moves first and spells "word" along the bottom row.
# Game 2, to a draw: Bob starts; only z and x are played, column by column, until the board is
# full. Game 3, to a quit: Ann starts, Bob answers and then leaves.
# Each drop waits for the player's turn.
drop() { printf 'turn\ndrop %s %s\n' "$1" "$2"; }
{
    echo "enter 5"
    echo "wait has joined game. YOUR TURN!!"
    echo "chat hello Bob +1 #2"
    printf 'chat %s\n' "${awkwardChats[@]}"
    for c in w:0 o:1 r:2 d:3; do drop "${c%:*}" "${c#*:}"; done
    echo "wait made word word"
    printf 'over\nyes\n'
    for _ in 1 2 3; do for c in 0 1 2 3 4 5 6; do drop x $c; done; done
    printf 'over\nyes\n'
    drop q 0
    echo "box Opponent Left!"
    echo "wait You win."
    echo "quit"
} >"$WORK_DIR/ann.txt"
{
    echo "always Yes Quit Game In Play!"
    echo "pick Ann"
    echo "wait to move."
    echo "wait From Ann: hello Bob +1 #2"
    echo "chat hi Ann"
    for c in 6 5 4; do drop z $c; done
    echo "wait made word word"
    printf 'over\nyes\n'
    for _ in 1 2 3; do for c in 0 1 2 3 4 5 6; do drop z $c; done; done
    printf 'over\nyes\n'
    drop z 6
    echo "quit"
} >"$WORK_DIR/bob.txt"
play Ann "$WORK_DIR/ann.txt" "$server" games
annPid=$LAST_PID
await_line Ann-games "status: PLEASE WAIT!!" 30
play Bob "$WORK_DIR/bob.txt" "$server" games
bobPid=$LAST_PID
finish "$bobPid" 150
finish "$annPid" 30

expect_line Bob-games "From Ann: hello Bob +1 #2"
expect_line Ann-games "From Bob: hi Ann"
for line in "${awkwardChats[@]}"; do
    grep -qxF -- "status: From Ann: $line" "$WORK_DIR/Bob-games.log" || fail "chat lost: $line"
done
expect_line Ann-games "Bob has joined game. YOUR TURN!!"
expect_line Bob-games "Internet game terminated."
check_boards "$WORK_DIR/Ann-games.log" "$WORK_DIR/Bob-games.log"
grep -q 'GET /ann.jpg' "$WORK_DIR/photos.log" || fail "Bob never fetched Ann's photo"
[ ! -e "$WORK_DIR/Bob/ann.jpg" ] || fail "the photo file stayed after it was shown"
[ "$(counters Ann)" = "3 2 0 1" ] || fail "Ann's counters: $(counters Ann)"
[ "$(counters Bob)" = "3 0 2 1" ] || fail "Bob's counters: $(counters Bob)"

# The server is killed mid-game, while Ann is about to move, and started again on its store: her
# move is asked about and tried again until it goes through, and the game goes on to its word.
{
    echo "always Yes Transfer Failed"
    echo "enter 2"
    echo "wait has joined game. YOUR TURN!!"
    drop p 0
    echo "turn"
    echo "sleep 1500"
    echo "drop l 1"
    for c in a:2 y:3; do drop "${c%:*}" "${c#*:}"; done
    echo "wait made word play"
    printf 'over\nno\nquit\n'
} >"$WORK_DIR/ann.txt"
{
    echo "always Yes Transfer Failed"
    echo "pick Ann"
    for c in 6 5 4; do drop z $c; done
    echo "wait made word play"
    printf 'over\nno\nquit\n'
} >"$WORK_DIR/bob.txt"
play Ann "$WORK_DIR/ann.txt" "$server" restart
annPid=$LAST_PID
await_line Ann-restart "status: PLEASE WAIT!!" 30
play Bob "$WORK_DIR/bob.txt" "$server" restart
bobPid=$LAST_PID
for _ in $(seq 300); do
    grep -q '^step 6: turn' "$WORK_DIR/Ann-restart.log" && break
    sleep 0.1
done
{ kill -9 "$SERVER_PID"; wait "$SERVER_PID"; } 2>/dev/null || true
await_line Ann-restart "box: Transfer Failed" 30
start_server
finish "$annPid" 60
finish "$bobPid" 30
expect_line Ann-restart "box: Transfer Failed: Data transfer to opponent failed."
check_boards "$WORK_DIR/Ann-restart.log" "$WORK_DIR/Bob-restart.log"
[ "$(counters Ann)" = "4 3 0 1" ] || fail "Ann's counters after the restart: $(counters Ann)"
[ "$(counters Bob)" = "4 0 3 1" ] || fail "Bob's counters after the restart: $(counters Bob)"

# Pairings whatever either played before. Ann hosts and begins; Bob leaves for the computer after
# his first move (a loss for him, a win for Ann) and plays it; then Bob hosts, and begins though
# both have begun games before, and wins by a word; Ann answers No, which Bob hears. Ann starts
# her program again and joins Bob, who begins; Ann quits after her first move.
{
    echo "enter 2"
    echo "wait has joined game. YOUR TURN!!"
    for c in a:0 b:1; do drop "${c%:*}" "${c#*:}"; done
    echo "box Opponent Left!"
    echo "pick Bob"
    for _ in 1 2 3; do drop x 6; done
    echo "wait made word word"
    printf 'over\nno\nquit\n'
} >"$WORK_DIR/ann.txt"
{
    echo "always Yes Quit Game In Play!"
    echo "pick Ann"
    drop x 6
    printf 'turn\ncomputer\n'
    drop q 3
    echo "turn"
    echo "enter 2"
    echo "wait has joined game. YOUR TURN!!"
    for c in w:0 o:1 r:2 d:3; do drop "${c%:*}" "${c#*:}"; done
    echo "wait made word word"
    printf 'over\nbox Opponent Left!\nno\n'
    echo "enter 2"
    echo "wait has joined game. YOUR TURN!!"
    for c in k:0 l:1; do drop "${c%:*}" "${c#*:}"; done
    echo "box Opponent Left!"
    echo "quit"
} >"$WORK_DIR/bob.txt"
printf 'always Yes Quit Game In Play!\npick Bob\nturn\ndrop m 6\nturn\nquit\n' >"$WORK_DIR/ann2.txt"
play Ann "$WORK_DIR/ann.txt" "$server" pairing
annPid=$LAST_PID
await_line Ann-pairing "status: PLEASE WAIT!!" 30
play Bob "$WORK_DIR/bob.txt" "$server" pairings
bobPid=$LAST_PID
finish "$annPid" 90
play Ann "$WORK_DIR/ann2.txt" "$server" restarted
finish "$LAST_PID" 30
finish "$bobPid" 30
expect_line Ann-pairing "Your opponent forfieted game. You win."
expect_line Bob-pairings "box: Quit Game In Play!"
expect_line Bob-pairings "status: Your opponent has left."  # Ann's No, after the counted word
cat "$WORK_DIR/Ann-pairing.log" "$WORK_DIR/Ann-restarted.log" >"$WORK_DIR/Ann-pairings.log"
check_boards "$WORK_DIR/Ann-pairings.log" "$WORK_DIR/Bob-pairings.log"
[ "$(counters Ann)" = "7 4 2 1" ] || fail "Ann's counters after the pairings: $(counters Ann)"
[ "$(counters Bob)" = "7 2 4 1" ] || fail "Bob's counters after the pairings: $(counters Bob)"

# No server at all: the waiting room and the update check say so at once.
printf 'enter 5\nupdates\nsleep 500\nquit\n' >"$WORK_DIR/ann.txt"
started=$(date +%s)
play Ann "$WORK_DIR/ann.txt" "http://127.0.0.1:$(free_port)" down
finish "$LAST_PID" 30
[ $(($(date +%s) - started)) -lt 15 ] || fail "a program without its server hung"
expect_line Ann-down "room: 7: "
expect_line Ann-down "Update check failed. Please check your internet connection and try later."
echo "internet play: all checks passed"
