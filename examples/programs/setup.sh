#!/bin/sh
# A demo "installer" for the menu: pretends to install for a few seconds and says so. It installs
# nothing. The menu file gives it its arguments: --quiet, and the product's name as one word.
here=$(dirname "$0")
product="the demo product"
for argument in "$@"; do
  case $argument in
    --*) ;;
    *) product=$argument ;;
  esac
done
sleep 2
exec sh "$here/show-message.sh" "Demo setup" "$product is installed. (Not really: this is a demo.)"
