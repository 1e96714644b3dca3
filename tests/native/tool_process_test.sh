#!/usr/bin/env bash
# kavrel-tool as a process, under the faults only a process meets: reads that fail part way
# (injected by the preloaded fault shim), inputs of 4 GiB, outputs that are links, devices,
# pipes or full, writes, flushes and closes that fail, and runs ended by a signal. In every
# failure the exit status is 2 with a message, the output keeps its old bytes and no
# temporary file is left.
# Usage: tool_process_test.sh KAVREL_TOOL FAULT_SHIM
set -uo pipefail
tool=$1
shim=$2
work=$(mktemp -d)
dir=$work/out           # where the outputs go; must hold exactly the expected files
trap 'rm -rf "$work"' EXIT
mkdir "$dir"
failures=0
passes=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { passes=$((passes + 1)); }

# ---- inputs ----------------------------------------------------------------------------
# About 300 KB, so a fault at byte 100000 falls well inside the file and after a full buffer.
for i in $(seq 1 12000); do printf 'word%05d|translation %05d, other\n\r' "$i" "$i"; done > "$work/plain"
"$tool" pack "$work/plain" "$work/data" || { echo "cannot make the test data" >&2; exit 1; }
for i in $(seq 1 12000); do printf 'word%05d\ttranslation %05d\n' "$i" "$i"; done > "$work/words.tsv"
"$tool" export "$work/data" - > "$work/exported" 2>/dev/null

reset_output() { printf 'previous' > "$dir/out"; }
files_in_dir() { (cd "$dir" && ls -A | tr '\n' ' '); }

# expect_failure NAME MESSAGE [ENV=VALUE ...] -- ARGS...: exit 2, MESSAGE on stderr, the
# output unchanged and no other file in the output directory.
expect_failure() {
  local name=$1 message=$2; shift 2
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  reset_output
  local err status
  err=$(env "${envs[@]}" "$tool" "$@" 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 2 ] || { fail "$name: exit status $status, expected 2 ($err)"; return; }
  [[ "$err" == *"$message"* ]] || { fail "$name: message \"$err\" lacks \"$message\""; return; }
  [ "$(cat "$dir/out")" = previous ] || { fail "$name: the output changed"; return; }
  [ "$(files_in_dir)" = "out " ] || { fail "$name: files left: $(files_in_dir)"; return; }
  pass
}

# ---- reads that fail part way --------------------------------------------------------------
read_fault() { echo "LD_PRELOAD=$shim KAVREL_FAULT_READ=$(realpath "$1"):100000"; }
for command in "unpack $work/data" "export $work/data" "pack $work/plain" "import $work/words.tsv"; do
  source_file=${command#* }
  # shellcheck disable=SC2046,SC2086
  expect_failure "read error in $command" "Input/output error" $(read_fault "$source_file") -- \
    $command "$dir/out"
done
# A lookup must not answer "not found" from half a dictionary.
reset_output
env $(read_fault "$work/data") "$tool" lookup "$work/data" word11999 >/dev/null 2>&1
status=$?
[ "$status" -eq 2 ] && pass || fail "lookup on a read error: exit status $status, expected 2"
# Standard input: the same fault ends with a message, not an abort.
reset_output
err=$(env $(read_fault "$work/plain") "$tool" pack - "$dir/out" < "$work/plain" 2>&1)
status=$?
[ "$status" -eq 2 ] && [[ "$err" == *"cannot read standard input: Input/output error"* ]] && pass ||
  fail "read error on standard input: exit status $status ($err)"

# ---- inputs too large for a dictionary (sparse, so nothing is really read) -----------------
truncate -s 4G "$work/huge"
expect_failure "4 GiB input" "more than 4294967294 bytes" -- unpack "$work/huge" "$dir/out"
reset_output
err=$("$tool" lookup - word < "$work/huge" 2>&1)
status=$?
[ "$status" -eq 2 ] && [[ "$err" == *"cannot read standard input: more than"* ]] && pass ||
  fail "4 GiB on standard input: exit status $status ($err)"
rm -f "$work/huge"

# ---- outputs that are not plain files ------------------------------------------------------
ln -s "$work/target" "$dir/link"
printf 'old' > "$work/target"
if "$tool" export "$work/data" "$dir/link" 2>/dev/null && [ -L "$dir/link" ] &&
   cmp -s "$work/target" "$work/exported"; then pass; else fail "export through a symbolic link"; fi
rm -f "$dir/link" "$work/target"

rm -f "$dir/out"
ln -s "$work/missing" "$dir/out"
err=$("$tool" export "$work/data" "$dir/out" 2>&1)
status=$?
[ "$status" -eq 2 ] && [ -L "$dir/out" ] && [ ! -e "$work/missing" ] && pass ||
  fail "a dangling link as output: exit status $status ($err)"
rm -f "$dir/out"

rm -f "$dir/out"
ln -s /dev/full "$dir/out"
err=$("$tool" export "$work/data" "$dir/out" 2>&1)
status=$?
[ "$status" -eq 2 ] && [[ "$err" == *"No space left on device"* ]] && [ -L "$dir/out" ] && pass ||
  fail "a full device as output: exit status $status ($err)"
rm -f "$dir/out"

if mknod "$dir/null" c 1 3 2>/dev/null; then
  if "$tool" export "$work/data" "$dir/null" 2>/dev/null && [ -c "$dir/null" ]; then pass; else
    fail "export to a device node replaced it"; fi
  rm -f "$dir/null"
else
  echo "note: mknod is not allowed here; the device node case is left out" >&2
fi

mkfifo "$dir/pipe"
timeout 20 cat "$dir/pipe" > "$work/received" &  # bounded: a replaced pipe has no writer
reader=$!
if "$tool" export "$work/data" "$dir/pipe" 2>/dev/null && wait "$reader" && [ -p "$dir/pipe" ] &&
   cmp -s "$work/received" "$work/exported"; then pass; else fail "export into a named pipe"; fi
rm -f "$dir/pipe"

mkdir "$dir/sub"
err=$("$tool" unpack "$work/data" "$dir/sub" 2>&1)
[ $? -eq 2 ] && [[ "$err" == *"directory"* ]] && pass || fail "a directory as output ($err)"
rmdir "$dir/sub"

# ---- the temporary file: anonymous, and the named one where O_TMPFILE is refused ------------
for mode in "" "tmpfile,"; do
  label=${mode:-anonymous}
  for fault in write fsync close; do
    expect_failure "$fault fails ($label)" "cannot write $dir/out" \
      LD_PRELOAD="$shim" KAVREL_FAULT="$mode$fault" -- unpack "$work/data" "$dir/out"
  done
  # Success keeps the old file's permissions.
  reset_output
  chmod 640 "$dir/out"
  if env LD_PRELOAD="$shim" KAVREL_FAULT="$mode" "$tool" unpack "$work/data" "$dir/out" &&
     cmp -s "$dir/out" "$work/plain" && [ "$(stat -c %a "$dir/out")" = 640 ] &&
     [ "$(files_in_dir)" = "out " ]; then pass; else fail "replacing a file ($label)"; fi

  # A run ended by a signal in the middle of writing leaves no temporary file.
  signals="TERM HUP"
  [ -z "$mode" ] && signals="$signals KILL"  # only an anonymous temporary survives SIGKILL
  for signal in $signals; do
    reset_output
    rm -f "$work/stalled"
    env LD_PRELOAD="$shim" KAVREL_FAULT="${mode}stall:$work/stalled" \
      "$tool" unpack "$work/data" "$dir/out" 2>/dev/null &
    pid=$!
    for _ in $(seq 1 600); do [ -e "$work/stalled" ] || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.1; done
    kill -s "$signal" "$pid"
    { wait "$pid"; } 2>/dev/null
    status=$?
    expected=$((128 + $(kill -l "$signal")))
    if [ "$status" -eq "$expected" ] && [ "$(cat "$dir/out")" = previous ] && [ "$(files_in_dir)" = "out " ]; then
      pass
    else
      fail "SIG$signal while writing ($label): exit status $status, files: $(files_in_dir)"
    fi
  done
done

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
