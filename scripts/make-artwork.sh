#!/usr/bin/env bash
# Draws Kavrel's icon and banner bitmaps into resources/art/.
#
#   kavrel.ico                16, 32 and 48 pixel images
#   banner130..132.bmp        489 x 60 banners that take turns every 20 s
#   banner133.bmp             highlighted banner shown while the mouse is over it
#
# Needs ImageMagick 6 (package imagemagick) and DejaVu Sans (fonts-dejavu-core).
# /usr/bin/convert is called by full path on purpose.
# Output carries no timestamps, so a rerun gives identical files.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$here/resources/art"
im=/usr/bin/convert
fontdir=/usr/share/fonts/truetype/dejavu
sans="$fontdir/DejaVuSans.ttf"
bold="$fontdir/DejaVuSans-Bold.ttf"

for f in "$im" "$sans" "$bold"; do
  [ -e "$f" ] || { echo "make-artwork: missing $f" >&2; exit 1; }
done

red='#E30A17'
red_dark='#B00812'
ink='#2B2B2B'

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# The mark: a red rounded square with a white bold "K", laid out on a 16 unit
# grid so the stem sits on whole pixels at 16, 32 and 48 pixels. Each size is
# drawn 8 times larger and shrunk with a box filter (plain area averaging).
mark() { # size file [square-colour letter-colour]
  local size=$1 file=$2 sq=${3:-$red} letter=${4:-white} k s
  k=$(( size * 8 / 16 ))   # pixels per grid unit at the drawing size
  s() { awk -v k="$k" -v v="$1" 'BEGIN { printf "%g", v * k }'; }
  "$im" -size "$((size * 8))x$((size * 8))" xc:none \
    -fill "$sq" -stroke none \
    -draw "roundrectangle 0,0 $(s 16),$(s 16) $(s 3.2),$(s 3.2)" \
    -fill "$letter" \
    -draw "rectangle $(s 4),$(s 3) $(s 7),$(s 13)" \
    -draw "polygon $(s 7),$(s 7.1) $(s 10.2),$(s 3) $(s 13.6),$(s 3) $(s 7),$(s 11.2)" \
    -draw "polygon $(s 8.4),$(s 8.2) $(s 10.3),$(s 6.4) $(s 13.8),$(s 13) $(s 10.4),$(s 13)" \
    -filter Box -resize "${size}x${size}" \
    -define png:exclude-chunks=date,time "$file"
}

for size in 16 32 48; do
  mark "$size" "$tmp/mark$size.png"
done
"$im" "$tmp/mark16.png" "$tmp/mark32.png" "$tmp/mark48.png" "$out/kavrel.ico"

# The highlighted banner is red, so its mark turns white with a red "K".
mark 48 "$tmp/mark48-light.png" white "$red"

# Banners: 489 x 60, the mark at the left, the name above a short tagline,
# a thin bar along the bottom edge.
banner() { # file background title-colour tagline-colour bar-colour mark title tagline
  local file=$1 bg=$2 tcol=$3 lcol=$4 bar=$5 mk=$6 title=$7 line=$8
  "$im" -size 489x60 "xc:$bg" \
    "$mk" -geometry +8+6 -composite \
    -fill "$tcol" -font "$bold" -pointsize 21 -annotate +66+27 "$title" \
    -fill "$lcol" -font "$sans" -pointsize 12.5 -annotate +67+48 "$line" \
    -fill "$bar" -draw "rectangle 0,57 488,59" \
    -alpha off -type TrueColor -compress None "BMP3:$file"
}

banner "$out/banner130.bmp" white "$red" "$ink" "$red" "$tmp/mark48.png" \
  "Kavrel sözlük" "Türkçe ↔ İngilizce · Almanca · Fransızca · İtalyanca"
banner "$out/banner131.bmp" white "$red" "$ink" "$red" "$tmp/mark48.png" \
  "Kavrel" "Yazdıkça çevirir: kelimeyi yazın, karşılığı hemen belirsin"
banner "$out/banner132.bmp" white "$red" "$ink" "$red" "$tmp/mark48.png" \
  "Kavrel" "F6 ile kendi kelimelerinizi sözlüğe ekleyin"
banner "$out/banner133.bmp" "$red" white white "$red_dark" "$tmp/mark48-light.png" \
  "Kavrel" "Ana sayfa için çift tıklayın"

echo "make-artwork: wrote $(cd "$out" && ls | tr '\n' ' ')"
