#!/usr/bin/env bash
# The game server's load run on loopback: nginx serving a 40-byte file, then glyphdrop-server
# answering polls of empty mailboxes and post+read pairs, each at 64 and 256 connections, with
# wrk (one thread), and posts alone at 256. Prints requests/s, p99 latency and the ratios to
# nginx. The server runs without rate limits, and with mailboxes large enough for posts alone.
# Usage: bench/server/run-load.sh [SECONDS per run, default 10]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-10}

source bench/server/load_lib.sh
load_setup wrk:wrk /usr/sbin/nginx:nginx-light curl:curl

nginx_port=$(free_port)
server_port=$(free_port)

mkdir -p "$work/www"
printf '%s' "Glyphdrop serves forty bytes of text.\n" | head -c 40 > "$work/www/static.txt"
cat > "$work/nginx.conf" <<CONF
worker_processes 2;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 4096; }
http {
    access_log off;
    client_body_temp_path $work; proxy_temp_path $work; fastcgi_temp_path $work;
    uwsgi_temp_path $work; scgi_temp_path $work;
    server { listen 127.0.0.1:$nginx_port; root $work/www; }
}
CONF
/usr/sbin/nginx -c "$work/nginx.conf" -p "$work" &
pids+=($!)
build/glyphdrop/glyphdrop-server --listen "127.0.0.1:$server_port" --db "$work/bench.db" \
    --rate 0 --per-address 0 --mailbox-size 1000000 --log-level info \
    > "$work/server.out" 2> "$work/server.err" &
server_pid=$!
pids+=($server_pid)
base="http://127.0.0.1:$server_port/Glyphdrop"
wait_for_server "$base"

# 256 games, each entered and joined, for the post+read pairs; the first one's mailbox is polled.
make_games "$base" "$base"
empty_poll="$base/getdata.mv?s$(head -1 "$work/games.txt")"

# CPU time (clock ticks) used so far by a process and its children's threads: the nginx master's
# workers, or the server. Other builds share this machine, so requests/s move with their load;
# CPU microseconds per request do not.
cpu_ticks() {
    local total=0 pid
    for pid in "$@"; do
        total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat")))
    done
    echo "$total"
}
nginx_pids() { echo "$(cat "$work/nginx.pid")" $(ps --ppid "$(cat "$work/nginx.pid")" -o pid=); }

run() {  # label connections url script key pids...
    local label=$1 conns=$2 url=$3 script=$4 key=$5
    shift 5
    local before out after
    before=$(cpu_ticks "$@")
    out=$(wrk -t1 -c"$conns" -d"${seconds}s" --latency ${script:+-s "$script"} "$url")
    after=$(cpu_ticks "$@")
    local rps p99 errors requests cpu
    rps=$(awk '/^Requests\/sec/ {print $2}' <<<"$out")
    p99=$(awk '$1 == "99%" {print $2}' <<<"$out")
    requests=$(awk '/requests in/ {print $1}' <<<"$out")
    errors=$(awk '/Non-2xx|Socket errors/ {printf "%s ", $0}' <<<"$out")
    cpu=$(awk -v t=$((after - before)) -v n="$requests" -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.1f", t / hz * 1e6 / n }')
    printf '%-28s %5s  %12s  %10s  %10s  %s\n' "$label" "$conns" "$rps" "$p99" "$cpu" "$errors"
    eval "rps_${key}_$conns=$rps"
}

printf '%-28s %5s  %12s  %10s  %10s\n' "run" "conns" "requests/s" "p99" "CPU us/req"
for c in 64 256; do
    run "nginx 40-byte file" "$c" "http://127.0.0.1:$nginx_port/static.txt" "" nginx $(nginx_pids)
    run "empty-mailbox poll" "$c" "$empty_poll" "" poll "$server_pid"
    run "post+read pairs" "$c" "$base/readwait.mv" bench/server/post_read.lua pair "$server_pid"
done
POSTS_ONLY=1 run "durable posts only" 256 "$base/readwait.mv" bench/server/post_read.lua post \
    "$server_pid"
echo
for c in 64 256; do
    awk -v c="$c" -v n="$(eval echo \$rps_nginx_$c)" -v p="$(eval echo \$rps_poll_$c)" \
        -v q="$(eval echo \$rps_pair_$c)" 'BEGIN {
        printf "%d connections: polls / nginx = %.2f; post+read / nginx = %.2f; durable posts/s = %.0f\n",
            c, p / n, q / n, q / 2 }'
done
echo "posts only, 256 connections: $rps_post_256 durable posts/s"
kill -TERM "$server_pid"; wait "$server_pid" || true
grep -h "commits" "$work/server.err" || true
