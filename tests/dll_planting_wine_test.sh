#!/bin/sh
# A gdiplus.dll planted beside tolvar-autorun.exe and tolvar-menu-check.exe on a medium, with Wine
# told to prefer such native DLLs: it is never loaded, and both programs ask the Windows loader to
# take the DLLs they import from the system directory only. (Wine 8's loader ignores that request
# for the DLLs its own system DLLs import, such as user32's version.dll, so only what the programs
# load themselves can be tested here; load_config_test.py reads the request from the files.)
# Usage: dll_planting_wine_test.sh MENU_EXE CHECKER_EXE PLANTED_DLL
set -eu
menu=$1
checker=$2
planted=$3
medium=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-planted-XXXXXX")
trap 'rm -rf "$medium"' EXIT

cp "$menu" "$checker" "$medium/"
cp "$planted" "$medium/gdiplus.dll"
mkdir -p "$medium/menu"
# A picture, so that both programs load GDI+.
printf 'BM\072\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\001\0\0\0\001\0\0\0\001\0\030\0\0\0\0\0\004\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\040\100\200\0' \
  >"$medium/menu/splash.bmp"
printf '%s\r\n' "Planted" 'menu\splash.bmp' 1 Leave '$exit$' >"$medium/menu/config.mnu"

export TOLVAR_PLANT_MARK="$(winepath -w "$medium/mark.txt" 2>/dev/null)"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}gdiplus=n,b"
cd "$medium"
status=0
wine ./tolvar-menu-check.exe >"$medium/out" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$medium/out" >&2; echo "FAIL: the checker exits $status" >&2; exit 1; }
# Without a display the menu cannot make its window, but it has started and loaded its DLLs.
env -u DISPLAY -u WAYLAND_DISPLAY wine ./tolvar-autorun.exe >"$medium/menu_out" 2>&1 || true
if [ -e "$medium/mark.txt" ]; then
  echo "FAIL: a planted DLL was loaded:" >&2
  iconv -f UTF-16LE -t UTF-8 "$medium/mark.txt" >&2 || cat "$medium/mark.txt" >&2
  exit 1
fi
echo "ok"
