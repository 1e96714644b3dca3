#!/usr/bin/env bash
# The compiled help file, read back with an independent reader (extract_chmLib): every page
# of help/contents.txt is in it, in Windows-1254 as it declares, the contents and the index
# are in it and lead to pages that exist, and no link between pages is broken.
#   help_test.sh KAVREL_CHM HELP_SOURCE_DIR
set -uo pipefail
chm=$1
src=$2
. "$(dirname "$0")/lib.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null 2>&1 || die "extract_chmLib cannot read $chm"

mapfile -t pages < <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$src/contents.txt")
for source in "$src"/*.htm; do
  check "$(basename "$source") is listed in contents.txt" grep -qx "$(basename "$source")" <(printf '%s\n' "${pages[@]}")
done

# A page holds Windows-1254 text when it says so: UTF-8 would show as the byte pairs that
# start with 0xC3, 0xC4 or 0xC5, which Turkish text in 1254 never holds.
is_1254() { grep -qi 'charset=windows-1254' "$1" && ! LC_ALL=C grep -qP '[\xC3-\xC5][\x80-\xBF]' "$1"; }
for page in "${pages[@]}"; do
  check "$page is in the help file" test -s "$out/$page"
  check "$page is Windows-1254 as it declares" is_1254 "$out/$page"
done

# Every link target of a page: another page or a file of the help (with its anchor, if
# any), or an anchor of the same page. Addresses with a scheme leave the help file.
has_anchor() { grep -qE "(id|name)=\"$2\"" "$out/$1"; }
link_ok() {
  local from=$1 target=$2 file anchor
  case "$target" in *:*) return 0 ;; esac
  file=${target%%#*}
  anchor=""
  [ "$file" = "$target" ] || anchor=${target#*#}
  [ -n "$file" ] || file=$from
  [ -f "$out/$file" ] || return 1
  [ -z "$anchor" ] || has_anchor "$file" "$anchor"
}
links=0
for page in "${pages[@]}"; do
  while read -r target; do
    links=$((links + 1))
    check "$page links to $target" link_ok "$page" "$target"
  done < <(grep -oE '(href|src)="[^"]*"' "$out/$page" | sed -E 's/^[a-z]+="(.*)"$/\1/')
done
check "the pages link to each other" test "$links" -ge "${#pages[@]}"

# The contents list every page in order; the index is there and leads to existing pages.
locals() { grep -oE '<param name="Local" value="[^"]*"' "$1" | sed -E 's/.*value="(.*)"$/\1/'; }
check "the contents list the pages in order" diff <(locals "$out/kavrel.hhc") <(printf '%s\n' "${pages[@]}")
check "the index has entries" test "$(locals "$out/kavrel.hhk" | wc -l)" -ge "${#pages[@]}"
while read -r target; do
  check "the index leads to $target" test -f "$out/$target"
done < <(locals "$out/kavrel.hhk" | sort -u)

# The viewer reads the contents and the index in the code page of the file's language:
# #SYSTEM record 4 must carry Turkish (0x041F).
lcid=""
at=4
size=$(stat -c %s "$out/#SYSTEM")
while [ "$at" -lt "$size" ]; do
  code=$(u16 "$out/#SYSTEM" "$at")
  length=$(u16 "$out/#SYSTEM" $((at + 2)))
  [ "$code" = 4 ] && { lcid=$(u32 "$out/#SYSTEM" $((at + 4))); break; }
  at=$((at + 4 + length))
done
check "the help file's language is Turkish (0x041F)" test "$lcid" = $((0x041F))
finish
