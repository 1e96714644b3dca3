#!/bin/sh
# Which room may include which: core/ and framework/ include nothing from a feature's
# folder (app/, dictionary/, download/, resources/, tools/), and core/ no platform header.
# Prints every line that breaks the rule.
#   rooms_test.sh SOURCE_ROOT
root=${1:?}
cd "$root" || exit 1
bad=$(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(app|dictionary|download|resources|tools)/' core/* framework/*
      grep -niE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windowsx|wininet|shellapi|winsock2)\.h>' core/*)
[ -z "$bad" ] && exit 0
echo "includes across the rooms' bounds:"
echo "$bad"
exit 1
