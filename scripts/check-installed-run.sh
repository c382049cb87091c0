#!/usr/bin/env bash
# Runs an installed copy as a new Japanese user does: installs the build under /usr/local (a
# system install, so the program keeps its files per user), starts it under Xvfb with a fresh
# HOME, no ZEFA_ORU_DIR and LANG=ja_JP.UTF-8, with files handed over on the command line as
# the bytes they are, and drives the real windows with xdotool: saves the settings dialog,
# renames the files with a restore file and undoes the run from the restore file that the
# open dialog preselects. Checks where the files landed, that nothing was written beside the
# program and that every file is back under its name, byte for byte, with its own contents.
# Usage: scripts/check-installed-run.sh BUILD_DIR [SCREENSHOT_FOLDER]
set -euo pipefail
if [ $# -lt 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR [SCREENSHOT_FOLDER]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
shots=${2:-}
[ -z "$shots" ] || mkdir -p "$shots"

work=$(mktemp -d)
prefix=$(mktemp -d /usr/local/zefa-oru-check.XXXXXX)
program_pid=
xvfb_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" "$prefix"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }
die() {
  echo "FAIL: $*" >&2
  [ -z "$shots" ] || import -display "$DISPLAY" -window root "$shots/failure.png" || true
  [ ! -f "$work/program.log" ] || cat "$work/program.log" >&2
  exit 1
}

cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"
find "$prefix" | sort >"$work/installed.txt"

home="$work/home"
photos="$work/photos"
mkdir -p "$home" "$photos" "$work/runtime"
chmod 700 "$work/runtime"
# Names as cameras, old Windows archives (Shift-JIS, a trail byte 0x5C: ソ), Latin-1 tools
# and macOS (が as か + U+3099) leave them; each file holds its own name as contents.
names=(DSC01.jpg DSC02.jpg $'\x83\x5c.txt' $'caf\xe9.jpg' $'\xe3\x81\x8b\xe3\x82\x99.jpg')
paths=()
for name in "${names[@]}"; do
  printf '%s' "$name" >"$photos/$name"
  paths+=("$photos/$name")
done
listing() { (cd "$photos" && for f in *; do printf '%s=%s\n' "$f" "$(od -An -tx1 <"$f" | tr -d ' \n')"; done | od -An -tx1); }
before=$(listing)

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

(cd "$photos" && exec env -i PATH=/usr/bin:/bin HOME="$home" LANG=ja_JP.UTF-8 DISPLAY="$DISPLAY" \
  XDG_RUNTIME_DIR="$work/runtime" "$prefix/bin/zefa-oru" "${paths[@]}" >"$work/program.log" 2>&1) &
program_pid=$!

# The visible windows titled $1 other than the main window, newest last.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${main:-0}" || true; }
wait_window() {
  local id
  for _ in $(seq 200); do
    id=$(windows_named "$1" | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return; }
    kill -0 "$program_pid" 2>/dev/null || die "the program ended while waiting for '$1'"
    sleep 0.1
  done
  die "no window '$1' appeared"
}
wait_gone() {
  for _ in $(seq 200); do windows_named "$1" | grep -qx "$2" || return 0; sleep 0.1; done
  die "window '$1' stayed open"
}
shot() { [ -z "$shots" ] || { sleep 0.5; import -window root "$shots/$1.png"; }; }
# Presses Enter in the box titled $1: every box of the program has its Yes or OK as default.
answer() {
  local id
  id=$(wait_window "$1")
  xdotool windowfocus --sync "$id"
  xdotool key Return
  wait_gone "$1" "$id"
}
# Clicks a point of a window, in the coordinates of its client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

main=
main=$(wait_window "ZeFa Oru")
sleep 0.5
# The main window's client area is 454 pixels high; the menu bar is above it.
menu_bar=$(($(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: [0-9]*x//p') - 454))
shot main-window

[ ! -e "$home/.config" ] && [ ! -e "$home/.local" ] && pass "a fresh home folder" \
  || fail "the home folder was written to before any save"

# 設定, then its OK: the first save creates the per-user settings folder.
click "$main" $((104 + 40)) $((376 + 12 + menu_bar))
settings=$(wait_window "設定")
click "$settings" $((376 + 41)) $((312 + 12))
wait_gone "設定" "$settings"
[ -f "$home/.config/ZeFa_oru/ZeFa_oru.ini" ] && pass "settings saved in ~/.config/ZeFa_oru/" \
  || fail "no ~/.config/ZeFa_oru/ZeFa_oru.ini after the settings dialog's OK"

# The common name, then リネーム開始: confirm, with a restore file, its notice, done.
click "$main" $((176 + 64)) $((304 + 10 + menu_bar))
xdotool type --delay 30 trip
# プレビュー shows every old and new name; 閉じる closes it.
click "$main" $((296 + 40)) $((376 + 12 + menu_bar))
preview=$(wait_window "プレビュー")
shot preview
click "$preview" $((320 + 41)) $((280 + 12))
wait_gone "プレビュー" "$preview"
click "$main" $((296 + 40)) $((416 + 12 + menu_bar))
answer "確認"
answer "警告"
answer "ZeFa Oru"
answer "ZeFa Oru"
renamed=$(cd "$photos" && ls | od -An -tx1)
# The new names are UTF-8 in composed form (ソ from its Shift-JIS bytes, が from か + U+3099);
# a name that is neither UTF-8 nor Shift-JIS keeps its bytes.
expected=$(cd "$work" && mkdir expected && cd expected &&
  touch 'trip 1 DSC01.jpg' 'trip 2 DSC02.jpg' 'trip 3 ソ.txt' $'trip 4 caf\xe9.jpg' \
    'trip 5 が.jpg' && ls | od -An -tx1)
[ "$renamed" = "$expected" ] && pass "the run gave every file its new name" \
  || fail "after the run the folder holds: $(cd "$photos" && ls | od -c | head -n 20)"
restore_files=("$home/.local/share/ZeFa_oru/restore/"*.zefa)
[ -f "${restore_files[0]}" ] && [ ${#restore_files[@]} -eq 1 ] \
  && pass "restore file in ~/.local/share/ZeFa_oru/restore/: $(basename "${restore_files[0]}")" \
  || fail "not one restore file in ~/.local/share/ZeFa_oru/restore/"

# Older restore files whose names sort before the run's, by bytes and by number alike: the
# open dialog must preselect the newest, or the undo below finds nothing to bring back.
restore_folder="$home/.local/share/ZeFa_oru/restore"
decoys=("$restore_folder/2025年12月10日9時0分0秒.zefa" "$restore_folder/2026年12月1日9時0分0秒.zefa")
printf '[zefa]\n' >"${decoys[0]}"
printf '[zefa]\n' >"${decoys[1]}"
touch -d '1 year ago' "${decoys[0]}"
touch -d '7 days ago' "${decoys[1]}"

# ファイル > 元に戻す, the preselected file, the question, done.
# The open menu has the keyboard: U, the access key of 元に戻す(&U), chooses it. A busy
# machine may not have opened the menu yet when the key comes: then the menu is opened again.
for _ in 1 2 3; do
  click "$main" 29 $((menu_bar / 2))
  sleep 0.5
  xdotool key u
  for _ in $(seq 50); do
    [ -z "$(windows_named "開く")" ] || break 2
    sleep 0.1
  done
done
opened=$(wait_window "開く")
shot undo-dialog
xdotool windowfocus --sync "$opened"
xdotool key Return
wait_gone "開く" "$opened"
answer "警告"
answer "ZeFa Oru"
[ "$(listing)" = "$before" ] && pass "every file is back under its name, byte for byte" \
  || fail "after the undo the folder holds: $(cd "$photos" && ls | od -c | head -n 20)"

kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=
rm -f "${decoys[@]}"
[ "$(find "$prefix" | sort)" = "$(cat "$work/installed.txt")" ] \
  && pass "nothing written beside the program" \
  || fail "files beside the program: $(comm -13 "$work/installed.txt" <(find "$prefix" | sort))"

if [ "$failures" -ne 0 ]; then
  echo "check-installed-run: $failures problem(s)" >&2
  exit 1
fi
echo "check-installed-run: the installed copy saved, renamed and undid as a new user's"
