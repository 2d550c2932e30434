#!/usr/bin/env bash
# The launcher start benchmark: from exec until the window is ready for a click (mapped, the
# picture buttons and the text buttons drawn, the start page painted), for Pelmorix.exe against
# the demo server, with its picture cache emptied before each start and with it kept, beside a
# bare WebKitGTK window (bench/start/bare_window.c) loading the same start page. The three take
# turns start by start, RUNS times each (default 10). Prints the medians, min/max and the ratio
# launcher/bare as a Markdown table.
#
# Usage: bench/start/start.sh          (after a build into build/, see README "Performance")
#        RUNS=20 bench/start/start.sh
#        RTT=50 bench/start/start.sh   both vendor servers and the bare window's page behind a
#                                      delay proxy of a 50 ms round trip (delay_proxy.py)
#
# The starts run on a private X server (xvfb-run) with no window manager, so the programs'
# windows are children of the root window, and nothing else on the desktop covers them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${RUNS:-10}
rtt=${RTT:-0}
[[ "$rtt" =~ ^[0-9]+$ ]] || { echo "RTT is a round trip in whole milliseconds" >&2; exit 2; }
bin="$root/build/bin"
probe="$root/build/bench/ready_probe"
bare="$root/build/bench/bare_window"

# The demo page's ready state, in window coordinates (640 x 440, the page fills the window):
#   the page's dark green background at a free place;
#   the picture buttons (slots 3, 4, 5 at y 384, 122 x 34): the orange of "Spielen", and the
#   lower part of the grey gradient of the other two, which GTK's flat button face does not have;
#   the text buttons "Download" (420, 330), "_" (572, 6) and "X" (604, 6): GTK's button face.
page_probe="-p 320,250,1d4d2b,8"
picture_probes="-p 60,392,f8a53b,20 -p 250,414,cecece,6 -p 440,414,cecece,6"
text_probes="-p 430,340,f0f0f0,4 -p 575,9,f0f0f0,4 -p 607,9,f0f0f0,4"

if [ "${1:-}" = "--on-display" ]; then
  work=$2
  export PELMORIX_REGISTRY="$work/registry"
  export PELMORIX_CONFIG_SERVER="http://127.0.0.1:$(cat "$work/public-port")"
  export PELMORIX_BROWSER_LOOPBACK_ONLY=1
  export NO_AT_BRIDGE=1
  cd "$work"
  launcher() {  # launcher CASE: one start, its milliseconds appended to the case's record
    # shellcheck disable=SC2086
    "$probe" -t 60 $page_probe $picture_probes $text_probes -- "$bin/Pelmorix.exe" /101 \
      >> "$work/results/$1" 2>> "$work/probe.log"
  }
  cold() {
    rm -rf "$work/cache" && mkdir "$work/cache"
    launcher cold
  }
  warm() { launcher warm; }
  bare_start() {
    # shellcheck disable=SC2086
    "$probe" -t 60 $page_probe -- "$bare" "$(cat "$work/page-url")" \
      >> "$work/results/bare" 2>> "$work/probe.log"
  }
  # One start of each first, not counted: it fills the system's file caches and, for the
  # launcher, finds the start page's address for the bare window.
  cold > /dev/null
  mv "$work/results/cold" "$work/first-start"
  grep -o '/index.php?action=getpage[^ ]*' "$work/requests.log" | head -n 1 |
    sed "s|^|$PELMORIX_CONFIG_SERVER|" > "$work/page-url"
  [ -s "$work/page-url" ] || { echo "the launcher asked for no start page" >&2; exit 1; }
  bare_start && rm -f "$work/results/bare"
  order=(cold warm bare_start)
  for run in $(seq 0 $((runs - 1))); do
    for turn in 0 1 2; do
      "${order[$(((run + turn) % 3))]}"
    done
  done
  exit 0
fi

for program in "$bin/Pelmorix.exe" "$bin/reg" "$probe" "$bare"; do
  [ -x "$program" ] || { echo "no $program: build first (see README \"Performance\")" >&2; exit 2; }
done
bash "$root/scripts/install-packages.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmorix-start.XXXXXX")
server=""
proxy=""
cleanup() {
  local process
  for process in $server $proxy; do
    if kill -0 "$process" 2>/dev/null; then
      kill "$process" 2>/dev/null || true
      wait "$process" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkdir -p "$work/registry" "$work/cache" "$work/results" "$work/game"

# Installation 101, current (no patch question), its pictures cached in $work/cache.
export PELMORIX_REGISTRY="$work/registry"
machine_key='HKLM\SOFTWARE\velkora\tarnovia\101'
user_key='HKCU\SOFTWARE\velkora\tarnovia\101'
"$bin/reg" add "$machine_key" /v folder /d "$work/game" /f > /dev/null
"$bin/reg" add "$machine_key" /v exe /d game.exe /f > /dev/null
"$bin/reg" add "$machine_key" /v version /d 1.1 /f > /dev/null
"$bin/reg" add "$machine_key" /v starterversion /d 1 /f > /dev/null
"$bin/reg" add "$machine_key" /v affid /d 0 /f > /dev/null
"$bin/reg" add "$user_key" /v tempdir /d "$work/cache/" /f > /dev/null

# wait_for_file FILE PROCESS: until the process has written the file (10 s at most).
wait_for_file() {
  for _ in $(seq 1 100); do
    [ -s "$1" ] && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# With a round trip, the programs reach the server only through the proxy, and the server
# names the proxy's address as its own in the server list and the page.
public_port_option=()
if [ "$rtt" -gt 0 ]; then
  python3 "$root/bench/start/delay_proxy.py" --rtt "$rtt" --server-port-file "$work/port" \
    --port-file "$work/public-port" > "$work/proxy.log" 2>&1 &
  proxy=$!
  wait_for_file "$work/public-port" "$proxy" ||
    { echo "the delay proxy did not start:" >&2; cat "$work/proxy.log" >&2; exit 1; }
  public_port_option=(--public-port "$(cat "$work/public-port")")
fi
cp -r "$root/tools/demo-server/scenario" "$work/scenario"
python3 "$root/tools/demo-server/demo_server.py" --port 0 --port-file "$work/port" \
  "${public_port_option[@]}" --scenario "$work/scenario" --log "$work/requests.log" \
  > "$work/server.log" 2>&1 &
server=$!
wait_for_file "$work/port" "$server" ||
  { echo "the demo server did not start:" >&2; cat "$work/server.log" >&2; exit 1; }
[ "$rtt" -gt 0 ] || cp "$work/port" "$work/public-port"

echo "Starting each $runs times ..." >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# -noreset: by default the X server resets whenever its last client has gone, which is between
# any two starts here, and a start that connects during the reset finds no display.
if ! xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" --on-display "$work"; then
  echo "a start failed; the probe said:" >&2
  # Each start's line under the name of its case: a "timeout" or "exited" is the failed one.
  cat "$work/probe.log" >&2
  grep -H . "$work"/results/* >&2 || true
  exit 1
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
# Only the starts with the cache emptied may have fetched pictures: three each.
fetched=$(grep -c 'action=getbuttonimage' "$work/requests.log" || true)
if [ "$fetched" -ne $((3 * (runs + 1))) ]; then
  echo "$fetched picture requests for $((runs + 1)) starts without the cache: the cache was not used" >&2
  exit 1
fi

machine="$(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
network="the demo server on 127.0.0.1"
[ "$rtt" -gt 0 ] && network="the demo server behind a delay proxy of $rtt ms round trip"
python3 - "$work/results" "$runs" "$machine" "load average $load_before before, $load_after after" \
  "$rtt" "$network" <<'EOF'
import os, statistics, sys

results, runs, machine, load = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
rtt, network = int(sys.argv[5]), sys.argv[6]

def starts(name):
    with open(os.path.join(results, name)) as record:
        values = [line.strip() for line in record if line.strip()]
    bad = [v for v in values if not v.replace(".", "", 1).isdigit()]
    if bad or len(values) != runs:
        sys.exit("%s: %d starts, %s" % (name, len(values), ", ".join(bad) or "none failed"))
    return [float(v) for v in values]

# Without a delay the launcher is held to 1.10 times the bare window; with one, to a number of
# round trips after it: the server list must come before the start page, and the pictures wait
# for the page's directives.
def target(name, median, bare_median):
    if rtt == 0:
        return "<= 1.10x", median / bare_median <= 1.10
    allowed = 4 if name == "cold" else 2
    return "<= bare + %d RTT" % allowed, median - bare_median <= allowed * rtt

bare = starts("bare")
print("Medians of %d starts each, exec to ready, taking turns; Xvfb, %s; %s; %s."
      % (runs, network, machine, load))
print()
print("| RTT | program | median | min | max | / bare window | RTT after bare | target | verdict |")
print("|---:|---|---:|---:|---:|---:|---:|---|---|")
for name, label in (("cold", "launcher, picture cache emptied"),
                    ("warm", "launcher, picture cache kept"), ("bare", "bare WebKitGTK window")):
    values = bare if name == "bare" else starts(name)
    median, bare_median = statistics.median(values), statistics.median(bare)
    behind = "%.1f" % ((median - bare_median) / rtt) if rtt and name != "bare" else ""
    goal, met = ("", None) if name == "bare" else target(name, median, bare_median)
    verdict = "" if met is None else ("met" if met else "MISSED")
    print("| %d ms | %s | %.0f ms | %.0f ms | %.0f ms | %.2f | %s | %s | %s |"
          % (rtt, label, median, min(values), max(values), median / bare_median, behind, goal,
             verdict))
EOF
