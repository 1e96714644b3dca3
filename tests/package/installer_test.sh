#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix, as a user would meet it: a silent install
# puts the zip's files into the local programs folder, registers the uninstaller and makes
# a shortcut that starts Kavrel on the first dictionary; a second install keeps a changed
# dictionary and restores the rest; the silent uninstall removes everything it installed
# but the changed dictionary.
#   installer_test.sh SETUP_EXE ZIP VERSION_FILE KAVREL_TOOL
set -uo pipefail
setup=$(realpath "$1")
zip=$(realpath "$2")
version=$(head -n 1 "$3")
tool=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
scripts=$here/../../scripts
. "$here/lib.sh"
state=${KAVREL_WINE_STATE:?}
[ -f "$state/env" ] || die "no Wine environment in $state"
[ -f "$setup" ] && [ -f "$zip" ] || die "no packages: run make dist first"
. "$state/env"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
# Wine alone runs in the Turkish locale (code page 1254); this shell keeps its own.
wine() {
  env LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 ${LOCPATH:+LOCPATH="$LOCPATH"} wine "$@"
}

read -r DISPLAY xvfb_pid < <("$scripts/xvfb.sh" start) || die "no virtual display"
export DISPLAY
export WINEPREFIX
WINEPREFIX=$(mktemp -d)
work=$(mktemp -d)
cleanup() {
  cd /
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$WINEPREFIX" "$work"
  "$scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT
cp -a "$WINEPREFIX_PRISTINE/." "$WINEPREFIX/"
unzip -q "$zip" -d "$work/zip" || die "cannot unzip $zip"
cd "$work"

windows_folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
instwin="$(windows_folder LOCALAPPDATA)\\Programs\\Kavrel"
inst=$(winepath -u "$instwin" 2>/dev/null)
inst=${inst%/}
lnk="$(winepath -u "$(windows_folder APPDATA)" 2>/dev/null)/Microsoft/Windows/Start Menu/Programs/Kavrel.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrel'
packaged=(kavrel.exe kavrel.00{1..8} help/kavrel.chm BENIOKU.txt GPL-2.txt)

# Runs a setup or uninstaller and waits for every process it started (the uninstaller
# runs on from a copy of itself).
# A hang (a dialog that a silent run should never show) fails instead of waiting forever.
settle() { timeout 120 wineserver -w || { wineserver -k; return 1; }; }
run_silently() { wine "$@" /S; local rc=$?; settle && return $rc; }
same_as_zip() { cmp -s "$inst/$1" "$work/zip/$1"; }
reg_value() { wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v k="$1" '$1 == k { print $3 }'; }

check "a silent install succeeds" run_silently "$setup"
for f in "${packaged[@]}"; do check "installed $f is the zip's" same_as_zip "$f"; done
check "the uninstaller is installed" test -f "$inst/kaldir.exe"
check "the Apps list shows the version" test "$(reg_value DisplayVersion)" = "$version"
check "the Apps list shows the size" test "$(( $(reg_value EstimatedSize) ))" -gt 4000
check "the Apps list can uninstall" test "$(reg_value UninstallString)" = "\"$instwin\\kaldir.exe\""
check "the Start menu has the shortcut" test -f "$lnk"
ends_with_folder() { FOLDER=$instwin awk 'substr($0, length($0) - length(ENVIRON["FOLDER"]) + 1) == ENVIRON["FOLDER"] { found = 1 } END { exit !found }'; }
check "the shortcut works in the install folder" ends_with_folder < <(strings -el "$lnk")

# Started from the shortcut, with no settings yet, Kavrel loads "Türkçe -> Almanca"
# (kavrel.001) and shows its word count.
"$tool" unpack "$work/zip/kavrel.001" "$work/plain" || die "cannot unpack kavrel.001"
words=$(tr -cd '\n' < "$work/plain" | wc -c)
wine start /unix "$lnk" &
title="^Kavrel v1\\.5 \\($words kelime\\) \\.\\.\\. yard"
window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --name "$title" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
check "the shortcut starts Kavrel with $words words" test -n "$window"
# While Kavrel runs, its files cannot be replaced: a silent update stops, changing nothing.
fails() { ! "$@"; }
printf 'damaged' > "$inst/help/kavrel.chm"
check "a silent update while Kavrel runs fails" fails wine "$setup" /S
check "and writes nothing" cmp -s "$inst/help/kavrel.chm" <(printf damaged)
if [ -n "$window" ]; then
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key alt+F4
  settle
else
  wineserver -k
fi

# An update over a changed kavrel.001, a deleted kavrel.008 and a damaged program.
printf 'ev|Haus, Heim\n\r' > "$work/changed"
"$tool" pack "$work/changed" "$inst/kavrel.001" || die "cannot pack"
rm -f "$inst/kavrel.008"
printf 'damaged' > "$inst/kavrel.exe"
check "a second silent install succeeds" run_silently "$setup"
check "the changed dictionary survives the update" cmp -s "$inst/kavrel.001" <("$tool" pack "$work/changed" -)
check "a missing dictionary is installed again" same_as_zip kavrel.008
check "the program is updated" same_as_zip kavrel.exe
check "the help is updated" same_as_zip help/kavrel.chm

check "a silent uninstall succeeds" run_silently "$inst/kaldir.exe"
check "only the changed dictionary is left" test "$(cd "$inst" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ')" = "./kavrel.001 "
check "the shortcut is gone" test ! -e "$lnk"
check "the Apps list entry is gone" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
finish
