#!/usr/bin/env bash
# The shipped program's PE header: large-address-aware (4 GB of address space on 64-bit
# Windows for a program that holds whole files) and without symbols.
#   binary_test.sh KAVREL_EXE
set -uo pipefail
header=$(i686-w64-mingw32-objdump -p "$1") || { echo "FAIL: cannot read $1"; exit 1; }
status=0
for flag in "large address aware" "symbols stripped"; do
  if grep -q "^[[:space:]]*$flag\$" <<<"$header"; then echo "ok: $flag"; else echo "FAIL: not $flag"; status=1; fi
done
exit $status
