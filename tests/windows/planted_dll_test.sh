#!/usr/bin/env bash
# DLL planting: a CTL3D32.DLL that leaves a marker file when it is loaded, placed beside the
# program or in its working directory, is never loaded by kavrel.exe, nor by a bare-name load
# after the program's restriction of the search. As on Windows, which has no such DLL, the
# prefix's own copy is removed and Wine is told to prefer a DLL file to its built-in one. A
# bare-name load without the restriction proves that the marker works.
#   planted_dll_test.sh KAVREL_EXE MARKER_DLL DLL_LOADER
set -uo pipefail
exe=$1
dll=$2
loader=$3
state=${KAVREL_WINE_STATE:?}
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
[ -f "$state/env" ] || { echo "FAIL: no Wine environment in $state"; exit 1; }
# shellcheck disable=SC1091
. "$state/env"

read -r DISPLAY xvfb_pid < <("$scripts/xvfb.sh" start) || exit 1
export DISPLAY WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="ctl3d32=n,b;mscoree,mshtml="
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$work"
  "$scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$WINEPREFIX" "$work/program" "$work/current"
cp -a "$WINEPREFIX_PRISTINE/." "$WINEPREFIX/"
rm -f "$WINEPREFIX/drive_c/windows/system32/ctl3d32.dll"
cp "$exe" "$work/program/kavrel.exe"
cp "$loader" "$work/program/loader.exe"
: > "$work/current/kavrel.001"  # an empty dictionary: the program starts without the offer

# Starts kavrel.exe in the working directory, waits for its word count (the start-up, the
# three-dimensional look included, is over) and ends it.
run_kavrel() {
  local pid window=""
  (cd "$work/current" && exec wine "$work/program/kavrel.exe") &
  pid=$!
  for _ in $(seq 1 300); do
    window=$(xdotool search --name '^Kavrel v1\.5 \(0 kelime\)' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  wineserver -k 2>/dev/null
  wait "$pid" 2>/dev/null
  [ -n "$window" ] || fail "kavrel.exe showed no window"
}

for place in program current; do
  planted=$work/$place/CTL3D32.DLL
  cp "$dll" "$planted"
  (cd "$work/current" && wine "$work/program/loader.exe" CTL3D32.DLL)
  [ -f "$planted.loaded" ] || fail "a DLL planted in the $place directory is not found by a bare-name load: this test could see nothing"
  rm -f "$planted.loaded"
  (cd "$work/current" && wine "$work/program/loader.exe" --restricted CTL3D32.DLL)
  [ -f "$planted.loaded" ] && fail "a bare-name load after the restriction took the DLL planted in the $place directory"
  run_kavrel
  [ -f "$planted.loaded" ] && fail "kavrel.exe loaded the CTL3D32.DLL planted in the $place directory"
  rm -f "$planted"
  echo "ok: a CTL3D32.DLL in the $place directory is not loaded"
done
echo "2 passed, 0 failed"
