#!/usr/bin/env bash
# The real program in a process of its own: it starts on a dictionary and shows its word
# count, and Alt+F4 ends it with exit code 0, also in the middle of loading 100 MB and
# while the offer for a missing dictionary is open. In a
# prefix kept across runs: a closed run writes the settings profile, a killed run changes
# nothing in it, and a double-click on the banner hands the homepage to the shell.
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

# Starts the program in $work and waits for a caption matching pattern; sets pid and window.
start_program() {
  local label=$1 pattern=$2
  window=""
  (cd "$work" && exec "$run" "$exe") &
  pid=$!
  for _ in $(seq 1 300); do
    window=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { kill "$pid"; wait "$pid"; fail "$label: no window titled '$pattern'"; }
}

# Starts the program, presses Alt+F4 once its caption matches pattern and checks that the
# process ends promptly with exit code 0. A hook given as $3 runs before the close.
run_and_close() {
  local label=$1 pattern=$2 hook=${3:-} pid window rc start
  start_program "$label" "$pattern"
  [ -z "$hook" ] || "$hook"
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

# No dictionary at all: the loader shows the download offer, and closing the main window
# ends the offer with it. With the offer in front, a click on the main window's right edge
# (which the offer leaves free) makes Wine activate it for the keys.
activate_past_offer() {
  local X Y WIDTH HEIGHT
  for _ in $(seq 1 300); do xdotool search --name "^Kavrel Y.*kleme$" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1  # the offer takes the focus once it is up
  xdotool search --name "^Kavrel Y.*kleme$" >/dev/null 2>&1 || fail "no download offer"
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  for _ in $(seq 1 20); do
    xdotool mousemove $((X + WIDTH - 4)) $((Y + HEIGHT / 2)) click 1
    sleep 0.5
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && return
  done
  fail "the main window did not take the focus from the offer"
}
rm -f "$work/kavrel.001"
run_and_close "close while the download offer is open" "kavrel y.*kleniyor" activate_past_offer

# The settings profile, in a prefix that every following run shares.
export KAVREL_WINE_PREFIX=$work/prefix
profile=$KAVREL_WINE_PREFIX/drive_c/windows/kavrel.INI
stored() { tr -d '\r' < "$profile" 2>/dev/null | sed -n "s/^$1=//p"; }
printf 'ev|Haus\n\r' > "$work/plain"
"$tool" pack "$work/plain" "$work/kavrel.001" || fail "pack"
# A run that ends without its window closing, killed once its dictionary is loaded.
killed_run() {
  start_program "$1" "^Kavrel v1\\.5 \\(1 kelime\\)"
  WINEPREFIX=$KAVREL_WINE_PREFIX wineserver -k
  wait "$pid"
}
killed_run "killed first run"
[ ! -e "$profile" ] || fail "a killed first run wrote a profile"
run_and_close "first run" "^Kavrel v1\\.5 \\(1 kelime\\)"
[ "$(stored used)" = 1 ] || fail "a closed first run wrote no profile with used=1"
cp "$profile" "$work/profile.closed"
killed_run "killed run"
cmp -s "$profile" "$work/profile.closed" || fail "a killed run changed the profile"
echo "ok: a killed run writes nothing into the profile"

# The shell opens http addresses with the command registered for them: a recorder here.
"$run" reg add 'HKCR\http\shell\open\command' /ve /f \
  /d "C:\\windows\\system32\\cmd.exe /c echo %1 > Z:${work//\//\\}\\opened.txt" >/dev/null 2>&1 ||
  fail "registering the recorder"
double_click_banner() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
  # The banner fills the window's lower part below the word box.
  xdotool mousemove --window "$window" $((WIDTH / 3)) $((HEIGHT - 8)) click --repeat 2 --delay 80 1
  for _ in $(seq 1 100); do [ -s "$work/opened.txt" ] && break; sleep 0.1; done
  # The shell's command took the activation; a click on the caption gives it back.
  xdotool mousemove --window "$window" $((WIDTH / 3)) 8 click 1
}
run_and_close "double-click on the banner" "^Kavrel v1\\.5 \\(1 kelime\\)" double_click_banner
stamp=$(stored usedfirst)
opened=$(tr -d '\r' < "$work/opened.txt" 2>/dev/null | sed 's/ *$//')
[ "$opened" = "http://www.kavrel.example/pavelo/homepage.htm?${stamp}1" ] ||
  fail "the shell was asked to open '$opened', stamp '$stamp'"
[ "$(stored used)" = 2 ] || fail "the second closed run did not count"
echo "ok: the banner opens the homepage with the profile's stamp and count"
echo "6 passed, 0 failed"
