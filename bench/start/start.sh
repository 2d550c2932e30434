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
#
# The starts run on a private X server (xvfb-run) with no window manager, so the programs'
# windows are children of the root window, and nothing else on the desktop covers them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${RUNS:-10}
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
  export PELMORIX_CONFIG_SERVER="http://127.0.0.1:$(cat "$work/port")"
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
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
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

cp -r "$root/tools/demo-server/scenario" "$work/scenario"
python3 "$root/tools/demo-server/demo_server.py" --port 0 --port-file "$work/port" \
  --scenario "$work/scenario" --log "$work/requests.log" > "$work/server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
  [ -s "$work/port" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/port" ] || { echo "the demo server did not start:" >&2; cat "$work/server.log" >&2; exit 1; }

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
python3 - "$work/results" "$runs" "$machine" "load average $load_before before, $load_after after" <<'EOF'
import os, statistics, sys

results, runs, machine, load = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]

def starts(name):
    with open(os.path.join(results, name)) as record:
        values = [line.strip() for line in record if line.strip()]
    bad = [v for v in values if not v.replace(".", "", 1).isdigit()]
    if bad or len(values) != runs:
        sys.exit("%s: %d starts, %s" % (name, len(values), ", ".join(bad) or "none failed"))
    return [float(v) for v in values]

bare = starts("bare")
print("Medians of %d starts each, exec to ready, taking turns; Xvfb, the demo server on"
      " 127.0.0.1; %s; %s." % (runs, machine, load))
print()
print("| program | median | min | max | / bare window | target | verdict |")
print("|---|---:|---:|---:|---:|---|---|")
for name, label in (("cold", "launcher, picture cache emptied"),
                    ("warm", "launcher, picture cache kept"), ("bare", "bare WebKitGTK window")):
    values = bare if name == "bare" else starts(name)
    ratio = statistics.median(values) / statistics.median(bare)
    target, verdict = ("", "") if name == "bare" else \
        ("<= 1.10x", "met" if ratio <= 1.10 else "MISSED")
    print("| %s | %.0f ms | %.0f ms | %.0f ms | %.2f | %s | %s |"
          % (label, statistics.median(values), min(values), max(values), ratio, target, verdict))
EOF
