#!/usr/bin/env bash
# A private Wine world for tests and screenshots: a pristine 32-bit prefix, made once and
# reused while Wine stays the same, and a Turkish locale for Wine's code page 1254.
#   wine-env.sh up STATE_DIR     makes both if needed and writes STATE_DIR/env
#   wine-env.sh down STATE_DIR   forgets STATE_DIR/env
# STATE_DIR/env is a shell fragment: WINEPREFIX_PRISTINE, LOCPATH. Each program then runs
# in a copy of the prefix on a display of its own (scripts/wine-run.sh).
set -euo pipefail

cmd=${1:?usage: wine-env.sh up|down STATE_DIR}
state=${2:?usage: wine-env.sh up|down STATE_DIR}
mkdir -p "$state"
state=$(cd "$state" && pwd)
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="

make_pristine_prefix() {
  local prefix=$1 stamp
  stamp="$(wine --version 2>/dev/null) v2"
  if [ -f "$prefix/.kavrel-stamp" ] && [ "$(cat "$prefix/.kavrel-stamp")" = "$stamp" ]; then
    return
  fi
  rm -rf "$prefix" "$prefix.tmp"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX="$prefix.tmp" wineboot -i >/dev/null 2>&1
  # Without a window manager, a managed window waits on every hide and gets no focus.
  WINEPREFIX="$prefix.tmp" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$prefix.tmp" wineserver -w
  echo "$stamp" > "$prefix.tmp/.kavrel-stamp"
  mv "$prefix.tmp" "$prefix"
}

# A Turkish locale for Wine's code page 1254, made privately when the system lacks it.
make_turkish_locale() {
  local dir=$1
  if locale -a 2>/dev/null | grep -qi '^tr_TR\.utf-\?8$'; then echo ""; return; fi
  if [ ! -d "$dir/tr_TR.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i tr_TR -f UTF-8 "$dir/tr_TR.UTF-8" >/dev/null 2>&1 || true
  fi
  echo "$dir"
}

case "$cmd" in
  up)
    cache=${KAVREL_WINE_CACHE:-$(cd "$(dirname "$0")/.." && pwd)/build/wine-cache}
    make_pristine_prefix "$cache/prefix"
    locpath=$(make_turkish_locale "$cache/locale")
    cat > "$state/env" <<ENV
WINEPREFIX_PRISTINE='$cache/prefix'
LOCPATH='$locpath'
ENV
    ;;
  down)
    rm -f "$state/env"
    ;;
  *)
    echo "usage: wine-env.sh up|down STATE_DIR" >&2
    exit 2
    ;;
esac
