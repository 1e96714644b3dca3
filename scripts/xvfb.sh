#!/usr/bin/env bash
# A virtual X display of our own, so windows never reach the user's screen and parallel
# runs never share a keyboard focus.
#   xvfb.sh start   starts Xvfb on a free display; prints "DISPLAY PID" once it is ready
#   xvfb.sh stop PID
set -euo pipefail

case "${1:-}" in
  start)
    ready=$(mktemp)
    # -displayfd: the server picks a free display and writes its number when ready.
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$ready" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do
      [ -s "$ready" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    display=$(tr -d '[:space:]' < "$ready")
    rm -f "$ready"
    if [ -z "$display" ]; then
      kill "$pid" 2>/dev/null || true
      echo "xvfb: the virtual display did not start" >&2
      exit 1
    fi
    echo ":$display $pid"
    ;;
  stop)
    kill "${2:?usage: xvfb.sh stop PID}" 2>/dev/null || true
    ;;
  *)
    echo "usage: xvfb.sh start | stop PID" >&2
    exit 2
    ;;
esac
