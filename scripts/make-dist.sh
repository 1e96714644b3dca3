#!/usr/bin/env bash
# Makes the two packages of a release in OUTDIR (default build/dist):
#   kavrel-VERSION-win32.zip   kavrel.exe, the eight dictionaries, help\kavrel.chm,
#                              BENIOKU.txt (the read-me with the licences) and GPL-2.txt
#   kavrel-VERSION-setup.exe   the same files in a per-user NSIS installer
# from build/win32 (the program and the help) and build/run (the dictionaries). The same
# inputs give the same bytes: every file's time is SOURCE_DATE_EPOCH (default: the time of
# the last commit), the zip holds no extra attributes and its entries are sorted.
#   make-dist.sh [OUTDIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/dist}
version=$(head -n 1 "$root/VERSION")
exe=${KAVREL_EXE:-$root/build/win32/kavrel.exe}
chm=${KAVREL_CHM:-$root/build/win32/help/kavrel.chm}
dictionaries=${KAVREL_DICTIONARY_DIR:-$root/build/run}
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || stat -c %Y "$root/VERSION")
fi

for f in "$exe" "$chm" "$dictionaries"/kavrel.00{1..8}; do
  [ -f "$f" ] || { echo "make-dist: $f is missing (make build dictionaries first)" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/files/help"
cp "$exe" "$stage/files/kavrel.exe"
cp "$chm" "$stage/files/help/kavrel.chm"
cp "$dictionaries"/kavrel.00{1..8} "$stage/files/"
# Windows texts: UTF-8 with a byte-order mark (Notepad shows the Turkish letters in any
# code page) and CR LF line ends.
windows_text() { printf '\xEF\xBB\xBF'; sed 's/$/\r/'; }
{ sed "s/@VERSION@/$version/" "$root/packaging/BENIOKU.txt"; cat "$root/LICENSE"; } | windows_text > "$stage/files/BENIOKU.txt"
sed 's/$/\r/' /usr/share/common-licenses/GPL-2 > "$stage/files/GPL-2.txt"
find "$stage/files" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$stage/files" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir -p "$out"
zip=kavrel-$version-win32.zip
setup=kavrel-$version-setup.exe
(cd "$stage/files" && find . -type f | sed 's|^\./||' | LC_ALL=C sort \
  | TZ=UTC zip -X -D -q -9 "$stage/$zip" -@)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage/files" \
  -DOUTFILE="$stage/$setup" -DICON="$root/resources/art/kavrel.ico" "$root/packaging/kavrel.nsi" >&2
mv "$stage/$zip" "$out/$zip"
mv "$stage/$setup" "$out/$setup"
echo "make-dist: $out/$zip"
echo "make-dist: $out/$setup"
