#!/bin/sh
# The Windows console build of tolvar-menu-check, run under Wine on one medium: its lines (with
# Windows separators), its summary and its exit status. Usage: menu_check_wine_test.sh EXE
set -eu
exe=$1
medium=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-check-wine-XXXXXX")
trap 'rm -rf "$medium"' EXIT

mkdir -p "$medium/menu" "$medium/Setup"
printf 'MZ' >"$medium/Setup/Setup.exe"
printf 'not a picture' >"$medium/menu/splash.bmp"
printf 'x' >"$medium/Setup/aux.txt"
printf '%s\r\n' "Demo" 'menu\splash.bmp' 3 Install 'setup\setup.exe' Gone 'missing.exe' \
  Leave '$exit$' >"$medium/menu/config.mnu"

cd "$medium"
status=0
wine "$exe" >"$medium/out" 2>"$medium/err" || status=$?
tr -d '\r' <"$medium/out" >"$medium/lines"
fail() {
  echo "FAIL: $*" >&2
  cat "$medium/lines" "$medium/err" >&2
  exit 1
}
[ "$status" -eq 2 ] || fail "exit status $status, expected 2"
grep -qx 'menu\\config.mnu:2: error: the splash picture "menu\\splash.bmp" cannot be shown: it is not a picture .*' \
  "$medium/lines" || fail "no picture error"
# Windows finds the file whatever its case, and so does Linux; the checker still points it out.
grep -qxF 'menu\config.mnu:5: warning: entry 1: the file is spelled "Setup\Setup.exe" on the medium: Launch finds "setup\setup.exe" on Windows and Linux only because letter case is ignored' \
  "$medium/lines" || fail "no case warning"
grep -qxF 'menu\config.mnu:7: warning: entry 2: Launch says "Can'"'"'t find file!!": there is no file "missing.exe" on the medium' \
  "$medium/lines" || fail "no missing-file warning"
# Nothing on the medium starts the menu: a note, which counts for nothing.
grep -qx '\.: note: nothing starts the menu when the medium comes in: .*' "$medium/lines" ||
  fail "no note on what starts the menu"
# Another file of the medium is named with the same separator as the menu file.
grep -q '^Setup\\aux.txt: warning: Windows cannot use this name: it is the name of a device' \
  "$medium/lines" || fail "no word on the device name, or not with a backslash"
! cut -d: -f1 "$medium/lines" | grep -q / || fail "a path with a forward slash"
grep -qxF 'menu\config.mnu: 3 entries, 1 error, 3 warnings' "$medium/lines" || fail "no summary"
[ "$(wc -l <"$medium/lines")" -eq 6 ] || fail "other lines than the findings, the note and the summary"
echo "ok"
