#!/usr/bin/env bash
# The HTTP benchmark, all in one run on loopback: wrk against
# GET /api/v1/chart over varied births (births.lua) for
#   1. pillar serve,
#   2. cpp-httplib returning a fixed body of a chart's size (fixed_body_server),
#   3. a Node.js http server computing the chart with lunar-javascript,
#   4. nginx (docs/nginx-pillar.conf) in front of two pillar serve instances,
# and pillar serve's memory after a warm-up and after the run.
#   bench/http/run.sh [DURATION]      # DURATION for wrk, default 30s
# Needs the native build (pillar, http_fixed_body_server), wrk, nginx, node,
# and lunar-javascript in /tmp/node-bench (npm install --prefix /tmp/node-bench lunar-javascript).
set -euo pipefail
duration=${1:-30s}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build/native}
pillar=$build/pillar/pillar
fixed=$build/bench/http_fixed_body_server
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -f "$work/nginx/nginx.pid" ] && nginx -p "$work/nginx" -c "$root/docs/nginx-pillar.conf" -s quit 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

wait_for() { for _ in $(seq 50); do curl -sf -o /dev/null "$1" && return 0; sleep 0.1; done; echo "no answer from $1" >&2; exit 1; }
rss_kib() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
load() {  # name url
  echo "== $1"
  wrk -t1 -c32 -d"$duration" --latency -s "$here/births.lua" "$2" | grep -E 'Requests/sec|Latency  |99%|Non-2xx|Socket errors'
}

"$pillar" serve --listen 127.0.0.1:8090 2>/dev/null & pids+=($!); ours=$!
wait_for 'http://127.0.0.1:8090/api/v1/health'
bytes=$(curl -s 'http://127.0.0.1:8090/api/v1/chart?datetime=1990-05-17T14:30&sex=male' | wc -c)
"$fixed" 8091 "$bytes" & pids+=($!)
NODE_PATH=/tmp/node-bench/node_modules node "$here/node_chart_server.js" 8093 & pids+=($!)
"$pillar" serve --listen 127.0.0.1:8081 2>/dev/null & pids+=($!)
"$pillar" serve --listen 127.0.0.1:8082 2>/dev/null & pids+=($!)
mkdir -p "$work/nginx/logs"
nginx -p "$work/nginx" -c "$root/docs/nginx-pillar.conf"
for url in http://127.0.0.1:8091/api/v1/chart http://127.0.0.1:8093/api/v1/chart?datetime=1990-05-17T14:30 \
           http://127.0.0.1:8080/api/v1/health; do wait_for "$url"; done

echo "chart body: $bytes bytes; wrk -t1 -c32 -d$duration on $(nproc) cores"
wrk -t1 -c32 -d5s -s "$here/births.lua" http://127.0.0.1:8090 > /dev/null  # warm-up
warm=$(rss_kib "$ours")
load "pillar serve" http://127.0.0.1:8090
after=$(rss_kib "$ours")
echo "pillar serve memory: $warm KiB after the warm-up, $after KiB after the run"
load "fixed body (cpp-httplib alone)" http://127.0.0.1:8091
load "Node.js http + lunar-javascript" http://127.0.0.1:8093
load "nginx + two pillar serve" http://127.0.0.1:8080
