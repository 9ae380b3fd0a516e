#!/usr/bin/env bash
# Two copies of the real program under Xvfb play each other over loopback, each driven by a
# script: set-up windows, profiles once each way, chat both ways, a game won by the host's word,
# a second game begun by the joiner and won by its word, then the host leaves and the joiner
# sees "Opponent Quit" and ends. Both players.dat files then hold two games, one won, one lost.
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
# Starts player $1's copy of the program in the background.
start_player() {
    local home="$WORK_DIR/$1"
    QT_QPA_PLATFORM=xcb GLYPHDROP_HOME="$home" "$home/glyphdrop" --player "$1" \
        --lan-ports "$ports" --drive "$home/script" >"$home/out.log" 2>&1 &
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
quit
SCRIPT
start_player Ann
PROGRAM_PID=$!
for _ in $(seq 100); do
    grep -q 'step 1: host' "$WORK_DIR/Ann/out.log" 2>/dev/null && break
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
show_logs() { sed 's/^/Ann: /' "$WORK_DIR/Ann/out.log"; sed 's/^/Bob: /' "$WORK_DIR/Bob/out.log"; }
finish "$PROGRAM_PID"
[ "$ended" = 0 ] || { show_logs; fail "Ann's program: $ended"; }
finish "$JOINER_PID"
[ "$ended" = 0 ] || { show_logs; fail "Bob's program: $ended"; }
grep -q 'box Opponent Quit' "$WORK_DIR/Bob/out.log" || { show_logs; fail "no Opponent Quit"; }

# Played, Won, Lost and Tied of each player in his own players.dat.
for player in Ann Bob; do
    counters=$(record_writer counters "$WORK_DIR/$player" "$player")
    [ "$counters" = "2 1 1 0" ] || fail "$player's counters are '$counters', not 2 1 1 0"
done
echo "two programs played two games over loopback; counters 2 1 1 0 on both sides"
