#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh copy of the pristine test prefix and
# returns the program's exit code; ctest uses it as the emulator. The program gets a
# virtual display of its own unless KAVREL_DISPLAY names one (for callers that drive the
# window with xdotool). Needs KAVREL_WINE_STATE (the STATE_DIR of wine-env.sh up).
# KAVREL_CODEPAGE=1252 runs the program in a Western locale instead of the Turkish one;
# KAVREL_DPI=144 runs it at that display DPI instead of 96.
# KAVREL_WINE_PREFIX names a prefix the caller keeps across runs (for what a program leaves
# in it, such as its settings): made from the pristine one when missing, never removed here.
# KAVREL_WINE_EXEC=1 with such a prefix and KAVREL_DISPLAY: the program replaces this
# shell, so the caller's $! is the program's own process; the caller ends the prefix's
# Wine session.
set -uo pipefail

state=${KAVREL_WINE_STATE:?KAVREL_WINE_STATE is not set: run scripts/wine-env.sh up first}
# shellcheck disable=SC1091
. "$state/env"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
# The locale is given to Wine alone; this shell keeps its own.
if [ "${KAVREL_CODEPAGE:-1254}" = 1254 ]; then
  locale_env=(LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8)
  [ -n "$LOCPATH" ] && locale_env+=(LOCPATH="$LOCPATH")
else
  locale_env=(LANG=C LC_ALL=C)
fi

if [ -n "${KAVREL_WINE_EXEC:-}" ]; then
  export DISPLAY=${KAVREL_DISPLAY:?KAVREL_WINE_EXEC needs KAVREL_DISPLAY}
  export WINEPREFIX=${KAVREL_WINE_PREFIX:?KAVREL_WINE_EXEC needs KAVREL_WINE_PREFIX}
  [ -d "$WINEPREFIX/drive_c" ] || { mkdir -p "$WINEPREFIX" && cp -a "$WINEPREFIX_PRISTINE/." "$WINEPREFIX/"; }
  exec env "${locale_env[@]}" wine "$@"
fi

scripts=$(cd "$(dirname "$0")" && pwd)
xvfb_pid=""
if [ -n "${KAVREL_DISPLAY:-}" ]; then
  export DISPLAY=$KAVREL_DISPLAY
else
  read -r DISPLAY xvfb_pid < <("$scripts/xvfb.sh" start) || exit 1
  export DISPLAY
fi

prefix=${KAVREL_WINE_PREFIX:-}
keep_prefix=${prefix:+1}
if [ -z "$prefix" ]; then
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-prefix.XXXXXX")
elif [ ! -d "$prefix/drive_c" ]; then
  mkdir -p "$prefix"
else
  prefix_ready=1
fi
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  [ -z "$keep_prefix" ] && rm -rf "$prefix"
  [ -n "$xvfb_pid" ] && "$scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT
[ -n "${prefix_ready:-}" ] || cp -a "$WINEPREFIX_PRISTINE/." "$prefix/"
export WINEPREFIX="$prefix"
if [ -n "${KAVREL_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KAVREL_DPI" /f >/dev/null 2>&1
fi
env "${locale_env[@]}" wine "$@"
