#!/usr/bin/env bash
# Installs what building, running and testing Kavrel needs on Debian 12, as root.
# Idempotent: when everything is present it only checks and returns quickly.
set -euo pipefail

packages=(
  cmake make g++ git
  g++-mingw-w64-i686 mingw-w64-i686-dev
  googletest libgtest-dev libbenchmark-dev
  wine wine32:i386
  xvfb xdotool x11-utils imagemagick python3 curl
  zlib1g-dev locales fonts-dejavu-core
  dict-freedict-tur-eng dict-freedict-eng-tur dict-freedict-tur-deu
  dict-freedict-deu-tur dict-freedict-fra-tur dict-freedict-ita-tur
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  name=${p%%:*}; arch=${p#*:}
  [ "$arch" = "$p" ] && query=$name || query="$name:$arch"
  if ! dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
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
