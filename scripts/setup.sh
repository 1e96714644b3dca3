#!/usr/bin/env bash
# Installs what building, running and testing Kavrel needs on Debian 12, as root.
# Idempotent: when everything is present it only checks and returns quickly.
set -euo pipefail

packages=(
  cmake make g++ git
  g++-mingw-w64-i686 mingw-w64-i686-dev
  googletest libgtest-dev libbenchmark-dev
  wine wine32:i386
  xvfb xdotool x11-utils libx11-dev imagemagick python3 curl
  zlib1g-dev locales fonts-dejavu-core
  clang-14 libclang-rt-14-dev llvm-14
  fp-utils libchm-bin icoutils nsis zip unzip
  dict-freedict-tur-eng dict-freedict-eng-tur dict-freedict-tur-deu
  dict-freedict-deu-tur dict-freedict-fra-tur dict-freedict-ita-tur
  wordnet-base
)
# The databases whose headwords rank translations by how common a word is.
while read -r name; do
  [[ -z $name || $name == \#* ]] || packages+=("dict-freedict-$name")
done < "$(dirname "$0")/headword-databases.txt"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# One query for all packages: a hundred separate ones take seconds.
native=$(dpkg --print-architecture)
declare -A installed=()
while read -r name arch status; do
  [ "$status" = ii ] || continue
  installed[$name:$arch]=1
  if [ "$arch" = "$native" ] || [ "$arch" = all ]; then installed[$name]=1; fi
done < <(dpkg-query -W -f='${Package} ${Architecture} ${db:Status-Abbrev}\n' 2>/dev/null)
missing=()
for p in "${packages[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
as_root apt-get -o DPkg::Lock::Timeout=900 update -qq
as_root apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done" >&2
