#!/usr/bin/env bash
# A throw-away PostgreSQL server in a folder of its own, on a free port of 127.0.0.1.
# Usage: scratch-postgres.sh start FOLDER   prints the address of its database "postgres"
#        scratch-postgres.sh restart FOLDER stops it and starts it again, as a database restart
#        scratch-postgres.sh stop FOLDER    stops it by its PID and removes the folder
# initdb and postgres refuse root, so as root they run as the postgres account, which must be able
# to reach FOLDER.
set -euo pipefail
bin=${GLYPHDROP_PG_BIN:-/usr/lib/postgresql/15/bin}
[ $# -eq 2 ] || { echo "usage: $0 start|restart|stop FOLDER" >&2; exit 2; }
folder=$2

as_server() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case $1 in
start)
    [ -x "$bin/postgres" ] || { echo "PostgreSQL server binaries not found in $bin" >&2; exit 3; }
    mkdir -p "$folder"
    [ "$(id -u)" -ne 0 ] || chown postgres: "$folder"
    as_server "$bin/initdb" -D "$folder/data" -U glyphdrop --auth=trust -E UTF8 --locale=C \
        >"$folder/initdb.log"
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
        -o "-k $folder -h 127.0.0.1 -p $port -c max_connections=200" start >/dev/null
    echo "postgresql://glyphdrop@127.0.0.1:$port/postgres"
    ;;
restart)
    as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -m fast restart >/dev/null
    ;;
stop)
    if [ -f "$folder/data/postmaster.pid" ]; then
        pid=$(head -1 "$folder/data/postmaster.pid")
        kill -INT "$pid" 2>/dev/null || true  # fast shutdown
        for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -rf "$folder"
    ;;
*)
    echo "usage: $0 start|restart|stop FOLDER" >&2
    exit 2
    ;;
esac
