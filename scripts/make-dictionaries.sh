#!/usr/bin/env bash
# Builds the eight Kavrel data files kavrel.001 .. kavrel.008 from the freedict dictd
# databases in /usr/share/dictd, with build/native/kavrel-tool. The output is the same bytes
# on every run. Usage: scripts/make-dictionaries.sh OUTDIR
# KAVREL_TOOL and DICTD_DIR override the tool and the database directory.
# Licences of the sources: tur-deu, deu-tur, tur-eng, eng-tur GPL-2+; fra-tur, ita-tur
# CC-BY-SA-3.0 (FreeDict; see /usr/share/doc/dict-freedict-*/copyright).
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi

readonly root="$(cd "$(dirname "$0")/.." && pwd)"
readonly tool="${KAVREL_TOOL:-$root/build/native/kavrel-tool}"
readonly dictd="${DICTD_DIR:-/usr/share/dictd}"
readonly outdir="$1"

if [[ ! -x "$tool" ]]; then
    echo "$0: $tool is missing; build it first (cmake --build build/native --target kavrel-tool)" >&2
    exit 1
fi
for pair in tur-deu deu-tur tur-eng eng-tur fra-tur ita-tur; do
    if [[ ! -f "$dictd/freedict-$pair.index" ]]; then
        echo "$0: $dictd/freedict-$pair.index is missing (package dict-freedict-$pair)" >&2
        exit 1
    fi
done
mkdir -p "$outdir"

db() { echo "$dictd/freedict-$1"; }

# The small Turkish-first databases are enriched with the reversal of the large ones;
# Turkish->French and Turkish->Italian exist only as reversals.
build() {
    local number="$1"
    shift
    echo "kavrel.$number:" >&2
    "$tool" import "$@" "$outdir/kavrel.$number"
}

build 001 "$(db tur-deu)" --reverse "$(db deu-tur)"
build 002 "$(db deu-tur)"
build 003 "$(db tur-eng)" --reverse "$(db eng-tur)"
build 004 "$(db eng-tur)"
build 005 --reverse "$(db fra-tur)"
build 006 "$(db fra-tur)"
build 007 --reverse "$(db ita-tur)"
build 008 "$(db ita-tur)"
