#!/bin/sh
# Shows a message in a small window with whatever dialog tool the desktop has, or on the terminal
# when it has none. Usage: show-message.sh TITLE TEXT. The demo programs use it.
title=$1
text=$2
if command -v zenity >/dev/null 2>&1; then
  exec zenity --info --title="$title" --text="$text"
elif command -v kdialog >/dev/null 2>&1; then
  exec kdialog --title "$title" --msgbox "$text"
elif command -v xmessage >/dev/null 2>&1; then
  exec xmessage -center -title "$title" "$text"
else
  printf '%s: %s\n' "$title" "$text"
fi
