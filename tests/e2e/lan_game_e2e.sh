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

# "turn" then "drop LETTER COLUMN" for each LETTER:COLUMN given.
drops() {
    local c
    for c in "$@"; do printf 'turn\ndrop %s %s\n' "${c%:*}" "${c#*:}"; done
}
{
    printf 'host\nopponent Bob Leeds\nchat hello Bob\nsee From Bob: hi Ann\n'
    drops g:0 a:1 m:2 e:3
    printf 'over\nyes\n'
    drops z:0 z:1 z:2
    printf 'over\nyes\nbox Opponent Quit\n'
} | prepare_player Ann
start_player Ann
PROGRAM_PID=$!
for _ in $(seq 100); do
    grep -q 'step 1: host' "$WORK_DIR/Ann/script.log" 2>/dev/null && break
    sleep 0.1
done
{
    printf 'join\nsee Game Ready! Waiting for Ann to move.\nopponent Ann Leeds\n'
    printf 'see From Ann: hello Bob\nchat hi Ann\n'
    drops x:0 x:1 x:2
    printf 'over\nyes\n'
    drops w:0 o:1 r:2 d:3
    printf 'over\ncomputer\n'
    drops q:3
    printf 'turn\nhost\nwait is ready to play. Your move!\n'
    drops w:0 o:1 r:2 d:3
    printf 'over\nyes\nbox Opponent Quit\n'
} | prepare_player Bob
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
{
    printf 'join\nsee Game Ready! Waiting for Bob to move.\n'
    drops x:6 x:6 x:6
    printf 'over\nno\nquit\n'
} >"$WORK_DIR/Ann/again"
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
