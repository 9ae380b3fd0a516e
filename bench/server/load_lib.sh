# What the server's load runs share: the tools, the built server, a scratch folder whose
# processes are stopped on exit, free loopback ports and a set of joined games.
# Sourced by run-load.sh and run-load-pg.sh from the repository's top folder.

# Installs what is missing of the given commands' packages ("command:package"), then builds
# the server.
load_setup() {
    local need=() pair
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
    done
    if [ ${#need[@]} -gt 0 ]; then
        local sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
    fi
    scripts/install-deps
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$(nproc)" --target glyphdrop-server >/dev/null
}

# A scratch folder in $work; every PID added to $pids is stopped on exit, then the function
# load_cleanup runs if the script defines one.
work=$(mktemp -d /tmp/glyphdrop-bench-XXXXXX)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    ! declare -F load_cleanup >/dev/null || load_cleanup
    rm -rf "$work"
}
trap finish EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# Waits up to five seconds for the server at BASE to answer.
wait_for_server() {
    for _ in $(seq 50); do curl -sf "$1/updates.mv?1.1" >/dev/null && return; sleep 0.1; done
}

# 256 games entered through ENTER_BASE and joined through JOIN_BASE; writes their numbers to
# $work/games.txt for the post+read script.
make_games() {
    local i game
    for i in $(seq 256); do
        game=$(curl -s "$1/joinwait.mv?bench%40x+P$i+Here+0+0+NO+none+3600" | sed -n 's/.*tttt\(.*\)ssss.*/\1/p')
        curl -s "$2/joingame.mv?$game+b%40x+" >/dev/null
        echo "$game"
    done > "$work/games.txt"
    export GAMES_FILE="$work/games.txt"
}
