# Shared helpers of the package tests (sourced). Each test counts its checks and ends with
# the closing line "N passed, M failed".
passed=0
failed=0
check() {  # check NAME COMMAND...: runs the command, counts and reports the outcome
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $name"; fi
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
die() { echo "FAIL: $*"; echo "$passed passed, $((failed + 1)) failed"; exit 1; }
# Little-endian integers of a binary file: u16 FILE OFFSET, u32 FILE OFFSET.
u16() { od -An -tu2 -j "$2" -N2 --endian=little "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 --endian=little "$1" | tr -d ' '; }
