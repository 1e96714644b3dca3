#!/usr/bin/env bash
# Runs one libFuzzer target for KAVREL_FUZZ_SECONDS seconds (default 4) over its seed corpus
# and the corpus that earlier runs grew in WORK/corpus/NAME. Prints one line with the
# executions and the coverage reached; a finding fails the run, its input saved in
# WORK/artifacts and the end of the log printed.
# Usage: run-target.sh TARGET SEED_DIR WORK
set -uo pipefail
target=$1
seeds=$2
work=$3
seconds=${KAVREL_FUZZ_SECONDS:-4}
name=$(basename "$target")
mkdir -p "$work/corpus/$name" "$work/artifacts" "$work/logs"
log=$work/logs/$name.log
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# -timeout: an input that takes this long is a finding (quadratic parsing, endless loops).
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/$name-" "$work/corpus/$name" "$seeds" > "$log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
inputs=$(find "$work/corpus/$name" -type f | wc -l)
echo "$name: ${runs:-?} executions in ${seconds} s, ${coverage:-no coverage line}, corpus of $inputs inputs" |
  tee "$work/logs/$name.summary"
if [ "$status" -ne 0 ]; then
  echo "$name: finding (exit status $status); last lines of $log:"
  tail -n 60 "$log"
fi
exit "$status"
