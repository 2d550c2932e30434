#!/usr/bin/env bash
# The demo: installs what is missing, builds the launcher and its tools into build/, sets up
# three demo installations in a private registry folder, starts the demo server on
# 127.0.0.1:8431 and the launcher against it.
#
#   scripts/demo.sh [ID]     ID: 101 (default), 102 or 103
#
# 101 is one version behind: "Update Installieren" asks, downloads and installs two files.
# 102 is current. 103 patches the launcher itself (build/demo/Pelmorix.exe) through Helper1.exe.
# The launcher is the demo build (Pelmorix-demo.exe), which trusts only the demo key made in the
# build folder; the build signs the three patches with it, so each one is checked as a vendor's
# would be.
# With a display the launcher opens there and the demo ends when it closes. Without one it
# runs on a private X server (xvfb-run), and the demo saves a screenshot and ends.
# Everything lives in build/demo, which every run sets up afresh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo="$root/build/demo"
port=8431
address="http://127.0.0.1:$port"

# The part that runs on the private X server: start the launcher, wait for its start page,
# take the screenshot, stop the launcher.
if [ "${1:-}" = "--screenshot-run" ]; then
  id=$2
  "$demo/Pelmorix.exe" "/$id" >>"$demo/launcher.log" 2>&1 &
  launcher=$!
  waited=0
  until grep -q "action=getpage" "$demo/requests.log" 2>/dev/null; do
    if [ "$waited" -ge 60 ] || ! kill -0 "$launcher" 2>/dev/null; then break; fi
    sleep 1
    waited=$((waited + 1))
  done
  if grep -q "action=getpage" "$demo/requests.log" 2>/dev/null; then
    sleep 5  # the page and its button pictures render
  else
    echo "The launcher did not ask for its start page within ${waited} s; the screenshot shows what it shows."
  fi
  import -window root "$demo/screenshot.png"
  kill "$launcher" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  exit 0
fi

id=${1:-101}
case "$id" in
  101 | 102 | 103) ;;
  *)
    echo "usage: scripts/demo.sh [101|102|103]" >&2
    exit 2
    ;;
esac

cd "$root"
bash scripts/install-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target pelmorix_demo reg helper1 pelmorix_ws2_32

rm -rf "$demo"
mkdir -p "$demo/registry" "$demo/games"
export PELMORIX_REGISTRY="$demo/registry"
export PELMORIX_CONFIG_SERVER="$address"
# The demo page needs nothing but the demo server; the browser goes nowhere else.
export PELMORIX_BROWSER_LOOPBACK_ONLY=1
export NO_AT_BRIDGE=1

# The launcher runs from its own copy, with Helper1.exe and Update.exe beside it, so that the
# self-patch of 103 replaces build/demo/Pelmorix.exe and not the build's.
cp build/bin/Pelmorix-demo.exe "$demo/Pelmorix.exe"
cp build/bin/Pelmorix-demo.exe "$demo/Update.exe"
cp build/bin/Helper1.exe "$demo/Helper1.exe"

# A demo installation: its folder with a "game" and an "uninstaller" that only note in
# build/demo/started.log that they were started (they need no display).
install_game() {
  local id=$1 name=$2 version=$3
  local folder="$demo/games/$id"
  mkdir -p "$folder"
  for program in game.exe uninstall.exe; do
    cat >"$folder/$program" <<EOF
#!/bin/sh
echo "\$(date '+%H:%M:%S') $name ($id): $program started in \$(pwd) with arguments: \$*" >>"$demo/started.log"
EOF
    chmod 755 "$folder/$program"
  done
  local key="HKLM\\SOFTWARE\\velkora\\tarnovia\\$id"
  build/bin/reg add "$key" /v folder /d "$folder" /f >/dev/null
  build/bin/reg add "$key" /v exe /d game.exe /f >/dev/null
  build/bin/reg add "$key" /v uninstallexe /d "$folder/uninstall.exe" /f >/dev/null
  build/bin/reg add "$key" /v version /d "$version" /f >/dev/null
  build/bin/reg add "$key" /v starterversion /d 1 /f >/dev/null
  build/bin/reg add "$key" /v affid /d 0 /f >/dev/null
}
install_game 101 "Tarnovia Rommé" 1.0  # one behind: the server offers 1.1
install_game 102 "Tarnovia Skat" 2.3   # current
install_game 103 "Tarnovia Start" 1.0  # the launcher's own update

# The server's replies: the scenario with the signed patch lists the build made (the demo
# launcher itself as the self-patch), their digests and signatures beside them.
cp -r tools/demo-server/scenario "$demo/scenario"
cp -r build/tools/demo-server/demo-patches/. "$demo/scenario/patches/"

server=""
launcher=""
stop_all() {
  if [ -n "$launcher" ]; then kill "$launcher" 2>/dev/null || true; fi
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
}
trap stop_all EXIT

python3 tools/demo-server/demo_server.py --port "$port" --port-file "$demo/port" \
  --scenario "$demo/scenario" --log "$demo/requests.log" >"$demo/server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
  [ -f "$demo/port" ] && break
  if ! kill -0 "$server" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ ! -f "$demo/port" ]; then
  echo "The demo server could not listen on 127.0.0.1:$port (is the port taken, perhaps by another demo?):" >&2
  tail -n 1 "$demo/server.log" >&2
  exit 1
fi
echo "Demo server: $address/ (requests in $demo/requests.log)"

cd "$demo"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the launcher runs on a private X server."
  xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/demo.sh" --screenshot-run "$id"
  echo "Screenshot: $demo/screenshot.png"
else
  echo "Starting the launcher for installation $id; the demo ends when it closes."
  ./Pelmorix.exe "/$id" >>"$demo/launcher.log" 2>&1 &
  launcher=$!
  wait "$launcher" || true
  launcher=""
fi
if [ "$id" = 103 ]; then
  echo "After the self-patch Helper1.exe puts the new launcher in place of $demo/Pelmorix.exe once the old one has closed."
fi
if [ -f "$demo/started.log" ]; then
  echo "Started demo programs ($demo/started.log):"
  cat "$demo/started.log"
fi
