#!/usr/bin/env bash
# Crash safety of the save: the real program saves a change to a large dictionary and is
# killed (SIGKILL to its Wine process, as a power cut would end it) at a random moment of
# the save. After every trial the data file must be the old dictionary or the new one,
# whole, and nothing a later run could take for data may be left; the next trial starts
# on whatever the file then holds.
#   save_crash_test.sh KAVREL_EXE KAVREL_TOOL
# KAVREL_CRASH_TRIALS (default 20) sets the number of killed saves, KAVREL_CRASH_SEED the
# random seed (default: the time), KAVREL_CRASH_ENTRIES the dictionary's size.
set -uo pipefail
exe=$(realpath "$1")
tool=$(realpath "$2")
trials=${KAVREL_CRASH_TRIALS:-20}
seed=${KAVREL_CRASH_SEED:-$(date +%s)}
entries=${KAVREL_CRASH_ENTRIES:-300000}
state=${KAVREL_WINE_STATE:?}
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
[ -f "$state/env" ] || { echo "FAIL: no Wine environment in $state"; exit 1; }
# shellcheck disable=SC1091
. "$state/env"

read -r KAVREL_DISPLAY xvfb_pid < <("$scripts/xvfb.sh" start) || exit 1
export KAVREL_DISPLAY DISPLAY=$KAVREL_DISPLAY
work=$(mktemp -d)
prefix=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-prefix.XXXXXX")
export KAVREL_WINE_PREFIX=$prefix KAVREL_WINE_EXEC=1
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  rm -rf "$work" "$prefix"
  "$scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# One Wine session for all trials, kept alive between them, so a start costs little.
cp -a "$WINEPREFIX_PRISTINE/." "$prefix/"
WINEPREFIX="$prefix" WINEDEBUG=-all wineserver -p

# Waits (up to 60 s) for a window whose title matches the extended regular expression;
# prints its id.
wait_window() {
  local window
  for _ in $(seq 1 1200); do
    window=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

end_program() {
  kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""
}

# The sorted entries of a data file, as UTF-8 "headword|translations" lines.
entries_of() { "$tool" export "$1" - 2>/dev/null | LC_ALL=C sort; }

# Starts the program on the current file, which must hold $2 words, types the new word $1
# and the translations t$1 in the editor; sets pid and main (the main window's id).
start_and_edit() {
  local word=$1 words=$2 editor attempt
  # The Wine session may not yet have closed the killed program's handle on the file; the
  # load then fails (its message box, captioned with the program's name, shows) and the
  # program is started again (so it is when a download offer shows).
  for attempt in 1 2 3; do
    (cd "$work" && exec "$scripts/wine-run.sh" "$exe") &
    pid=$!
    main=$(wait_window "^Kavrel v1\\.5 \\([0-9]+ kelime\\)|^kavrel$|^Kavrel Y") || main=""
    [[ "$(xdotool getwindowname "$main" 2>/dev/null)" == "Kavrel v1.5 ($words kelime)"* ]] && break
    echo "$word: start $attempt shows '$(xdotool getwindowname "$main" 2>/dev/null)', not $words words" >&2
    end_program
    main=""
    sleep 1
  done
  [ -n "$main" ] || fail "$word: no window showing $words words"
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool type --delay 20 "$word"
  xdotool key F6
  editor=$(wait_window "^Yeni Kelime") || fail "$word: no word editor"
  xdotool windowfocus --sync "$editor" 2>/dev/null || xdotool windowfocus "$editor"
  xdotool type --delay 20 "t$word"
}

# Presses Enter in the editor and follows the save on disk until it begins to write (the
# temporary file appears) or, with until=replaced, until the data file has been replaced.
# Sets temp_ms and done_ms: when, after Enter, each was seen ("" when not yet).
follow_save() {
  local until=$1 start inode now
  inode=$(stat -c %i "$work/kavrel.001")
  start=$(now_ms)
  temp_ms="" done_ms=""
  xdotool key Return
  while [ $(( $(now_ms) - start )) -lt 30000 ]; do
    now=$(( $(now_ms) - start ))
    [ -z "$temp_ms" ] && [ -e "$work/kavrel.001.save.tmp" ] && temp_ms=$now
    [ "$(stat -c %i "$work/kavrel.001")" != "$inode" ] && done_ms=$now
    [ -n "$done_ms" ] && break
    [ "$until" = writing ] && [ -n "$temp_ms" ] && break
  done
  [ -n "$done_ms$temp_ms" ]
}

# The dictionary: distinct entries, LF-only lines as another tool might write them.
seq 1000000 $((1000000 + entries - 1)) | sed 's/$/|a translation, another one, more/' > "$work/plain"
"$tool" pack "$work/plain" "$work/kavrel.001" || fail "pack"
rm "$work/plain"
entries_of "$work/kavrel.001" > "$work/old.sorted"
words=$entries

# Two saves, not cut, measure how long a save writes here (the first one runs cold).
for word in yeni0 yeni00; do
  start_and_edit "$word" "$words"
  follow_save replaced && [ -n "$done_ms" ] || fail "the save of $word did not end"
  end_program
  { cat "$work/old.sorted"; echo "$word|t$word"; } | LC_ALL=C sort > "$work/new.sorted"
  entries_of "$work/kavrel.001" | cmp -s - "$work/new.sorted" || fail "the save of $word did not write the new dictionary"
  mv "$work/new.sorted" "$work/old.sorted"
  words=$((words + 1))
done
writing_ms=$(( done_ms - ${temp_ms:-$done_ms} ))
echo "a save of $entries entries writes for about $writing_ms ms ($done_ms ms after Enter); seed $seed"

RANDOM=$seed
old=0 new=0 temporaries=0
for trial in $(seq 1 "$trials"); do
  word=yeni$trial
  cp "$work/kavrel.001" "$work/before"
  start_and_edit "$word" "$words"
  # The kill falls while the save writes, or a little after it has replaced the file.
  delay=$((RANDOM % (writing_ms * 3 / 2 + 10)))
  follow_save writing || fail "trial $trial: the save did not begin"
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  end_program
  for file in "$work"/*; do
    case "${file##*/}" in
      kavrel.001|before|old.sorted) ;;
      kavrel.001.save.tmp) temporaries=$((temporaries + 1)) ;;
      *) fail "trial $trial: ${file##*/} left behind" ;;
    esac
  done
  if cmp -s "$work/kavrel.001" "$work/before"; then
    old=$((old + 1)); result=old
  else
    { cat "$work/old.sorted"; echo "$word|t$word"; } | LC_ALL=C sort > "$work/new.sorted"
    entries_of "$work/kavrel.001" | cmp -s - "$work/new.sorted" \
      || fail "trial $trial (killed $delay ms after the save began writing): the data file is neither the old nor the new dictionary"
    mv "$work/new.sorted" "$work/old.sorted"
    words=$((words + 1)); new=$((new + 1)); result=new
  fi
  echo "trial $trial: killed $delay ms after the save began writing, file $result$([ -e "$work/kavrel.001.save.tmp" ] && echo ', temporary left')"
done
rm -f "$work/before"

# A later run loads what the file holds and its save takes a leftover temporary along.
start_and_edit yeniend "$words"
follow_save replaced && [ -n "$done_ms" ] || fail "the last save did not end"
sleep 0.5
end_program
[ -e "$work/kavrel.001.save.tmp" ] && fail "a temporary survived a whole save"
echo "$trials killed saves: $old left the old dictionary, $new the new one, $temporaries a temporary (replaced later); every file whole"
