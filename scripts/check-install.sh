#!/usr/bin/env bash
# Installs a build into a temporary prefix, checks that every piece lands in its standard
# place, then builds the Debian package and shows its dependencies.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR (a configured and built CMake build folder)" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"

program="$prefix/bin/zefa-oru"
help="$prefix/share/zefa-oru/help.hlp"
entry="$prefix/share/applications/zefa-oru.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/zefa-oru.svg"

[ -x "$program" ] && pass "program $program" || fail "no executable at $program"
if [ -f "$help" ] && cmp -s "$help" "$source_dir/data/help.hlp"; then
  pass "help file $help"
else
  fail "help file missing or different at $help"
fi
if [ -f "$entry" ]; then
  pass "desktop entry $entry"
  if desktop-file-validate "$entry"; then pass "desktop-file-validate accepts the entry"
  else fail "desktop-file-validate refuses $entry"; fi
  grep -qx 'Exec=zefa-oru %F' "$entry" && pass "entry starts zefa-oru with dropped files" \
    || fail "entry's Exec is not 'zefa-oru %F'"
  grep -qx 'Icon=zefa-oru' "$entry" && pass "entry names the icon zefa-oru" \
    || fail "entry's Icon is not zefa-oru"
  grep -q '^Name\[ja\]=' "$entry" && pass "entry has a Japanese name" \
    || fail "entry has no Name[ja]"
  grep -qx 'Categories=Utility;' "$entry" && pass "entry is a Utility" \
    || fail "entry's category is not Utility"
  # A renamer is no program to open a file with: the entry claims no file types.
  grep -q '^MimeType=' "$entry" && fail "entry claims file types: $(grep '^MimeType=' "$entry")" \
    || pass "entry claims no file types"
else
  fail "no desktop entry at $entry"
fi
if [ -f "$icon" ] && python3 -c 'import sys, xml.etree.ElementTree as E
sys.exit(0 if E.parse(sys.argv[1]).getroot().tag.endswith("svg") else 1)' "$icon"; then
  pass "SVG icon $icon"
else
  fail "no SVG icon at $icon"
fi

# The package installs under /usr, whatever prefix the build was configured with.
(cd "$work" && cpack --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log") \
  || { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(find "$work/package" -maxdepth 1 -name '*.deb' | head -n 1)
if [ -n "$deb" ]; then
  pass "package $(basename "$deb")"
  dpkg-deb --info "$deb"
  contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
  for path in ./usr/bin/zefa-oru ./usr/share/zefa-oru/help.hlp \
      ./usr/share/applications/zefa-oru.desktop \
      ./usr/share/icons/hicolor/scalable/apps/zefa-oru.svg; do
    grep -qx -- "$path" <<<"$contents" && pass "package holds $path" \
      || fail "package lacks $path"
  done
  depends=$(dpkg-deb --field "$deb" Depends)
  for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libcurl4 libicu72 libexiv2-27 \
      fonts-ipafont-gothic qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" && pass "depends on $package" \
      || fail "package does not depend on $package"
  done
  # Every dependency must be a package the archive knows.
  for package in $(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g' | sort -u); do
    apt-cache show "$package" >/dev/null 2>&1 || fail "no Debian package named $package"
  done
else
  fail "cpack built no .deb"
fi

if [ "$failures" -ne 0 ]; then
  echo "check-install: $failures problem(s)" >&2
  exit 1
fi
echo "check-install: all pieces in place"
