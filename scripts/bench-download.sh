#!/usr/bin/env bash
# The download's throughput: kavrel's retrieval (under Wine, reads of 1023 bytes and a
# caption per read) against a plain curl of the same address, both from the local fixture
# server in the same run. Each figure is the median of KAVREL_BENCH_RUNS runs (default 3)
# of a KAVREL_BENCH_DOWNLOAD_BYTES body (default 30 MiB); they go to
# build/bench-download.json. Needs `make build`.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
exe=$root/build/win32/kavrel_download_bench.exe
[ -f "$exe" ] || { echo "bench-download: build first (make build)" >&2; exit 1; }
state=$root/build/win32/wine-bench/state
scripts/wine-env.sh up "$state"
export KAVREL_WINE_STATE=$state KAVREL_BENCH_EXE=$exe
export KAVREL_BENCH_BYTES=${KAVREL_BENCH_DOWNLOAD_BYTES:-31457280} KAVREL_BENCH_RUNS=${KAVREL_BENCH_RUNS:-3}
export KAVREL_BENCH_JSON=${KAVREL_BENCH_DOWNLOAD_JSON:-$root/build/bench-download.json}
export KAVREL_WINE_RUN=$root/scripts/wine-run.sh

tests/windows/with-fixture-server.sh bash -c '
  set -euo pipefail
  url="http://$KAVREL_FIXTURE_SERVER/body?n=$KAVREL_BENCH_BYTES"
  work=$(mktemp -d); trap "rm -rf \"$work\"" EXIT
  kavrel=(); curl_s=()
  for _ in $(seq 1 "$KAVREL_BENCH_RUNS"); do
    curl_s+=("$(curl -s -o "$work/curl.out" -w "%{time_total}" "$url")")
    [ "$(stat -c %s "$work/curl.out")" = "$KAVREL_BENCH_BYTES" ] || { echo "curl: short body" >&2; exit 1; }
    line=$(cd "$work" && "$KAVREL_WINE_RUN" "$KAVREL_BENCH_EXE" "$url" | tr -d "\r")
    case "$line" in *"\"bytes\": $KAVREL_BENCH_BYTES}"*) ;; *) echo "kavrel: $line" >&2; exit 1 ;; esac
    kavrel+=("$(sed "s/.*\"seconds\": \([0-9.]*\).*/\1/" <<<"$line")")
  done
  python3 - "$KAVREL_BENCH_BYTES" "$KAVREL_BENCH_JSON" "${kavrel[*]}" "${curl_s[*]}" <<"PY"
import json, statistics, sys
size, out = int(sys.argv[1]), sys.argv[2]
kavrel = [float(x) for x in sys.argv[3].split()]
curl = [float(x) for x in sys.argv[4].split()]
k, c = statistics.median(kavrel), statistics.median(curl)
result = {"bytes": size, "runs": len(kavrel),
          "kavrel_seconds": kavrel, "curl_seconds": curl,
          "kavrel_mb_per_s": round(size / k / 1e6, 2), "curl_mb_per_s": round(size / c / 1e6, 1),
          "kavrel_over_curl": round(k / c, 1)}
json.dump(result, open(out, "w"), indent=2)
print(f"download of {size} bytes: kavrel {k:.2f} s ({size / k / 1e6:.2f} MB/s), "
      f"curl {c:.3f} s ({size / c / 1e6:.0f} MB/s), kavrel/curl {k / c:.0f}x")
PY
'
