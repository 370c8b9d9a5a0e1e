#!/bin/sh
# A demo "installer" for the menu: pretends to install for a few seconds and says so. It installs
# nothing. The menu stays open meanwhile, and can start it again.
here=$(dirname "$0")
sleep 2
exec "$here/show-message.sh" "Demo setup" "The demo product is installed. (Not really: this is a demo.)"
