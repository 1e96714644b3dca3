#!/usr/bin/env bash
# make bench: the core's benchmark natively, then what the user waits for under Wine. The
# figures go to build/bench.json:
#   - the native benchmark (load, lookup against one memory read, save, edits, memory);
#   - the same 1M load as a 32-bit Windows program under Wine, in turns with the native
#     build of that program (win32_load_ms, win32_over_native), and its private memory
#     while the table is held (win32_private_over_file);
#   - kavrel.exe's start to the word-count caption with the real kavrel.001 against a
#     minimal window, in a warm Wine session on a virtual display (gui_over_empty).
# The synthetic data files are generated once into build/native/bench-data.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
json=${KAVREL_BENCH_JSON:-build/bench.json}
pairs=${KAVREL_BENCH_PAIRS:-5}
starts=${KAVREL_BENCH_STARTS:-9}

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j2 --target kavrel_bench kavrel_load_bench kavrel_start_bench
cmake --build build/win32 -j2 --target kavrel kavrel_load_bench kavrel_empty_window
build/native/kavrel_bench --json="$json" --data-dir=build/native/bench-data "$@"

data=build/native/bench-data
big=$(cd "$data" && ls -S | grep -v '\.saved' | head -1)  # the 1M file, the largest
[ -f build/run/kavrel.001 ] || { echo "bench: build/run/kavrel.001 is missing (make dictionaries)" >&2; exit 1; }

# A private Wine world: a fresh copy of the pristine prefix, a virtual display, and one
# idle program that keeps the prefix's Wine session warm while the times are taken.
work=build/bench-wine
rm -rf "$work/prefix" "$work/run"
scripts/wine-env.sh up "$work" >/dev/null
# shellcheck disable=SC1091
. "$work/env"
mkdir -p "$work/prefix" "$work/run"
cp -a "$WINEPREFIX_PRISTINE/." "$work/prefix/"
cp build/win32/kavrel.exe build/run/kavrel.001 "$work/run/"
export WINEPREFIX=$root/$work/prefix WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's code page 1254 comes from a Turkish locale, given to Wine's processes alone (this
# shell's numbers keep their decimal point).
turkish=(LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8)
[ -n "$LOCPATH" ] && turkish+=(LOCPATH="$LOCPATH")
read -r DISPLAY xvfb_pid < <(scripts/xvfb.sh start)
export DISPLAY
idle_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$idle_pid" ] && wait "$idle_pid" 2>/dev/null
  scripts/xvfb.sh stop "$xvfb_pid"
}
trap cleanup EXIT
env "${turkish[@]}" wine "$root/build/win32/kavrel_load_bench.exe" --idle </dev/null >/dev/null 2>&1 &
idle_pid=$!

field() {  # field NAME JSON: a number from a one-line JSON object
  sed -n "s/.*\"$1\": \([0-9.eE+-]*\).*/\1/p" <<<"$2"
}
median() {  # the median of the numbers given
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The 1M load: the native and the 32-bit program in turns, three loads each per turn.
(cd "$data" && env "${turkish[@]}" wine "$root/build/win32/kavrel_load_bench.exe" "$big" 1 >/dev/null)  # warms the session and the cache
native=() win32=() private=() file_bytes=0
for ((i = 0; i < pairs; i++)); do
  n=$(build/native/kavrel_load_bench "$data/$big" 3)
  w=$(cd "$data" && env "${turkish[@]}" wine "$root/build/win32/kavrel_load_bench.exe" "$big" 3 | tr -d '\r')
  native+=("$(field load_ms "$n")")
  win32+=("$(field load_ms "$w")")
  private+=("$(field private_bytes "$w")")
  file_bytes=$(field file_bytes "$w")
done
native_ms=$(median "${native[@]}")
win32_ms=$(median "${win32[@]}")
private_bytes=$(median "${private[@]}")

# Start-up: kavrel.exe to its word count against the minimal window, in turns.
start=$(env "${turkish[@]}" build/native/kavrel_start_bench "$starts" "$root/build/win32/kavrel_empty_window.exe" \
  "empty window ready" kavrel.exe "$work/run" "kelime)")

gui_ms=$(sed 's/.*"program": {"caption_ms": \([0-9.]*\).*/\1/' <<<"$start")
empty_ms=$(sed 's/.*"empty": {"caption_ms": \([0-9.]*\).*/\1/' <<<"$start")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# Appended to the native benchmark's JSON object.
sed -i '$ d' "$json"
{
  echo "  ,\"win32_load_ms\": $win32_ms,"
  echo "  \"win32_native_load_ms\": $native_ms,"
  echo "  \"win32_over_native\": $(ratio "$win32_ms" "$native_ms"),"
  echo "  \"win32_private_bytes\": $private_bytes,"
  echo "  \"win32_private_over_file\": $(ratio "$private_bytes" "$file_bytes"),"
  echo "  \"gui_start_ms\": $gui_ms,"
  echo "  \"empty_window_ms\": $empty_ms,"
  echo "  \"gui_over_empty\": $(ratio "$gui_ms" "$empty_ms"),"
  echo "  \"gui_start\": $start"
  echo "}"
} >> "$json"
echo "32-bit load under Wine: $win32_ms ms, the native build $native_ms ms: $(ratio "$win32_ms" "$native_ms")x;" \
  "private memory $(ratio "$private_bytes" "$file_bytes")x the file"
echo "start to the word count: $gui_ms ms, a minimal window $empty_ms ms: $(ratio "$gui_ms" "$empty_ms")x"
echo "wrote $json"
