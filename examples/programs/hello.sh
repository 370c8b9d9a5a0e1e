#!/bin/sh
# A demo program for the menu: says hello and shows where it was started, which is the medium's
# root, the directory the menu runs in. The message script is run through sh, so that the demo
# works where the medium keeps no execute bits (a FAT32 stick, an image without Rock Ridge).
here=$(dirname "$0")
exec sh "$here/show-message.sh" "Hello" "Hello from the demo medium.

Started by the menu in:
$(pwd)"
