#!/usr/bin/env bash
# The Windows build's 1 GiB download beside the Linux build's: nginx on 127.0.0.1 (a private
# configuration in a temporary folder) serves a 1 GiB file of random bytes; build/bin/http-get
# and build-windows/bin/http-get.exe under wine fetch it in turn, RUNS times each, and every
# copy is compared with the file byte for byte. Prints each run and the medians, and the time
# wine takes to start and end a program that does nothing (http-get.exe --help).
#   scripts/windows-download.sh    (RUNS=5 for more runs, default 3; LINUX_HTTP_GET=path)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
linux=${LINUX_HTTP_GET:-$root/build/bin/http-get}
windows=$root/build-windows/bin/http-get.exe
prefix=$root/build-windows/wine-prefix
for program in "$linux" "$windows"; do
  [ -x "$program" ] || [ -f "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done

work=$(mktemp -d)
# nginx's workers run as nobody and must read the served file.
chmod 755 "$work"
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

head -c 1073741824 /dev/urandom >"$work/big.bin"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/logs"
cat >"$work/nginx.conf" <<CONF
daemon on;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events {}
http {
  access_log off;
  sendfile on;
  client_body_temp_path $work/logs;
  proxy_temp_path $work/logs;
  fastcgi_temp_path $work/logs;
  uwsgi_temp_path $work/logs;
  scgi_temp_path $work/logs;
  server { listen 127.0.0.1:$port; root $work; }
}
CONF
nginx -p "$work" -c "$work/nginx.conf"
sh "$root/cmake/wine-prefix.sh" "$prefix"
wineserver -p >/dev/null 2>&1
# wine's system processes start with the first program of a server session; not in a timing.
wine cmd /c exit </dev/null >/dev/null 2>&1
url=http://127.0.0.1:$port/big.bin

# seconds COMMAND...: runs the command and prints its wall time in seconds.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/linux.times"
: >"$work/windows.times"
: >"$work/start.times"
for run in $(seq "$runs"); do
  t=$(seconds "$linux" -o "$work/linux.out" "$url")
  cmp "$work/big.bin" "$work/linux.out"
  echo "$t" >>"$work/linux.times"
  rm -f "$work/linux.out"
  t=$(seconds wine "$windows" -o "Z:$work/windows.out" "$url")
  cmp "$work/big.bin" "$work/windows.out"
  echo "$t" >>"$work/windows.times"
  rm -f "$work/windows.out"
  echo "$(seconds wine "$windows" --help)" >>"$work/start.times"
  echo "run $run: linux $(tail -n 1 "$work/linux.times") s, windows under wine" \
    "$(tail -n 1 "$work/windows.times") s, wine start and end $(tail -n 1 "$work/start.times") s"
done
echo "every copy byte-exact; medians of $runs runs, $(nproc) cores, load average" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
echo "linux http-get:            $(median <"$work/linux.times") s"
echo "http-get.exe under wine:   $(median <"$work/windows.times") s"
echo "wine start and end (--help): $(median <"$work/start.times") s"
