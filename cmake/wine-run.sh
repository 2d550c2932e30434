#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program under wine in the build
# folder's own prefix, made on first use. Without a wineserver kept running (wineserver -p)
# each run starts and ends one of its own.
set -e
prefix=$1
shift
"$(dirname "$0")/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec wine "$@"
