#!/bin/sh
# Starts the menu of this medium. Desktops that follow the freedesktop autostart convention for
# removable media offer to run this file when the medium is mounted; it can be run by hand too, as
# "sh autorun.sh" where the medium gives no execute permission. The menu finds everything relative
# to the medium's root, so it runs there.

# The folder is cut from $0 by the shell itself: a command substitution would strip a folder name's
# trailing newlines and change into a sibling folder.
case $0 in
  */*) cd -- "${0%/*}/" || exit 1 ;;
esac

program=./tolvar-autorun
say() { printf 'autorun.sh: %s\n' "$*" >&2; }

if [ ! -f "$program" ]; then
  say "tolvar-autorun is missing: copy the built program beside this script."
  exit 1
fi
if [ -x "$program" ]; then
  exec "$program" "$@"
fi

# No execute permission: a FAT stick mounted with "showexec", an ISO image without Rock Ridge
# ("mode=0400"), or a medium mounted "noexec". First through the dynamic loader, which needs only
# read permission; then, where the mount forbids even that, from a private copy.
machine=$(od -An -tx1 -j18 -N2 "$program" 2>/dev/null | tr -d ' \n')
case $machine in
  3e00) loaders="/lib64/ld-linux-x86-64.so.2 /lib/x86_64-linux-gnu/ld-linux-x86-64.so.2" ;;
  0300) loaders="/lib/ld-linux.so.2 /lib/i386-linux-gnu/ld-linux.so.2" ;;
  b700) loaders="/lib/ld-linux-aarch64.so.1 /lib/aarch64-linux-gnu/ld-linux-aarch64.so.1" ;;
  *) loaders="" ;;
esac
for loader in $loaders; do
  if [ -x "$loader" ] && "$loader" --verify "$program" >/dev/null 2>&1; then
    # --verify maps nothing; only a real start shows whether the mount lets the loader map it.
    if "$loader" --list "$program" >/dev/null 2>&1; then
      exec "$loader" "$program" "$@"
    fi
  fi
done

# The private copy goes where programs may run: the runtime folder, the temporary folder or the
# user's cache may each be mounted noexec too, and a copy there is made but cannot start.
copied=""
for place in "${XDG_RUNTIME_DIR:-}" "${TMPDIR:-/tmp}" /tmp /var/tmp /dev/shm \
  "${HOME:+$HOME/.cache}"; do
  [ -n "$place" ] && [ -d "$place" ] || continue
  copy_dir=$(mktemp -d "$place/tolvar-autorun.XXXXXX" 2>/dev/null) || continue
  if cp "$program" "$copy_dir/tolvar-autorun" 2>/dev/null && chmod 700 "$copy_dir/tolvar-autorun"
  then
    copied=yes
    # access() says no to a program on a noexec mount, as the start would.
    if [ -x "$copy_dir/tolvar-autorun" ]; then
      # The copy goes once the menu ends; the menu runs in the medium's root as always.
      "$copy_dir/tolvar-autorun" "$@"
      status=$?
      rm -rf -- "$copy_dir"
      exit $status
    fi
  fi
  rm -rf -- "$copy_dir"
done
if [ -n "$copied" ]; then
  why="no folder where a private copy was made lets programs run (each is mounted noexec)"
else
  why="no private copy could be made"
fi
say "tolvar-autorun cannot be started: the medium gives it no execute permission, the system's" \
  "program loader cannot start it from there, and $why."
exit 126
