#!/bin/sh
# Which room may include which: core/ and framework/ include nothing from a feature's
# folder (app/, dictionary/, download/, resources/, tools/), and core/ no platform header;
# download/ knows neither the main window nor the dictionary; kavrel-tool (tools/, its own
# files) builds on the core alone. Prints every line that breaks the rule.
#   rooms_test.sh SOURCE_ROOT
root=${1:?}
cd "$root" || exit 1
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
bad=$(grep -nE "$include\"(app|dictionary|download|resources|tools)/" core/* framework/*
      grep -niE "$include<(windows|windowsx|wininet|shellapi|winsock2)\\.h>" core/*
      grep -nE "$include\"(app|dictionary|tools)/" download/*
      grep -nE "$include\"(app|dictionary|download|framework|resources)/" tools/*.cpp tools/*.h)
[ -z "$bad" ] && exit 0
echo "includes across the rooms' bounds:"
echo "$bad"
exit 1
