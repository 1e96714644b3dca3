#!/usr/bin/env bash
# Runs a command with the download tests' fixture HTTP server (fixture_server.py) on a
# free port of 127.0.0.1, whose host:port the command finds in KAVREL_FIXTURE_SERVER. The
# server is stopped by its process id when the command ends; the command's exit code is
# returned.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp)
/usr/bin/python3 "$here/fixture_server.py" --lifetime 900 >"$out" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 1 100); do
  [ -s "$out" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
port=$(head -n 1 "$out")
case "$port" in
  ''|*[!0-9]*) echo "fixture server did not start: $(cat "$out")" >&2; exit 1 ;;
esac
KAVREL_FIXTURE_SERVER="127.0.0.1:$port" "$@"
