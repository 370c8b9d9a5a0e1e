#!/bin/sh
# Starts the menu of this medium. Desktops that follow the freedesktop autostart convention for
# removable media offer to run this file when the medium is mounted; it can be run by hand too.
# The menu finds everything relative to the medium's root, so it runs there.
cd "$(dirname "$0")" || exit 1
if [ -x ./tolvar-autorun ]; then
  exec ./tolvar-autorun
fi
echo "autorun.sh: tolvar-autorun is missing: copy the built program beside this script." >&2
exit 1
