#!/usr/bin/env bash
# One address holds as many connections to the game server as it can open (each sends a header
# byte now and then, and is opened again when the server closes it) while another address polls
# an empty mailbox: prints the other address's latency (p50, p99, max) without and with the hold.
# Usage: bench/server/run-hold.sh [REQUESTS, default 3000] [extra server options...]
set -euo pipefail
cd "$(dirname "$0")/../.."
requests=${1:-3000}
shift || true

source bench/server/load_lib.sh
load_setup curl:curl python3:python3

port=$(free_port)
build/glyphdrop/glyphdrop-server --listen "127.0.0.1:$port" --db "$work/hold.db" --rate 0 \
    --log-level error "$@" > "$work/server.out" 2> "$work/server.err" &
pids+=($!)
wait_for_server "http://127.0.0.1:$port/Glyphdrop"

python3 - "$port" "$requests" <<'PY'
import resource, socket, sys, threading, time

port, requests = int(sys.argv[1]), int(sys.argv[2])
soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))

def connect(source):
    s = socket.socket()
    s.bind((source, 0))
    s.connect(("127.0.0.1", port))
    return s

def measure(label):
    """Polls of an empty mailbox from 127.0.0.41 on one kept-alive connection."""
    s, took = connect("127.0.0.41"), []
    request = b"GET /Glyphdrop/getdata.mv?s1 HTTP/1.1\r\nHost: b\r\n\r\n"
    for _ in range(requests):
        start = time.perf_counter()
        s.sendall(request)
        reply = b""
        while b"FILE*NOT*FOUND" not in reply:
            part = s.recv(4096)
            if not part:
                s = connect("127.0.0.41")
                s.sendall(request)
                continue
            reply += part
        took.append((time.perf_counter() - start) * 1000)
    took.sort()
    print(f"{label}: {requests} requests, p50 {took[len(took) // 2]:.2f} ms, "
          f"p99 {took[len(took) * 99 // 100]:.2f} ms, max {took[-1]:.2f} ms")

measure("another address, nobody holding")

held, stop = [], threading.Event()
def hold():
    """Opens connections from 127.0.0.8 until the server closes every new one at once."""
    while not stop.is_set():
        try:
            s = connect("127.0.0.8")
            s.sendall(b"G")
            held.append(s)
        except OSError:
            time.sleep(0.01)
        if len(held) % 100 == 0:
            alive = []
            for s in held:
                try:
                    s.setblocking(False)
                    gone = s.recv(1) == b""
                except BlockingIOError:
                    gone = False
                except OSError:
                    gone = True
                if gone:
                    s.close()
                else:
                    s.send(b"E")
                    alive.append(s)
            held[:] = alive
            if len(held) < 100:
                time.sleep(0.05)

thread = threading.Thread(target=hold, daemon=True)
thread.start()
time.sleep(3)
print(f"127.0.0.8 holds {len(held)} connections")
measure("another address, while 127.0.0.8 holds all it can")
print(f"127.0.0.8 holds {len(held)} connections")
stop.set()
PY
