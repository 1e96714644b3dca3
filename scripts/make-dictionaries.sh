#!/usr/bin/env bash
# Builds the eight Kavrel data files kavrel.001 .. kavrel.008 from the freedict dictd
# databases in /usr/share/dictd, with build/native/kavrel-tool. The output is the same bytes
# on every run. Then it rates each file against tools/first-rows.tsv: how often the first row
# is the translation a reader expects. Usage: scripts/make-dictionaries.sh OUTDIR
# KAVREL_TOOL, DICTD_DIR and WORDNET_DIR override the tool and the data directories.
# Licences of the sources: tur-deu, deu-tur, tur-eng, eng-tur GPL-2+; fra-tur, ita-tur
# CC-BY-SA-3.0 (FreeDict; see /usr/share/doc/dict-freedict-*/copyright). Reversed
# translations are ranked with how common a word is: the FreeDict databases of
# scripts/headword-databases.txt and WordNet 3.0's sense counts (WordNet licence).
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi

readonly root="$(cd "$(dirname "$0")/.." && pwd)"
readonly tool="${KAVREL_TOOL:-$root/build/native/kavrel-tool}"
readonly dictd="${DICTD_DIR:-/usr/share/dictd}"
readonly wordnet="${WORDNET_DIR:-/usr/share/wordnet}"
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

# The options that rank reversed translations into language $1: how it capitalises, and
# the evidence of how common its words are.
ranking() {
    local name
    printf "%s\n" --language "$1"
    while read -r name; do
        [[ $name == "$1"-* ]] && printf "%s\n" --headwords-of "$(db "$name")"
    done < "$root/scripts/headword-databases.txt"
    [[ $1 == eng ]] && printf "%s\n" --sense-counts "$wordnet/cntlist.rev"
    return 0
}

# The small Turkish-first databases are enriched with the reversal of the large ones;
# Turkish->French and Turkish->Italian exist only as reversals. Ergane (tur-deu, tur-eng)
# sorts senses by the Esperanto words it was made through: --unordered, no order to keep.
build() {
    local number="$1"
    shift
    echo "kavrel.$number:" >&2
    "$tool" import "$@" "$outdir/kavrel.$number"
}

mapfile -t deu < <(ranking deu)
mapfile -t eng < <(ranking eng)
mapfile -t fra < <(ranking fra)
mapfile -t ita < <(ranking ita)
build 001 "${deu[@]}" --unordered "$(db tur-deu)" --reverse "$(db deu-tur)"
build 002 --language tur "$(db deu-tur)"
build 004 --language tur "$(db eng-tur)"
build 005 "${fra[@]}" --reverse "$(db fra-tur)"
build 006 --language tur "$(db fra-tur)"
build 008 --language tur "$(db ita-tur)"

# Turkish->English and Turkish->Italian are confirmed and filled through pivot languages:
# Turkish->pivot files built above and FreeDict's dictionaries between pivot and target.
# Rows come only from a pivot whose sources share the file's licence (French for Italian,
# all CC BY-SA 3.0); the others are witnesses only, which order and confirm. English goes
# through German, French and Italian, whose file is built without pivots for it, so that
# no witness counts twice.
build 007 "${ita[@]}" --reverse "$(db ita-tur)" \
    --pivot "$outdir/kavrel.001" "$(db deu-ita)" --pivot-reversed "$outdir/kavrel.001" "$(db ita-deu)" \
    --witness-only "$outdir/kavrel.001" \
    --pivot "$outdir/kavrel.005" "$(db fra-ita)"
pivot_ita="$outdir/kavrel.007.pivot"
trap 'rm -f "$pivot_ita"' EXIT
build 007.pivot "${ita[@]}" --reverse "$(db ita-tur)" 2>/dev/null
build 003 "${eng[@]}" --unordered "$(db tur-eng)" --reverse "$(db eng-tur)" \
    --pivot "$outdir/kavrel.001" "$(db deu-eng)" \
    --pivot "$outdir/kavrel.005" "$(db fra-eng)" --pivot-reversed "$outdir/kavrel.005" "$(db eng-fra)" \
    --pivot "$pivot_ita" "$(db ita-eng)" --pivot-reversed "$pivot_ita" "$(db eng-ita)" \
    --witness-only "$outdir/kavrel.001" --witness-only "$outdir/kavrel.005" --witness-only "$pivot_ita"
rm "$pivot_ita"

echo "First rows as a reader expects them (tools/first-rows.tsv):"
for rating in "001 tr de" "003 tr en" "005 tr fr" "007 tr it" "002 de tr" "004 en tr" "006 fr tr" "008 it tr"; do
    read -r number from to <<< "$rating"
    (cd "$outdir" && "$tool" rate "$root/tools/first-rows.tsv" "kavrel.$number" "$from" "$to")
done
