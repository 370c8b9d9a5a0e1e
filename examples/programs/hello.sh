#!/bin/sh
# A demo program for the menu: says hello and shows where it was started, which is the medium's
# root, the directory the menu runs in.
here=$(dirname "$0")
exec "$here/show-message.sh" "Hello" "Hello from the demo medium.

Started by the menu in:
$(pwd)"
