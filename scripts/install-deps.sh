#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build ZeFa Oru and run the test command
# (scripts/test.sh); packages named as arguments are installed as well (scripts/fuzz.sh
# adds clang this way). Every package here is used by a command of the test command.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  # the build and its format check
  build-essential cmake ninja-build pkg-config git clang-format mold
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libicu-dev libexiv2-dev libtag1-dev
  # the tests: GoogleTest, the windows under Xvfb in Japanese, photos' dates
  libgtest-dev exiv2 libheif-examples dosfstools
  # the undo on disks that come back as another device: an XFS image, a FUSE mount
  xfsprogs fuse3 bindfs
  fonts-ipafont-gothic xvfb xauth qt6-translations-l10n locales
  # the install checks and the run of the installed copy
  desktop-file-utils dpkg-dev file python3 lintian appstream man-db xdotool
)
packages+=("$@")
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
