#!/bin/sh
# with_x_server.sh PROGRAM [ARGUMENT...]: runs the program on an X server of its own (Xvfb,
# 1280x1024 at 24 bits) and ends the server afterwards. Xvfb picks a free display number itself
# and tells it through -displayfd, so any number of these may start at once. -noreset: a server
# that resets when its last client has gone leaves a program started during the reset without a
# display.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
turns=0
while [ ! -s "$display_file" ]; do
  turns=$((turns + 1))
  if [ "$turns" -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with_x_server.sh: Xvfb told no display number within 20 s" >&2
    kill "$xvfb" 2>/dev/null
    rm -f "$display_file"
    exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(head -n 1 "$display_file")"
export DISPLAY
rm -f "$display_file"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit "$status"
