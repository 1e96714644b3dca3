#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh copy of the pristine test prefix and
# returns the program's exit code; ctest uses it as the emulator. The program gets a
# virtual display of its own unless KAVREL_DISPLAY names one (for callers that drive the
# window with xdotool). Needs KAVREL_WINE_STATE (the STATE_DIR of wine-env.sh up).
# KAVREL_CODEPAGE=1252 runs the program in a Western locale instead of the Turkish one.
# KAVREL_WINE_PREFIX names a prefix that the caller made and will end (it needs
# KAVREL_DISPLAY too): the program then replaces this shell, so the caller's $! is the
# program's own process.
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

if [ -n "${KAVREL_WINE_PREFIX:-}" ]; then
  export DISPLAY=${KAVREL_DISPLAY:?KAVREL_WINE_PREFIX needs KAVREL_DISPLAY}
  export WINEPREFIX=$KAVREL_WINE_PREFIX
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

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kavrel-prefix.XXXXXX")
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  rm -rf "$prefix"
  [ -n "$xvfb_pid" ] && "$scripts/xvfb.sh" stop "$xvfb_pid"
}
trap cleanup EXIT
cp -a "$WINEPREFIX_PRISTINE/." "$prefix/"
export WINEPREFIX="$prefix"
env "${locale_env[@]}" wine "$@"
