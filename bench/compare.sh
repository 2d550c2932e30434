#!/usr/bin/env bash
# Runs build/bin/http-get and curl side by side against a private nginx on 127.0.0.1 and prints
# the medians and the ratio http-get/curl as a Markdown table:
#   - a 1 GiB download to a file and to /dev/null (wall, user+sys CPU, peak RSS),
#   - 14 small files in one process over one kept-alive connection,
#   - a 256 MiB chunked body,
#   - http-get --text of a 256 MiB body (peak RSS),
#   - the 1 GiB download over TLS (https, a certificate made here and trusted with --cacert).
# Then http-get against itself: --text of a 64 MiB body beside the same body to a stream (wall
# time and peak RSS), and a small file with --connect-timeout 3000 beside the same without.
# Beside them, for the 1 GiB download, a bare reader (bench/bare_reader.cpp) that only receives,
# with the client's 32 KiB receive calls and with curl's larger ones: the floor.
# The programs take turns run by run, RUNS times each (default 5, at least 5). Every body is
# checked once against its file before it is timed. nginx and every file live in one temporary
# folder that is removed at the end, also after a failure. The chunked body comes from nginx
# itself: appending an empty file to a static one makes it drop the length and send chunks.
#
# Usage: bench/compare.sh            (after a build into build/)
#        RUNS=9 bench/compare.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-5}
[ "$runs" -ge 5 ] || { echo "RUNS must be at least 5" >&2; exit 2; }

client="$root/build/bin/http-get"
[ -x "$client" ] || { echo "no $client: build first (see README)" >&2; exit 2; }
bash "$root/scripts/install-packages.sh" "$root/bench/compare-packages.txt"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmorix-bench.XXXXXX")
nginx_pid=""
cleanup() {
  if [ -n "$nginx_pid" ] && kill -0 "$nginx_pid" 2>/dev/null; then
    kill -TERM "$nginx_pid" 2>/dev/null || true
    wait "$nginx_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$work/www" "$work/temp" "$work/results"
bare="$work/bare-reader"
g++ -O2 -std=c++20 -Wall -Wextra -Werror -o "$bare" "$root/bench/bare_reader.cpp"
# nginx started as root serves through workers of an unprivileged user, which must read here.
chmod 755 "$work"

# --- test files -----------------------------------------------------------------------------
echo "Creating the test files in $work ..." >&2
head -c $((1024 * 1024 * 1024)) /dev/urandom > "$work/www/1g.bin"
head -c $((256 * 1024 * 1024)) "$work/www/1g.bin" > "$work/www/256m.bin"
head -c $((64 * 1024 * 1024)) "$work/www/1g.bin" > "$work/www/64m.bin"
: > "$work/www/empty.bin"
small_urls=()
for i in $(seq 1 14); do
  # 1.5 KiB to 40 KiB, the sizes of button pictures and start pages.
  head -c $((1536 + (i - 1) * 2900)) /dev/urandom > "$work/www/small$i.bin"
done

# --- nginx ----------------------------------------------------------------------------------
free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)
tls_port=$(free_port)
# The https case's certificate is its own authority, trusted by both clients with --cacert.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
  -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
  -keyout "$work/tls.key" -out "$work/tls.pem" 2> /dev/null
cat > "$work/nginx.conf" <<EOF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log warn;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/temp/body;
  proxy_temp_path $work/temp/proxy;
  fastcgi_temp_path $work/temp/fastcgi;
  uwsgi_temp_path $work/temp/uwsgi;
  scgi_temp_path $work/temp/scgi;
  default_type application/octet-stream;
  sendfile on;
  tcp_nopush on;
  keepalive_timeout 60s;
  keepalive_requests 1000;
  server {
    listen 127.0.0.1:$port;
    listen 127.0.0.1:$tls_port ssl;
    ssl_certificate $work/tls.pem;
    ssl_certificate_key $work/tls.key;
    ssl_protocols TLSv1.2 TLSv1.3;
    server_name bench;
    root $work/www;
    # The same files without a length: appending an empty file after the body makes nginx
    # drop Content-Length and send the body chunked, one chunk per 32 KiB it reads.
    location /chunked/ {
      alias $work/www/;
      sendfile off;
      output_buffers 2 32k;
      addition_types *;
      add_after_body /empty.bin;
    }
  }
}
EOF
nginx -p "$work" -c "$work/nginx.conf" -e "$work/error.log" -g 'daemon off;' &
nginx_pid=$!
base="http://127.0.0.1:$port"
for _ in $(seq 1 50); do
  curl -sf -o /dev/null "$base/empty.bin" && break
  kill -0 "$nginx_pid" 2>/dev/null || { cat "$work/error.log" >&2; exit 1; }
  sleep 0.1
done
curl -sf -o /dev/null "$base/empty.bin" || { echo "nginx did not answer" >&2; exit 1; }
if ! curl -s -D - -o /dev/null "$base/chunked/256m.bin" | grep -qi '^transfer-encoding: *chunked'; then
  echo "nginx did not send the chunked body chunked" >&2
  exit 1
fi
for i in $(seq 1 14); do small_urls+=("$base/small$i.bin"); done
tls_url="https://127.0.0.1:$tls_port/1g.bin"

# --- checks: every body arrives whole before anything is timed -------------------------------
check() {  # check FILE COMMAND...: the command's standard output must equal FILE
  local expected=$1
  shift
  "$@" > "$work/check.out"
  cmp -s "$expected" "$work/check.out" || { echo "wrong body from: $*" >&2; exit 1; }
  rm -f "$work/check.out"
}
cat "$work"/www/small{1..14}.bin > "$work/small-all.bin"
for tool in "$client" "curl -s"; do
  check "$work/www/1g.bin" $tool "$base/1g.bin"
  check "$work/www/256m.bin" $tool "$base/chunked/256m.bin"
  check "$work/small-all.bin" $tool "${small_urls[@]}"
done
check "$work/www/256m.bin" "$client" --text "$base/256m.bin"
check "$work/www/64m.bin" "$client" --text "$base/64m.bin"
check "$work/www/small1.bin" "$client" --connect-timeout 3000 "$base/small1.bin"
check "$work/www/1g.bin" "$client" --cacert "$work/tls.pem" "$tls_url"
check "$work/www/1g.bin" curl -s --cacert "$work/tls.pem" "$tls_url"
"$client" -o "$work/out.bin" "$base/1g.bin"
cmp -s "$work/www/1g.bin" "$work/out.bin" || { echo "wrong file from http-get -o" >&2; exit 1; }
rm -f "$work/out.bin"

# --- timing ---------------------------------------------------------------------------------
# measure CASE TOOL COMMAND...: one run; appends "wall user+sys peak-KiB" to the case's record.
# hyperfine times the run to the microsecond (GNU time's CPU figures have 10 ms steps), and
# /usr/bin/time around the command gives its peak RSS.
measure() {
  local name=$1 tool=$2
  shift 2
  hyperfine -N --runs 1 --style none --output null --export-json "$work/run.json" \
    "/usr/bin/time -f %M -o $work/rss.out $*" > /dev/null 2>> "$work/hyperfine.log"
  python3 -c '
import json, sys
run = json.load(open(sys.argv[1]))["results"][0]
if run["exit_codes"] != [0]:
    sys.exit("failed: " + run["command"])
print("%.6f %.6f %s" % (run["times"][0], run["user"] + run["system"], open(sys.argv[2]).read().split()[-1]))
' "$work/run.json" "$work/rss.out" >> "$work/results/$name.$tool"
}

# group CASE TOOL 'COMMAND' [TOOL 'COMMAND' ...]: the tools take turns run by run, and which
# goes first moves on with every run.
group() {
  local name=$1
  shift
  local tools=() commands=()
  while [ $# -gt 0 ]; do
    tools+=("$1")
    commands+=("$2")
    shift 2
  done
  local count=${#tools[@]}
  for run in $(seq 0 $((runs - 1))); do
    for turn in $(seq 0 $((count - 1))); do
      local which=$(((run + turn) % count))
      measure "$name" "${tools[$which]}" ${commands[$which]}
      rm -f "$work/out.bin"
    done
  done
}

echo "Timing, $runs runs each ..." >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
group file http-get "$client -o $work/out.bin $base/1g.bin" \
  curl "curl -s -o $work/out.bin $base/1g.bin"
# The bare readers show the floor: what the socket calls alone cost with the client's receive
# size of 32 KiB, and with the 96 KiB that curl asks for.
group null http-get "$client $base/1g.bin" curl "curl -s $base/1g.bin" \
  bare-32k "$bare $port /1g.bin 32768" bare-96k "$bare $port /1g.bin 98304"
group small http-get "$client ${small_urls[*]}" curl "curl -s ${small_urls[*]}"
group chunked http-get "$client $base/chunked/256m.bin" curl "curl -s $base/chunked/256m.bin"
group https http-get "$client --cacert $work/tls.pem $tls_url" \
  curl "curl -s --cacert $work/tls.pem $tls_url"
group text http-get "$client --text $base/256m.bin" curl "curl -s $base/256m.bin"
group text-chunked http-get "$client --text $base/chunked/256m.bin" \
  curl "curl -s $base/chunked/256m.bin"
group text64 text "$client --text $base/64m.bin" stream "$client $base/64m.bin"

# The small files take a few milliseconds, where a process's start matters: hyperfine times
# them again without a shell, in rounds of 10 whose order alternates. So are the connect's wait
# with a time-out beside the plain connect, and the 64 MiB text beside its stream: single runs
# of some 50 ms vary by half on this kind of machine.
# rounds NAME RUN 'COMMAND' 'COMMAND': one round of 10 runs each, which goes first taking turns.
rounds() {
  local name=$1 run=$2 first=$3 second=$4
  if [ $((run % 2)) -eq 0 ]; then first=$4 second=$3; fi
  hyperfine -N --style none --warmup 2 --runs 10 --output null \
    --export-json "$work/results/$name.$run.json" "$first" "$second" > /dev/null \
    2> "$work/hyperfine.log"
}
for run in $(seq 1 "$runs"); do
  rounds hyperfine "$run" "$client ${small_urls[*]}" "curl -s ${small_urls[*]}"
  rounds connect "$run" "$client --connect-timeout 3000 $base/small1.bin" "$client $base/small1.bin"
  rounds text64 "$run" "$client --text $base/64m.bin" "$client $base/64m.bin"
done

# --- table ----------------------------------------------------------------------------------
machine="$(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
load="load average $load_before before the timing, $(cut -d' ' -f1-3 /proc/loadavg) after"
python3 - "$work/results" "$runs" "$machine" "$load" <<'EOF'
import json, os, statistics, sys

results, runs, machine, load = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]

def column(name, tool, index):
    with open(os.path.join(results, name + "." + tool)) as record:
        return [float(line.split()[index]) for line in record]

def median(name, tool, index):
    return statistics.median(column(name, tool, index))

small_wall = {"http-get": [], "curl": []}
connect_wall = {"timed": [], "plain": []}
text64_wall = {"text": [], "stream": []}
for run in range(1, runs + 1):
    with open(os.path.join(results, "hyperfine.%d.json" % run)) as data:
        for result in json.load(data)["results"]:
            tool = "curl" if result["command"].startswith("curl") else "http-get"
            small_wall[tool] += result["times"]
    with open(os.path.join(results, "connect.%d.json" % run)) as data:
        for result in json.load(data)["results"]:
            kind = "timed" if "--connect-timeout" in result["command"] else "plain"
            connect_wall[kind] += result["times"]
    with open(os.path.join(results, "text64.%d.json" % run)) as data:
        for result in json.load(data)["results"]:
            kind = "text" if "--text" in result["command"] else "stream"
            text64_wall[kind] += result["times"]

MIB = 1024.0
rows = []
def row(case, measure, ours, theirs, unit, target=None, verdict=None):
    ratio = ours / theirs if theirs else float("nan")
    if verdict is None and target is not None:
        verdict = "met" if ratio <= target else "MISSED"
    digits = 1 if target is None or round(target, 1) == target else 2
    goal = "" if target is None else "<= %.*fx" % (digits, target)
    rows.append((case, measure, ours, theirs, unit, ratio, goal, verdict or ""))

for name, case, wall_goal, cpu_goal in (
        ("file", "1 GiB to a file", 1.0, 1.0),
        ("null", "1 GiB to /dev/null", 1.0, 1.0),
        ("chunked", "256 MiB chunked to /dev/null", None, None),
        ("https", "1 GiB over TLS to /dev/null", 1.05, 1.05)):
    row(case, "wall", median(name, "http-get", 0), median(name, "curl", 0), "s", wall_goal)
    row(case, "user+sys CPU", median(name, "http-get", 1), median(name, "curl", 1), "s", cpu_goal)
    rss = median(name, "http-get", 2) / MIB
    verdict = None
    if name == "file":
        verdict = "met" if rss < 16 else "MISSED"
    row(case, "peak RSS", rss, median(name, "curl", 2) / MIB, "MiB", None, verdict)
    if name == "file":
        rows[-1] = rows[-1][:6] + ("< 16 MiB",) + rows[-1][7:]

for tool, what in (("bare-32k", "32 KiB"), ("bare-96k", "96 KiB")):
    case = "1 GiB to /dev/null, bare reader, %s receives" % what
    row(case, "wall", median("null", tool, 0), median("null", "curl", 0), "s")
    row(case, "user+sys CPU", median("null", tool, 1), median("null", "curl", 1), "s")
row("14 small files, one connection", "wall (hyperfine)",
    statistics.median(small_wall["http-get"]) * 1000, statistics.median(small_wall["curl"]) * 1000,
    "ms", 1.2)
row("14 small files, one connection", "wall (under /usr/bin/time)",
    median("small", "http-get", 0) * 1000, median("small", "curl", 0) * 1000, "ms")
row("14 small files, one connection", "peak RSS",
    median("small", "http-get", 2) / MIB, median("small", "curl", 2) / MIB, "MiB")
for name, case in (("text", "--text of 256 MiB (length)"),
                   ("text-chunked", "--text of 256 MiB (chunked)")):
    rss = median(name, "http-get", 2) / MIB
    row(case, "peak RSS (curl: to /dev/null)", rss, median(name, "curl", 2) / MIB, "MiB", None,
        "met (%.2f x 256 MiB)" % (rss / 256) if rss <= 2.2 * 256 else
        "MISSED (%.2f x 256 MiB)" % (rss / 256))
    rows[-1] = rows[-1][:6] + ("<= 2.2 x 256 MiB",) + rows[-1][7:]
    row(case, "wall", median(name, "http-get", 0), median(name, "curl", 0), "s")

print("Medians of %d runs each (14 small files: of %d hyperfine runs), http-get and curl alternating;"
      % (runs, 10 * runs))
print("nginx on 127.0.0.1; %s; %s." % (machine, load))
print()
print("| case | measure | http-get | curl | http-get/curl | target | verdict |")
print("|---|---|---:|---:|---:|---|---|")
for case, measure, ours, theirs, unit, ratio, goal, verdict in rows:
    print("| %s | %s | %.3f %s | %.3f %s | %.2f | %s | %s |"
          % (case, measure, ours, unit, theirs, unit, ratio, goal, verdict))

print()
print("http-get against itself (medians; hyperfine: of %d runs each):" % (10 * runs))
print()
print("| case | measure | this | against | ratio or difference | target | verdict |")
print("|---|---|---:|---:|---:|---|---|")
text_wall, stream_wall = (statistics.median(text64_wall[k]) for k in ("text", "stream"))
ratio = text_wall / stream_wall
print("| --text of 64 MiB, against a stream Get | wall (hyperfine) | %.3f s | %.3f s | %.2fx"
      " | <= 1.3x | %s |" % (text_wall, stream_wall, ratio, "met" if ratio <= 1.3 else "MISSED"))
text_wall, stream_wall = median("text64", "text", 0), median("text64", "stream", 0)
print("| --text of 64 MiB, against a stream Get | wall (under /usr/bin/time) | %.3f s | %.3f s"
      " | %.2fx |  |  |" % (text_wall, stream_wall, text_wall / stream_wall))
text_rss, stream_rss = median("text64", "text", 2) / MIB, median("text64", "stream", 2) / MIB
print("| --text of 64 MiB, against a stream Get | peak RSS | %.1f MiB | %.1f MiB | %.2f x 64 MiB"
      " | <= 2.2 x 64 MiB | %s |" % (text_rss, stream_rss, text_rss / 64,
                                     "met" if text_rss <= 2.2 * 64 else "MISSED"))
timed, plain = (statistics.median(connect_wall[k]) * 1000 for k in ("timed", "plain"))
print("| small file, --connect-timeout 3000 against none | wall | %.1f ms | %.1f ms | %+.1f ms"
      " | <= +20 ms | %s |" % (timed, plain, timed - plain,
                               "met" if timed - plain <= 20 else "MISSED"))
EOF
