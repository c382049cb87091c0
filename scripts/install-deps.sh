#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, run and test ZeFa Oru.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libicu-dev libexiv2-dev exiv2 libheif-examples
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev
  desktop-file-utils dpkg-dev file python3 lintian appstream man-db
  qt6-translations-l10n locales xdotool
  dosfstools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The Japanese locale, for running and testing the program as a Japanese user does.
if ! locale -a | grep -qix 'ja_JP.utf8'; then
  localedef -i ja_JP -c -f UTF-8 -A /usr/share/locale/locale.alias ja_JP.UTF-8
fi
