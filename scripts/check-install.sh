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
window="$prefix/libexec/zefa-oru/zefa-oru-window"
[ -x "$window" ] && pass "window program $window" || fail "no window program at $window"
completion="$prefix/share/bash-completion/completions/zefa-oru"
[ -f "$completion" ] && bash -n "$completion" && pass "bash completion $completion" \
  || fail "no bash completion at $completion"
# The command line runs without a display or a session, and its run is undone.
mkdir -p "$work/cli/files" "$work/cli/program" && touch "$work/cli/files/a.txt"
if env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR ZEFA_ORU_DIR="$work/cli/program" \
    "$program" rename --name x "$work/cli/files" >/dev/null &&
   [ -f "$work/cli/files/x 1 a.txt" ] &&
   ZEFA_ORU_DIR="$work/cli/program" "$program" undo --last >/dev/null &&
   [ -f "$work/cli/files/a.txt" ]; then
  pass "zefa-oru rename and undo run without a display"
else
  fail "zefa-oru rename or undo failed without a display"
fi
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

# The file-manager actions: Dolphin reads a KDE service menu, a desktop file of KDE's own
# type Service, whose MimeType and Actions desktop-file-validate knows only for applications.
servicemenu="$prefix/share/kio/servicemenus/zefa-oru-servicemenu.desktop"
if [ -f "$servicemenu" ]; then
  report=$(desktop-file-validate "$servicemenu" 2>&1 || true)
  echo "$report" | sed 's/^/  desktop-file-validate: /'
  other=$(grep -v 'but the type is "Service" while this key is only valid for type "Application"' \
    <<<"$report" | grep -v '^$' || true)
  [ -z "$other" ] && pass "service menu valid but for KDE's own type" \
    || fail "desktop-file-validate finds more in $servicemenu"
  grep -qx 'Exec=zefa-oru -- %F' "$servicemenu" && grep -qx 'Name=ZeFa Oru でリネーム' "$servicemenu" \
    && pass "service menu hands the selection over" || fail "service menu's action is not as expected"
else
  fail "no Dolphin service menu at $servicemenu"
fi
# Nemo ships no validator: its loader wants the group, a name, a command, a selection and the
# file kinds.
nemo="$prefix/share/nemo/actions/zefa-oru.nemo_action"
if [ -f "$nemo" ] && python3 - "$nemo" <<'PY'
import configparser, sys
parser = configparser.RawConfigParser(strict=True, interpolation=None)
parser.optionxform = str
with open(sys.argv[1], encoding="utf-8") as f:
    parser.read_file(f)
action = parser["Nemo Action"]
assert parser.sections() == ["Nemo Action"], parser.sections()
assert action["Name"] == "ZeFa Oru でリネーム", action["Name"]
assert action["Exec"] == "zefa-oru -- %F", action["Exec"]
assert action["Selection"] == "notnone", action["Selection"]
assert action["Extensions"] == "any;", action["Extensions"]
PY
then pass "Nemo action $nemo"; else fail "no valid Nemo action at $nemo"; fi
metainfo="$prefix/share/metainfo/jp.zefa_oru.zefaoru.metainfo.xml"
if [ -f "$metainfo" ]; then
  if appstreamcli validate --no-net --pedantic "$metainfo"; then pass "appstreamcli accepts $metainfo"
  else fail "appstreamcli refuses $metainfo"; fi
else
  fail "no AppStream metadata at $metainfo"
fi
man_page="$prefix/share/man/man1/zefa-oru.1.gz"
if [ -f "$man_page" ] && zcat "$man_page" | grep -q '^\.TH ZEFA-ORU 1'; then
  warnings=$(zcat "$man_page" | LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l - 2>&1 >/dev/null || true)
  [ -z "$warnings" ] && pass "manual page $man_page" || fail "manual page warns: $warnings"
else
  fail "no manual page at $man_page"
fi

# The package installs under /usr, whatever prefix the build was configured with.
(cd "$work" && cpack --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log") \
  || { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(find "$work/package" -maxdepth 1 -name '*.deb' | head -n 1)
if [ -n "$deb" ]; then
  pass "package $(basename "$deb")"
  dpkg-deb --info "$deb"
  contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
  for path in ./usr/bin/zefa-oru ./usr/libexec/zefa-oru/zefa-oru-window \
      ./usr/share/bash-completion/completions/zefa-oru ./usr/share/zefa-oru/help.hlp \
      ./usr/share/applications/zefa-oru.desktop \
      ./usr/share/icons/hicolor/scalable/apps/zefa-oru.svg \
      ./usr/share/icons/hicolor/48x48/apps/zefa-oru.png \
      ./usr/share/kio/servicemenus/zefa-oru-servicemenu.desktop \
      ./usr/share/nemo/actions/zefa-oru.nemo_action \
      ./usr/share/metainfo/jp.zefa_oru.zefaoru.metainfo.xml \
      ./usr/share/man/man1/zefa-oru.1.gz \
      ./usr/share/doc/zefa-oru/copyright ./usr/share/doc/zefa-oru/changelog.gz; do
    grep -qx -- "$path" <<<"$contents" && pass "package holds $path" \
      || fail "package lacks $path"
  done
  depends=$(dpkg-deb --field "$deb" Depends)
  for package in libqt6widgets6 libqt6gui6 libqt6network6 libqt6core6 qt6-qpa-plugins libcurl4 libicu72 \
      libexiv2-27 libtag1v5 \
      fonts-ipafont-gothic qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" && pass "depends on $package" \
      || fail "package does not depend on $package"
  done
  # Every dependency must be a package the archive knows: one look-up for all of them, as
  # each loads the whole package cache.
  mapfile -t named < <(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g' | sort -u)
  known=$(apt-cache show "${named[@]}" 2>/dev/null | sed -n 's/^Package: //p' | sort -u || true)
  for package in "${named[@]}"; do
    grep -qxF -- "$package" <<<"$known" || fail "no Debian package named $package"
  done
  # Debian's own checks of a package: errors fail, warnings are shown.
  lintian_report=$(lintian --tag-display-limit 0 --info --pedantic "$deb" 2>&1 || true)
  echo "$lintian_report" | sed 's/^/  lintian: /'
  if grep -q '^E: ' <<<"$lintian_report"; then fail "lintian finds errors in the package"
  else pass "lintian finds no error"; fi
  dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/bin/zefa-oru >"$work/zefa-oru.bin"
  file "$work/zefa-oru.bin" | grep -q ', stripped' && pass "the packaged program is stripped" \
    || fail "the packaged program is not stripped"
else
  fail "cpack built no .deb"
fi

if [ "$failures" -ne 0 ]; then
  echo "check-install: $failures problem(s)" >&2
  exit 1
fi
echo "check-install: all pieces in place"
