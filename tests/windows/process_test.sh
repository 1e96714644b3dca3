#!/usr/bin/env bash
# The real program in a process of its own: it starts on a dictionary and shows its word
# count, and Alt+F4 ends it with exit code 0, also in the middle of loading 100 MB and
# while the offer for a missing dictionary is open.
#   process_test.sh KAVREL_EXE KAVREL_TOOL   (KAVREL_TOOL: the native kavrel-tool)
set -uo pipefail
exe=$1
tool=$2
state=${KAVREL_WINE_STATE:?}
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
run=$scripts/wine-run.sh
[ -f "$state/env" ] || { echo "FAIL: no Wine environment in $state"; exit 1; }

# One display for the program and xdotool.
read -r KAVREL_DISPLAY xvfb_pid < <("$scripts/xvfb.sh" start) || exit 1
export KAVREL_DISPLAY DISPLAY=$KAVREL_DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"; "$scripts/xvfb.sh" stop "$xvfb_pid"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Starts the program in $work, waits for a caption matching pattern (and, when given, for
# a window titled await), presses Alt+F4 on the first and checks that the process ends
# promptly with exit code 0.
run_and_close() {
  local label=$1 pattern=$2 await=${3:-} pid window="" rc start
  (cd "$work" && exec "$run" "$exe") &
  pid=$!
  for _ in $(seq 1 300); do
    window=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)
    [ -n "$window" ] && { [ -z "$await" ] || xdotool search --name "$await" >/dev/null 2>&1; } && break
    sleep 0.1
  done
  [ -n "$window" ] || { kill "$pid"; wait "$pid"; fail "$label: no window titled '$pattern'"; }
  # With another window of the program in front, only a click (on window's right edge,
  # which the offer leaves free) makes Wine activate window for the keys.
  if [ -n "$await" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + WIDTH - 4)) $((Y + HEIGHT / 2)) click 1
    sleep 0.3
  fi
  start=$(date +%s%N)
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key alt+F4
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid"; fail "$label: still running 10 s after Alt+F4"; fi
  wait "$pid"; rc=$?
  [ "$rc" -eq 0 ] || fail "$label: exit code $rc"
  echo "ok: $label (ended $(( ($(date +%s%N) - start) / 1000000 )) ms after Alt+F4)"
}

printf 'ev|Haus, Heim\n\rkedi|Katze\n\r' > "$work/plain"
"$tool" pack "$work/plain" "$work/kavrel.001" || fail "pack"
run_and_close "start and close" "^Kavrel v1\\.5 \\(2 kelime\\)"

# About 100 MB of distinct entries: closing while the load is still running.
seq 10000000 13300000 | sed 's/$/|a translation, another one, more/' > "$work/plain"
"$tool" pack "$work/plain" "$work/kavrel.001" || fail "pack 100 MB"
run_and_close "close during a 100 MB load" "kavrel y.*kleniyor"

# No dictionary at all: the loader shows the download offer; closing the main window ends
# the offer with it.
rm -f "$work/kavrel.001"
run_and_close "close while the download offer is open" "kavrel y.*kleniyor" "^Kavrel Y.*kleme$"
echo "3 passed, 0 failed"
