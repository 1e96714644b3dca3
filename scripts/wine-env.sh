#!/usr/bin/env bash
# A private Wine world for tests and screenshots: a pristine 32-bit prefix (made once and
# reused while Wine stays the same) and a virtual X display of our own.
#   wine-env.sh up STATE_DIR     makes the prefix if needed, starts Xvfb, writes STATE_DIR/env
#   wine-env.sh down STATE_DIR   stops that Xvfb and the prefix's wineserver
# STATE_DIR/env is a shell fragment: WINEPREFIX_PRISTINE, DISPLAY, LOCPATH.
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

free_display() {
  local n
  for n in $(seq 90 189); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return; fi
  done
  echo "wine-env: no free X display number" >&2
  exit 1
}

case "$cmd" in
  up)
    cache=${KAVREL_WINE_CACHE:-$(cd "$(dirname "$0")/.." && pwd)/build/wine-cache}
    make_pristine_prefix "$cache/prefix"
    locpath=$(make_turkish_locale "$cache/locale")
    display=$(free_display)
    Xvfb ":$display" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    cat > "$state/env" <<ENV
WINEPREFIX_PRISTINE='$cache/prefix'
DISPLAY=':$display'
LOCPATH='$locpath'
ENV
    ;;
  down)
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid"
    fi
    ;;
  *)
    echo "usage: wine-env.sh up|down STATE_DIR" >&2
    exit 2
    ;;
esac
