#!/usr/bin/env bash
# Builds the native tree and runs the core benchmark; the medians go to build/bench.json.
# The synthetic data files are generated once into build/native/bench-data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j2 --target kavrel_bench
build/native/kavrel_bench --json="${KAVREL_BENCH_JSON:-build/bench.json}" \
  --data-dir=build/native/bench-data "$@"
