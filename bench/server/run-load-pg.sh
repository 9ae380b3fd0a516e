#!/usr/bin/env bash
# The game server's load run on PostgreSQL, on loopback: a private PostgreSQL (fsync and
# synchronous_commit on), then polls of an empty mailbox and post+read pairs against one
# glyphdrop-server process, and against two processes on the same database at once (one wrk
# each, half the connections each); and, for the comparison within one run, polls of an empty
# mailbox on one process with the SQLite store. Prints requests/s and p99 latency.
# Usage: bench/server/run-load-pg.sh [SECONDS per run, default 10]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-10}

source bench/server/load_lib.sh
load_setup wrk:wrk curl:curl
chmod 755 "$work"  # the database runs as the postgres account, which must reach its folder
load_cleanup() { tests/support/scratch-postgres.sh stop "$work/pg"; }

db=$(tests/support/scratch-postgres.sh start "$work/pg")
bases=()
for n in 1 2; do
    port=$(free_port)
    build/glyphdrop/glyphdrop-server --listen "127.0.0.1:$port" --db "$db" --rate 0 \
        --mailbox-size 1000000 > "$work/server$n.out" 2> "$work/server$n.err" &
    pids+=($!)
    bases+=("http://127.0.0.1:$port/Glyphdrop")
    wait_for_server "${bases[-1]}"
done

# The same poll on the SQLite store, for the comparison.
port=$(free_port)
build/glyphdrop/glyphdrop-server --listen "127.0.0.1:$port" --db "$work/s.db" --rate 0 \
    > "$work/sqlite.out" 2> "$work/sqlite.err" &
pids+=($!)
sqliteBase="http://127.0.0.1:$port/Glyphdrop"
wait_for_server "$sqliteBase"
sqliteGame=$(curl -s "$sqliteBase/joinwait.mv?bench%40x+S+Here+0+0+NO+none+3600" |
    sed -n 's/.*tttt\(.*\)ssss.*/\1/p')
curl -s "$sqliteBase/joingame.mv?$sqliteGame+b%40x+" >/dev/null

# 256 games, entered through the first process and joined through the second.
make_games "${bases[0]}" "${bases[1]}"
poll="/getdata.mv?s$(head -1 "$work/games.txt")"

measure() {  # connections path-or-base-url [script] -> "requests/s p99"
    wrk -t1 -c"$1" -d"${seconds}s" --latency ${3:+-s "$3"} "$2" |
        awk '/^Requests\/sec/ {r = $2} $1 == "99%" {p = $2} END {print r, p}'
}
row() { printf '%-34s %5s  %12s  %10s\n' "$@"; }

row "run" "conns" "requests/s" "p99"
for c in 64 256; do
    read -r pgPolls pgP99 < <(measure "$c" "${bases[0]}$poll")
    row "empty-mailbox poll, 1 process" "$c" "$pgPolls" "$pgP99"
    read -r sqlitePolls sqliteP99 < <(measure "$c" "$sqliteBase/getdata.mv?s$sqliteGame")
    row "empty-mailbox poll, SQLite" "$c" "$sqlitePolls" "$sqliteP99"
    row "  PostgreSQL / SQLite" "$c" "$(awk -v a="$pgPolls" -v b="$sqlitePolls" 'BEGIN {printf "%.2f", a / b}')" ""
    row "post+read pairs, 1 process" "$c" $(measure "$c" "${bases[0]}/readwait.mv" bench/server/post_read.lua)
    for what in poll pair; do
        half=$((c / 2))
        if [ $what = poll ]; then
            measure "$half" "${bases[0]}$poll" > "$work/a" & a=$!
            measure "$half" "${bases[1]}$poll" > "$work/b"
        else
            measure "$half" "${bases[0]}/readwait.mv" bench/server/post_read.lua > "$work/a" & a=$!
            measure "$half" "${bases[1]}/readwait.mv" bench/server/post_read.lua > "$work/b"
        fi
        wait $a
        read -r ra pa < "$work/a"; read -r rb pb < "$work/b"
        label=$([ $what = poll ] && echo "empty-mailbox poll" || echo "post+read pairs")
        row "$label, 2 processes" "$c" "$(awk -v a="$ra" -v b="$rb" 'BEGIN {printf "%.2f", a + b}')" "$pa / $pb"
    done
done
