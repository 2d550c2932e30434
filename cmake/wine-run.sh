#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program under wine in the build
# folder's own prefix, made on first use. Without a wineserver kept running (wineserver -p)
# each run starts and ends one of its own.
set -e
prefix=$1
shift
# A failure here would otherwise end the test silently, before wine has said anything.
"$(dirname "$0")/wine-prefix.sh" "$prefix" ||
  { echo "wine-run.sh: the wine prefix $prefix could not be made" >&2; exit 1; }
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec wine "$@"
