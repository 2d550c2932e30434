#!/bin/sh
# wine-prefix.sh PREFIX: makes the private wine prefix of a Windows build folder, once; later
# calls find it made and return at once. Parallel callers wait for the one that makes it.
set -e
# wine takes only an absolute WINEPREFIX; with a relative one it makes nothing and says nothing.
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No prompt to install Mono or Gecko: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$prefix/system.reg" ] && exit 0
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$prefix.lock"
