#!/bin/sh
# Creates the Wine prefix the Windows tests run in, once per build tree, without the Mono and Gecko
# installers (nothing here needs them), and waits until Wine has finished setting it up. The prefix
# is 32-bit unless WINEARCH says otherwise (win64, for the 64-bit build where 32-bit Wine is missing).
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEARCH="${WINEARCH:-win32}" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# A server left by an interrupted run (the benchmark keeps one alive on purpose) would make the wait
# at the end last for ever, and holds a desktop on a display that is gone.
wineserver -k 2>/dev/null || true
if [ ! -f "$prefix/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
fi
# Unmanaged top-level windows: the tests run without a window manager, and a managed window then
# costs seconds at every close while Wine waits for one.
if ! grep -q '"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
fi
# The tests expect 96 DPI; one that changes it puts it back, and this heals a run that was cut short.
if awk '/^\[/ { desktop = ($0 ~ /^\[Control Panel\\\\Desktop\]/) } desktop && /"LogPixels"/ { found = 1 }
        END { exit !found }' "$prefix/user.reg"; then
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
fi
# The link test points https links at a stand-in browser on its medium and puts Wine's own back; this
# heals a run that was cut short.
if grep -q 'tolvar-e2e-.*browser\.exe' "$prefix/system.reg" 2>/dev/null; then
  wine reg add 'HKLM\Software\Classes\https\shell\open\command' /ve \
    /d '"C:\windows\system32\winebrowser.exe" "%1"' /f >/dev/null 2>&1
fi
# The '#show-if: tests set the Windows version Wine reports and make a registry key, and put both
# back; this heals a run that was cut short.
if awk '/^\[/ { wine = ($0 ~ /^\[Software\\\\Wine\]/) } wine && /^"Version"=/ { found = 1 }
        END { exit !found }' "$prefix/user.reg"; then
  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
fi
if grep -q 'Tolvar Show-If Test' "$prefix/system.reg" 2>/dev/null; then
  wine reg delete 'HKLM\Software\Tolvar Show-If Test' /f >/dev/null 2>&1
fi
wineserver --wait
