#!/bin/sh
# Creates the Wine prefix the Windows tests run in, once per build tree, without the Mono and Gecko
# installers (nothing here needs them), and waits until Wine has finished setting it up.
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ ! -f "$prefix/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
fi
wineserver --wait
