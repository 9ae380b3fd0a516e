#!/usr/bin/env bash
# Two copies of the real program under Xvfb play each other over loopback, each driven by a
# script: set-up windows, profiles once each way, chat both ways, a game won by the host's word,
# a second game begun by the joiner and won by its word; then the joiner leaves for the computer
# and plays it, and the host, on his next game, sees "Opponent Quit" and ends. The host's program
# is started again and joins the other, who now hosts and begins, and wins by a word; "No" there
# tells the winner, who sees "Opponent Quit" too. After every move both boards are equal and
# exactly one side may move; the players.dat files hold three games, one won by Ann, two by Bob.
# Usage: lan_game_e2e.sh RUNNABLE_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
runDir=$1
JOINER_PID=""
trap 'kill $JOINER_PID 2>/dev/null || true; cleanup' EXIT

start_xvfb
# Below the ephemeral range, where busy loopback tests elsewhere on the machine hold ports.
ports="$((20000 + RANDOM % 6000)),$((26000 + RANDOM % 6000))"

# A copy of the runnable folder for player $1, with a profile, a word list and the driving
# script read from stdin.
prepare_player() {
    local home="$WORK_DIR/$1"
    cp -r "$runDir" "$home"
    write_profile "$home/players.dat" "$1"
    write_word_list "$home/wordlist.dic"
    cat >"$home/script"
}
# Starts player $1's copy of the program in the background with script $2 (default "script"),
# its output in $2.log.
start_player() {
    local home="$WORK_DIR/$1" script=${2:-script}
    QT_QPA_PLATFORM=xcb GLYPHDROP_HOME="$home" "$home/glyphdrop" --player "$1" --time-scale 5 \
        --lan-ports "$ports" --drive "$home/$script" >"$home/$script.log" 2>&1 &
}

prepare_player Ann <<'SCRIPT'
host
opponent Bob Leeds
chat hello Bob
see From Bob: hi Ann
turn
drop g 0
turn
drop a 1
turn
drop m 2
turn
drop e 3
over
yes
turn
drop z 0
turn
drop z 1
turn
drop z 2
over
yes
box Opponent Quit
SCRIPT
start_player Ann
PROGRAM_PID=$!
for _ in $(seq 100); do
    grep -q 'step 1: host' "$WORK_DIR/Ann/script.log" 2>/dev/null && break
    sleep 0.1
done
prepare_player Bob <<'SCRIPT'
join
see Game Ready! Waiting for Ann to move.
opponent Ann Leeds
see From Ann: hello Bob
chat hi Ann
turn
drop x 0
turn
drop x 1
turn
drop x 2
over
yes
turn
drop w 0
turn
drop o 1
turn
drop r 2
turn
drop d 3
over
computer
turn
drop q 3
turn
host
wait is ready to play. Your move!
turn
drop w 0
turn
drop o 1
turn
drop r 2
turn
drop d 3
over
yes
box Opponent Quit
SCRIPT
start_player Bob
JOINER_PID=$!

# Waits up to a minute for child PID $1 to end by itself; sets `ended` to its exit code, or to
# "running".
finish() {
    ended=running
    for _ in $(seq 600); do
        if ! kill -0 "$1" 2>/dev/null; then
            ended=0
            wait "$1" || ended=$?
            return
        fi
        sleep 0.1
    done
}
show_logs() {
    cat "$WORK_DIR"/Ann/*.log | sed 's/^/Ann: /'
    sed 's/^/Bob: /' "$WORK_DIR/Bob/script.log"
}
finish "$PROGRAM_PID"
[ "$ended" = 0 ] || { show_logs; fail "Ann's program: $ended"; }

# Ann starts her program again and joins Bob, who has played before and hosts now.
cat >"$WORK_DIR/Ann/again" <<'SCRIPT'
join
see Game Ready! Waiting for Bob to move.
turn
drop x 6
turn
drop x 6
turn
drop x 6
over
no
quit
SCRIPT
start_player Ann again
PROGRAM_PID=$!
finish "$PROGRAM_PID"
[ "$ended" = 0 ] || { show_logs; fail "Ann's second program: $ended"; }
finish "$JOINER_PID"
[ "$ended" = 0 ] || { show_logs; fail "Bob's program: $ended"; }
[ "$(grep -c 'box Opponent Quit' "$WORK_DIR/Bob/script.log")" = 1 ] || { show_logs; fail "no Opponent Quit"; }
cat "$WORK_DIR/Ann/script.log" "$WORK_DIR/Ann/again.log" >"$WORK_DIR/Ann/both.txt"
check_boards "$WORK_DIR/Ann/both.txt" "$WORK_DIR/Bob/script.log"

# Played, Won, Lost and Tied of each player in his own players.dat.
[ "$(record_writer counters "$WORK_DIR/Ann" Ann)" = "3 1 2 0" ] ||
    fail "Ann's counters are '$(record_writer counters "$WORK_DIR/Ann" Ann)', not 3 1 2 0"
[ "$(record_writer counters "$WORK_DIR/Bob" Bob)" = "3 2 1 0" ] ||
    fail "Bob's counters are '$(record_writer counters "$WORK_DIR/Bob" Bob)', not 3 2 1 0"
echo "two programs played three games over loopback, the second pairing the other way round"
