#!/usr/bin/env bash
# End-to-end test that the menu writes nothing: it runs the real menu binary on a read-only medium
# in a private Xvfb, presses Quit, and checks that no file under the medium (its current directory)
# appeared, vanished or changed.
#
#   tests/menu_writes_nothing.sh path/to/tolvar-autorun
#
# The medium is mounted read-only over itself in a private mount namespace where the system allows
# it (root, or user namespaces); otherwise its files are made read-only, which root ignores, and
# the listing before and after is what catches a write (TOLVAR_NO_READ_ONLY_MOUNT=1 forces this).
set -euo pipefail

binary=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-writes-nothing.XXXXXX")
medium=$work/medium
xvfb_pid=""
menu_pid=""

cleanup() {
  [ -n "$menu_pid" ] && kill "$menu_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/menu.log" ] && sed 's/^/  menu: /' "$work/menu.log" >&2
  exit 1
}

# The medium: a menu with a picture, a program and an exit entry.
title="Writes nothing $$"
mkdir -p "$medium/menu" "$medium/setup" "$work/home"
printf "' A medium that must stay as it is\r\n%s\r\n%s\r\n2\r\nSetup\r\nsetup\\\\setup.sh\r\nLeave\r\n\$exit\$\r\n" \
  "$title" "$(command -v convert >/dev/null && echo 'menu\splash.png' || echo '$null$')" \
  >"$medium/menu/config.mnu"
if command -v convert >/dev/null; then
  convert -size 489x121 gradient:navy-skyblue "$medium/menu/splash.png"
fi
printf '#!/bin/sh\nexit 0\n' >"$medium/setup/setup.sh"
chmod -R a-w "$medium"

listing() {  # every path under the medium with its type, size, mode and times of change
  find "$medium" -printf '%P %y %s %m %T@ %C@\n' | sort
}
before=$(listing)

# Waits up to $1 seconds for process $2 to end; fails when it still runs.
wait_for_end() {
  timeout "$1" tail --pid="$2" -s 0.1 -f /dev/null || ! kill -0 "$2" 2>/dev/null
}

# A private X display on a free number; Xvfb picks it and reports it on fd 3, a pipe read here.
mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
number=""
read -r -t 15 number <"$work/display" || true
[ -n "$number" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$number"

# The menu, started from the medium's root as a person would, with a home outside the medium.
run_menu=(env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
          XDG_DATA_HOME="$work/home/.local/share" NO_AT_BRIDGE=1 "$binary")
if [ -z "${TOLVAR_NO_READ_ONLY_MOUNT:-}" ] && unshare -m true 2>/dev/null; then
  mount_note="read-only mount"
  (cd "$medium" && exec unshare -m sh -c \
    'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && cd "$1" && shift && exec "$@"' \
    sh "$medium" "${run_menu[@]}") >"$work/menu.log" 2>&1 &
else
  mount_note="read-only files"
  (cd "$medium" && exec "${run_menu[@]}") >"$work/menu.log" 2>&1 &
fi
menu_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null |
         head -n1) || true
if [ -z "$window" ]; then
  kill -0 "$menu_pid" 2>/dev/null || fail "the menu ended before its window appeared"
  fail "no window titled \"$title\" appeared"
fi

# Quit: Exit_Box sits at 408,144 (89 x 25) in a 508 x 175 client area; scale by the real size.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((WIDTH * 452 / 508)) $((HEIGHT * 156 / 175)) click 1
if ! wait_for_end 5 "$menu_pid"; then  # the keyboard way: Tab from Launch to Quit
  xdotool windowfocus --sync "$window" key --window "$window" Tab space || true
  wait_for_end 5 "$menu_pid" || fail "the menu did not end on Quit"
fi
status=0
wait "$menu_pid" || status=$?
menu_pid=""
[ "$status" -eq 0 ] || fail "the menu ended with status $status"

after=$(listing)
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail "the medium changed"
fi
echo "PASS: nothing under the medium changed ($mount_note)"
