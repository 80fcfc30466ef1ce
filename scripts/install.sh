#!/usr/bin/env bash
# Installs every tool the builds, tests and demo need, from Debian's packages.
# Idempotent: packages already present are skipped, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  libboost-regex1.81-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64
  xvfb xdotool x11-utils imagemagick
  nginx-light tinyproxy curl zip
  fonts-wqy-microhei
  python3 python3-lxml valgrind
  clang libclang-rt-14-dev
)

if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=sudo
else
  sudo_cmd=
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing+=("$p") ;;
  esac
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
