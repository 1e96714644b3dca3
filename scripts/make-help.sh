#!/usr/bin/env bash
# Compiles the help file from the pages in HELP_DIR: the pages listed in contents.txt
# (UTF-8 sources) become Windows-1254 pages that declare that charset, the contents come
# from their titles and the index from their keywords, and chmcmd writes OUT_CHM.
#   make-help.sh HELP_DIR OUT_CHM
set -euo pipefail
src=${1:?usage: make-help.sh HELP_DIR OUT_CHM}
out=${2:?usage: make-help.sh HELP_DIR OUT_CHM}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pages=()
while read -r page; do
  pages+=("$page")
done < <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$src/contents.txt")
[ ${#pages[@]} -gt 0 ] || { echo "make-help: no page in $src/contents.txt" >&2; exit 1; }

# The help viewers read a Turkish help file in Windows-1254; iconv fails on any letter
# that 1254 cannot hold, so such a page stops the build instead of showing garbage.
for page in "${pages[@]}"; do
  grep -qi 'charset=utf-8' "$src/$page" || { echo "make-help: $page does not declare charset=utf-8" >&2; exit 1; }
  sed 's/charset=utf-8/charset=windows-1254/I' "$src/$page" | iconv -f UTF-8 -t WINDOWS-1254 > "$work/$page" \
    || { echo "make-help: $page has a character outside Windows-1254" >&2; exit 1; }
done
assets=()
for asset in "$src"/*.css "$src"/*.png "$src"/*.gif; do
  [ -f "$asset" ] && { cp "$asset" "$work/"; assets+=("$(basename "$asset")"); }
done

title_of() { sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$src/$1" | head -n 1; }
keywords_of() {
  sed -n 's:.*<meta name="keywords" content="\([^"]*\)".*:\1:p' "$src/$1" | tr ';' '\n' \
    | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' -e '/^$/d'
}
# The sitemap's attribute values: the titles and keywords are plain text.
attr() { sed -e 's/&/\&amp;/g' -e 's/"/\&quot;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<< "$1"; }
# Index order as a Turkish reader expects it: c < ç, g < ğ, h < ı < i, o < ö, s < ş, u < ü.
sort_key() {
  sed -e 'y/ABCDEFGHIJKLMNOPQRSTUVWXYZÇĞİÖŞÜ/abcdefghijklmnopqrstuvwxyzçğiöşü/' \
      -e 's/ç/c~/g; s/ğ/g~/g; s/ı/h~/g; s/ö/o~/g; s/ş/s~/g; s/ü/u~/g' <<< "$1"
}
param() { printf '<param name="%s" value="%s">' "$1" "$(attr "$2")"; }
# A contents entry, or an index entry that leads to one page.
entry() { echo "<LI><OBJECT type=\"text/sitemap\">$(param Name "$1")$(param Local "$2")</OBJECT>"; }
# An index entry that leads to several pages: the viewer offers their titles to choose from.
entries() {
  local out
  out="<LI><OBJECT type=\"text/sitemap\">$(param Name "$1")"
  shift
  while [ $# -gt 0 ]; do out+="$(param Name "$(title_of "$1")")$(param Local "$1")"; shift; done
  echo "$out</OBJECT>"
}

{
  echo '<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">'
  echo '<HTML><HEAD></HEAD><BODY>'
  echo '<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>'
  echo '<UL>'
  for page in "${pages[@]}"; do
    title=$(title_of "$page")
    [ -n "$title" ] || { echo "make-help: $page has no <title>" >&2; exit 1; }
    entry "$title" "$page"
  done
  echo '</UL></BODY></HTML>'
} > "$work/kavrel.hhc.utf8"

index_entry() { if [ $# -eq 2 ]; then entry "$@"; else entries "$@"; fi; }
{
  echo '<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">'
  echo '<HTML><HEAD></HEAD><BODY>'
  echo '<UL>'
  for page in "${pages[@]}"; do
    while read -r keyword; do
      printf '%s\t%s\t%s\n' "$(sort_key "$keyword")" "$keyword" "$page"
    done < <(keywords_of "$page")
  done | LC_ALL=C sort -t $'\t' -k1,1 -k3,3 | {
    group=()
    while IFS=$'\t' read -r _ keyword page; do
      if [ ${#group[@]} -gt 0 ] && [ "${group[0]}" != "$keyword" ]; then
        index_entry "${group[@]}"
        group=()
      fi
      [ ${#group[@]} -gt 0 ] || group=("$keyword")
      group+=("$page")
    done
    [ ${#group[@]} -eq 0 ] || index_entry "${group[@]}"
  }
  echo '</UL></BODY></HTML>'
} > "$work/kavrel.hhk.utf8"

{
  echo '[OPTIONS]'
  echo 'Compatibility=1.1 or later'
  echo 'Compiled file=kavrel.chm'
  echo 'Contents file=kavrel.hhc'
  echo 'Index file=kavrel.hhk'
  echo "Default topic=${pages[0]}"
  echo 'Display compile progress=No'
  echo 'Full-text search=Yes'
  # chmcmd's binary index holds two bytes of uninitialised memory; the viewers read the
  # index from kavrel.hhk just as well.
  echo 'Binary Index=No'
  echo 'Language=0x41f Turkish'
  echo 'Title=Kavrel Yardım'
  echo
  echo '[FILES]'
  printf '%s\n' "${pages[@]}" "${assets[@]}"
} > "$work/kavrel.hhp.utf8"

for f in kavrel.hhc kavrel.hhk kavrel.hhp; do
  iconv -f UTF-8 -t WINDOWS-1254 "$work/$f.utf8" > "$work/$f"
  rm "$work/$f.utf8"
done

(cd "$work" && chmcmd --no-html-scan kavrel.hhp > chmcmd.log 2>&1) || { cat "$work/chmcmd.log" >&2; exit 1; }
[ -s "$work/kavrel.chm" ] || { cat "$work/chmcmd.log" >&2; exit 1; }

# chmcmd stamps the build's millisecond of the day into the ITSF header (offset 16, four
# bytes) and into the #SYSTEM record 10; both are cleared so that the same pages always
# give the same file.
zero4() { printf '\0\0\0\0' | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
zero4 "$work/kavrel.chm" 16
system_at=$(od -An -v -tx1 "$work/kavrel.chm" | tr -d ' \n' \
  | awk '{ i = index($0, "030000000a000400"); print (i % 2 == 1 ? (i - 1) / 2 : "") }')
[ -n "$system_at" ] || { echo "make-help: no #SYSTEM time stamp in the compiled file" >&2; exit 1; }
zero4 "$work/kavrel.chm" $((system_at + 8))

mkdir -p "$(dirname "$out")"
cp "$work/kavrel.chm" "$out.tmp" && mv "$out.tmp" "$out"
