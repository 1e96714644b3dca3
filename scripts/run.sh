#!/usr/bin/env bash
# Starts kavrel.exe under Wine in WORKDIR (which holds the dictionaries). On a display it
# runs there in a Wine prefix of the project's own; without one it runs on a private
# virtual display, takes a screenshot once the window is up and ends.
#   run.sh WORKDIR
set -euo pipefail
cd "$(dirname "$0")/.."
workdir=$1
cp build/win32/kavrel.exe "$workdir/"
# F1 opens .\help\kavrel.chm relative to the working directory.
mkdir -p "$workdir/help"
cp build/win32/help/kavrel.chm "$workdir/help/"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prefix=$(pwd)/build/wine-run/prefix
  mkdir -p "$(dirname "$prefix")"
  export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  echo "run: kavrel.exe in $workdir (Wine prefix $prefix)"
  cd "$workdir" && exec wine kavrel.exe
fi

echo "run: no display; starting Kavrel on a virtual display for a screenshot"
scripts/screenshot.sh "$workdir/screenshot.png" "" "$workdir"
