#!/usr/bin/env bash
# What Windows reads from kavrel.exe without running it, read back with wrestool: the
# version resource (Turkish, code page 1254, the version of the VERSION file in its fixed
# and its text form) and the manifest (supported Windows versions, DPI awareness, and no
# requested execution level, which would end file virtualisation for the settings file).
#   resources_test.sh KAVREL_EXE VERSION_FILE
set -uo pipefail
exe=$1
version=$(head -n 1 "$2")
. "$(dirname "$0")/lib.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
IFS=. read -r major minor patch <<< "$version"

wrestool -l "$exe" > "$out/list" 2>&1 || die "wrestool cannot read $exe"
check "one version resource, in Turkish" test "$(grep -c -- '--type=16 ' "$out/list")" = 1
check "the version resource's language is 0x041F" grep -q -- '--type=16 --name=1 --language=1055 ' "$out/list"
check "one manifest, resource 1" test "$(grep -c -- '--type=24 ' "$out/list")" = 1
check "the manifest is resource 1" grep -q -- '--type=24 --name=1 ' "$out/list"

v=$out/version
wrestool -x --raw -t 16 "$exe" > "$v"
# VS_FIXEDFILEINFO follows the 40-byte head of "VS_VERSION_INFO".
check "the fixed file information is there" test "$(u32 "$v" 40)" = $((0xFEEF04BD))
fixed_ok() {
  [ "$(u16 "$v" $((40 + $1 + 2)))" = "$major" ] && [ "$(u16 "$v" $((40 + $1)))" = "$minor" ] &&
    [ "$(u16 "$v" $((40 + $1 + 6)))" = "$patch" ] && [ "$(u16 "$v" $((40 + $1 + 4)))" = 0 ]
}
check "file version $version.0" fixed_ok 8
check "product version $version.0" fixed_ok 16

# The strings: UTF-16 keys and values, separated by runs of zero characters; a key's line
# ends with its type word 1 and the key, the next line is its value.
iconv -f UTF-16LE -t UTF-8 "$v" 2>/dev/null | tr -s '\0' '\n' > "$out/strings"
value_of() { grep -a -A1 $'\x01'"$1\$" "$out/strings" | sed -n 2p; }
check "the strings are Turkish with code page 1254 (block 041F04E6)" grep -aq $'\x01041F04E6$' "$out/strings"
while IFS='|' read -r key expected; do
  check "$key is '$expected'" test "$(value_of "$key")" = "$expected"
done <<TABLE
ProductName|Kavrel
FileDescription|Kavrel Türkçe sözlük
FileVersion|$version
ProductVersion|$version
TABLE
# VarFileInfo's Translation: language 0x041F, code page 1254, the last four bytes.
size=$(stat -c %s "$v")
check "Translation is Turkish with code page 1254" \
  test "$(u16 "$v" $((size - 4))) $(u16 "$v" $((size - 2)))" = "$((0x041F)) 1254"

m=$out/manifest
wrestool -x --raw -t 24 "$exe" > "$m"
# Without the newest Windows in its list, Windows 10 and 11 tell the program it runs on 8.
check "Windows 10 and 11 are supported" grep -qi 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' "$m"
check "DPI aware" grep -q '<dpiAware[^>]*>true</dpiAware>' "$m"
check "no requested execution level" bash -c "! grep -qi 'requestedExecutionLevel\|trustInfo' '$m'"

finish
