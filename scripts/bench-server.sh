#!/usr/bin/env bash
# Benchmarks of update-server on loopback, each beside a baseline measured in
# the same run:
#   1. one check whose body lists 10,000 files: median time from request to
#      reply, beside the same-sized body refused for its key (transport only);
#   2. small checks under wrk (2 threads, 64 connections, BENCH_SECONDS, 30 by
#      default), beside nginx serving a small static file with the same load;
#   3. with --soak: SOAK_SECONDS (600 by default) at twice the connections,
#      with the server's memory sampled every 10 s.
# Uses a Release build in $VELMO_BUILD_ROOT/release (built here if missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
bench_seconds=${BENCH_SECONDS:-30}
soak_seconds=${SOAK_SECONDS:-600}
soak=false
[ "${1:-}" = "--soak" ] && soak=true

release_dir=$build_root/release
if [ ! -f "$release_dir/build.ninja" ]; then
  cmake -S "$root" -B "$release_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$release_dir" --target update-server >/dev/null
server_bin=$release_dir/server/update-server

work=$(mktemp -d /tmp/bench-server.XXXXXX)
server_pid=""
nginx_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
  [ -n "${BENCH_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

echo "== preparing releases in $work"
python3 - "$work" <<'PY'
import hashlib, json, os, sys
work = sys.argv[1]
def make(release, count):
    files = []
    for i in range(count):
        rel = f"dir{i % 100:02d}/file{i:05d}.dll"
        data = f"contents of file {i}\n".encode() * 8
        os.makedirs(os.path.join(work, release, os.path.dirname(rel)), exist_ok=True)
        with open(os.path.join(work, release, rel), "wb") as f:
            f.write(data)
        files.append((rel, hashlib.md5(data).hexdigest()))
    return files
def body(key, files, stale=False):
    entries = []
    for rel, md5 in files:
        path = "%5C" + rel.replace("/", "%5C")
        entries.append('{"pathName": "%s","md5": "%s"}' % (path, "0" * 32 if stale else md5))
    return "key=" + key + "&list=[" + ",".join(entries) + "]"
big = make("big", 10000)
small = make("small", 5)
bodies = {
    "big-current": body("b" * 32, big),
    "big-stale": body("b" * 32, big, stale=True),
    "big-unknown-key": body("u" * 32, big),
    "small": body("s" * 32, small[:4] + [(small[4][0], "0" * 32)]),
}
for name, text in bodies.items():
    with open(os.path.join(work, name + ".body"), "w") as f:
        f.write(text)
with open(os.path.join(work, "small.lua"), "w") as f:
    f.write('wrk.method = "POST"\n')
    f.write('wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"\n')
    f.write("wrk.body = " + json.dumps(bodies["small"]) + "\n")
with open(os.path.join(work, "static.txt"), "w") as f:
    f.write('{"state":0,"msg":"\\u6587\\u4ef6\\u4e00\\u81f4,\\u65e0\\u987b\\u66f4\\u65b0"}')
PY
cat > "$work/server.ini" <<INI
[server]
access_log = access.log
[product big]
key = $(printf 'b%.0s' $(seq 32))
release = big
[product small]
key = $(printf 's%.0s' $(seq 32))
release = small
INI

"$server_bin" --config "$work/server.ini" --port 0 >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
for _ in $(seq 100); do grep -q listening "$work/server.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
[ -n "$port" ] || { cat "$work/server.err"; exit 1; }
echo "update-server pid $server_pid on port $port ($(nproc) cores)"

echo "== 1. check of 10,000 files (Release build, keep-alive, 50 runs each after 5 warm-ups)"
python3 - "$work" "$port" <<'PY'
import http.client, statistics, sys, time
work, port = sys.argv[1], int(sys.argv[2])
conn = http.client.HTTPConnection("127.0.0.1", port)
def measure(name):
    body = open(f"{work}/{name}.body", "rb").read()
    times, size = [], 0
    for i in range(55):
        start = time.perf_counter()
        conn.request("POST", "/api/update/check", body,
                     {"Content-Type": "application/x-www-form-urlencoded"})
        reply = conn.getresponse().read()
        if i >= 5:
            times.append((time.perf_counter() - start) * 1000)
        size = len(reply)
    times.sort()
    print(f"  {name:17s} body {len(body)/1e6:5.2f} MB  reply {size/1e6:6.3f} MB  "
          f"median {statistics.median(times):6.2f} ms  p90 {times[int(len(times)*0.9)]:6.2f} ms")
measure("big-unknown-key")
measure("big-current")
measure("big-stale")
print("  (baseline: big-unknown-key, the same body read and refused; goal: big-current <= 20 ms)")
PY

nginx_port=$(free_port)
mkdir -p "$work/nginx/logs"
cat > "$work/nginx/nginx.conf" <<NGX
worker_processes $(nproc);
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/nginx; proxy_temp_path $work/nginx;
  fastcgi_temp_path $work/nginx; uwsgi_temp_path $work/nginx; scgi_temp_path $work/nginx;
  server {
    listen 127.0.0.1:$nginx_port;
    location / { root $work; }
  }
}
NGX
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
for _ in $(seq 50); do curl -sf "http://127.0.0.1:$nginx_port/static.txt" >/dev/null && break; sleep 0.1; done

rate() { sed -n 's/^Requests\/sec: *\([0-9.]*\).*/\1/p'; }
echo "== 2. wrk -t2 -c64 -d${bench_seconds}s"
wrk -t2 -c64 -d"${bench_seconds}s" "http://127.0.0.1:$nginx_port/static.txt" >"$work/wrk-nginx.txt"
wrk -t2 -c64 -d"${bench_seconds}s" -s "$work/small.lua" "http://127.0.0.1:$port/api/update/check" \
  >"$work/wrk-server.txt"
nginx_rate=$(rate <"$work/wrk-nginx.txt")
server_rate=$(rate <"$work/wrk-server.txt")
echo "  nginx, small static file (ceiling): $nginx_rate replies/s"
echo "  update-server, small check:         $server_rate replies/s (goal >= 5000)"
grep -E 'Latency|Non-2xx|Socket errors' "$work/wrk-server.txt" | sed 's/^/  server /'
kill "$nginx_pid"; wait "$nginx_pid" 2>/dev/null || true; nginx_pid=""

if $soak; then
  echo "== 3. soak: wrk -t2 -c128 -d${soak_seconds}s, RSS of update-server every 10 s"
  wrk -t2 -c128 -d"${soak_seconds}s" -s "$work/small.lua" "http://127.0.0.1:$port/api/update/check" \
    >"$work/wrk-soak.txt" &
  wrk_pid=$!
  samples=()
  while kill -0 "$wrk_pid" 2>/dev/null; do
    samples+=("$(ps -o rss= -p "$server_pid" | tr -d ' ')")
    sleep 10
  done
  wait "$wrk_pid" || true
  echo "  RSS kB samples: ${samples[*]}"
  printf '  RSS kB first %s, after 1 min %s, max %s, last %s\n' "${samples[0]}" "${samples[6]:-?}" \
    "$(printf '%s\n' "${samples[@]}" | sort -n | tail -1)" "${samples[-1]}"
  echo "  rate: $(rate <"$work/wrk-soak.txt") replies/s"
  grep -E 'requests in|Non-2xx|Socket errors' "$work/wrk-soak.txt" | sed 's/^/  /' || true
  grep -c '' "$work/access.log" | sed 's/^/  access-log lines: /'
fi
echo "== done"
