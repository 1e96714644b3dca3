#!/usr/bin/env bash
# `make dist` is reproducible: making the packages again, at another time, in another time
# zone, locale and umask, gives the same bytes as the packages in DIST_DIR.
#   dist_reproducible_test.sh DIST_DIR VERSION_FILE
set -uo pipefail
dist=$1
version=$(head -n 1 "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
for f in kavrel-$version-win32.zip kavrel-$version-setup.exe; do
  [ -f "$dist/$f" ] || die "$dist/$f is missing: run make dist first"
done
(umask 077 && TZ=Asia/Tokyo LC_ALL=C "$here/../../scripts/make-dist.sh" "$again" >/dev/null) \
  || die "make-dist failed"
for f in kavrel-$version-win32.zip kavrel-$version-setup.exe; do
  check "$f is made again byte for byte" cmp "$dist/$f" "$again/$f"
done
finish
