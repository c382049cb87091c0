#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, run and test ZeFa Oru.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev
  desktop-file-utils dpkg-dev file python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
