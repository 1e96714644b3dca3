#!/usr/bin/env bash
# Takes a picture of Kavrel under a private Xvfb display: starts kavrel.exe in WORKDIR
# (default build/run), waits for its dictionary, types WORD when given so that its
# translations drop down, saves the window as OUT (PNG) and closes the program.
#   screenshot.sh OUT [WORD] [WORKDIR]
# KAVREL_DIRECTION_UP=N first steps the direction list N entries up from the default
# "Türkçe -> Almanca" with the keyboard (2 gives "Türkçe -> İngilizce").
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
word=${2:-}
workdir=${3:-build/run}
root=$(pwd)
state=$root/build/screenshot/state
mkdir -p "$(dirname "$out")"

scripts/wine-env.sh up "$state"
read -r KAVREL_DISPLAY xvfb_pid < <(scripts/xvfb.sh start)
export KAVREL_WINE_STATE=$state KAVREL_DISPLAY DISPLAY=$KAVREL_DISPLAY
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  "$root/scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT

cp "$root/build/win32/kavrel.exe" "$workdir/"
(cd "$workdir" && exec "$root/scripts/wine-run.sh" kavrel.exe) &
pid=$!

wait_for_title() {
  local pattern=$1 window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.1
  done
  echo "screenshot: no window titled '$pattern'" >&2
  return 1
}

window=$(wait_for_title "^Kavrel v1\\.5 \\([0-9]+ kelime\\)")
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
for _ in $(seq 1 "${KAVREL_DIRECTION_UP:-0}"); do
  # Shift+Tab reaches the direction list; Up picks the entry above, which loads it and
  # gives the focus back to the word box.
  xdotool key shift+Tab Up
  sleep 0.3
  window=$(wait_for_title "^Kavrel v1\\.5 \\([0-9]+ kelime\\)")
done
if [ -n "$word" ]; then
  xdotool type --delay 80 "$word"
  wait_for_title "ekleme/de" >/dev/null || wait_for_title "bulunamad" >/dev/null
fi
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The dropped-down translation list hangs below the window: take room for it.
room=$((180 * ${KAVREL_DPI:-96} / 96))
/usr/bin/import -window root -crop "$((WIDTH + 8))x$((HEIGHT + room))+$((X > 4 ? X - 4 : 0))+$((Y > 30 ? Y - 30 : 0))" "$out"
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" 2>/dev/null || true
pid=""
echo "screenshot: $out"
