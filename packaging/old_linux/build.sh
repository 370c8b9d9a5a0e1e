#!/usr/bin/env bash
# Builds the Linux programs that go onto media, so that they run on the oldest desktops we support
# (glibc 2.31, GTK 3.24.24: Debian 11, Ubuntu 20.04 and everything later). A program links against
# the C library of the system it is built on and then needs at least that version, so it is built in
# a Debian 11 root with Debian 11's compiler and libraries; the C++ runtime is linked in, so that only
# glibc and GTK's own libraries are needed at run time.
#
# Usage: build.sh ROOT OUT
#   ROOT  where the Debian 11 root is made, or reused when a complete one is there
#   OUT   where tolvar-autorun and tolvar-menu-check are left
# Needs root (debootstrap, chroot) and the network the first time. TOLVAR_DEBIAN_MIRROR overrides
# the mirror, which is otherwise the one this machine's apt uses. The root's Release file is checked
# against Debian's archive keys (the package debian-archive-keyring; TOLVAR_DEBIAN_KEYRING names
# another keyring file): a root whose signature cannot be checked is never built from, since the
# programs that go onto media are made in it. SOURCE_DATE_EPOCH reaches the build.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 ROOT OUT" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root=$(realpath -m "$1")
out=$(realpath -m "$2")
say() { printf 'old_linux/build.sh: %s\n' "$*" >&2; }

# What the build needs, and what the release test runs the menu with inside the root (xmessage,
# which the demo medium's programs show their messages with).
packages=(g++ cmake ninja-build pkg-config python3 libgtk-3-dev libfontconfig-dev
          libgdk-pixbuf-2.0-dev libarchive-dev x11-utils)
# Written last, once the root holds all of the above: a root without it is made again.
marker=.tolvar-build-root
# Written once debootstrap has checked the root's Release signature: a root without it (one made
# before the check, or by hand) is made again.
verified=.tolvar-release-verified
keyring=${TOLVAR_DEBIAN_KEYRING:-/usr/share/keyrings/debian-archive-keyring.gpg}

if [ "$(id -u)" -ne 0 ]; then
  say "needs root, for debootstrap and chroot"
  exit 1
fi

# The first Debian mirror this machine's apt uses (one-line or deb822 sources), not its security one.
host_mirror() {
  local files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  cat "${files[@]}" 2>/dev/null |
    sed -n -e 's/^deb \(\[[^]]*\] \)\{0,1\}\([a-z]*:\/\/[^ ]*\).*/\2/p' \
           -e 's/^URIs: *\([a-z]*:\/\/[^ ]*\).*/\1/p' |
    grep -v -e security -e '^file:' | head -n1 || true  # none found: the caller's default
}

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 HOME=/root \
    DEBIAN_FRONTEND=noninteractive ${SOURCE_DATE_EPOCH:+SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH} "$@"
}

# Removes a root, first unmounting what an interrupted debootstrap left mounted in it (/proc, /sys):
# rm never crosses into another file system.
remove_root() {  # directory
  local mount_point
  awk -v top="$1" '$2 == top || index($2, top "/") == 1 { print $2 }' /proc/self/mounts | sort -r |
    while read -r mount_point; do umount -l -- "$mount_point"; done
  rm -rf --one-file-system -- "$1"
}

make_root() {
  local mirror partial=$root.partial
  mirror=${TOLVAR_DEBIAN_MIRROR:-$(host_mirror)}
  mirror=${mirror:-http://deb.debian.org/debian}
  if [ ! -r "$keyring" ]; then
    say "no Debian archive keyring at $keyring, so the root's packages could not be verified:" \
        "install debian-archive-keyring (or name a keyring in TOLVAR_DEBIAN_KEYRING)"
    return 1
  fi
  say "making a Debian 11 root in $root from $mirror (a few minutes, once)"
  # A root left half made by an earlier run is made again: debootstrap cannot resume one. Its log
  # goes beside it, in a folder a fresh checkout does not have yet.
  remove_root "$partial"
  mkdir -p -- "$(dirname -- "$partial")"
  if ! debootstrap --keyring="$keyring" --variant=minbase bullseye "$partial" "$mirror" \
       >"$partial.log" 2>&1; then
    say "debootstrap failed; its last lines (all of them in $partial.log):"
    tail -n 5 "$partial.log" >&2
    return 1
  fi
  # Without a key it can use, debootstrap only warns and goes on with packages nobody checked.
  if grep -q -i -e 'Cannot check Release signature' -e 'NO_PUBKEY' -e 'BADSIG' "$partial.log"; then
    say "debootstrap could not check the signature of $mirror's Release file with $keyring," \
        "so nothing in the root is verified; not building from it (see $partial.log)"
    remove_root "$partial"
    return 1
  fi
  touch "$partial/$verified"
  remove_root "$root"
  mv -- "$partial" "$root"
}

install_packages() {
  local wanted="${packages[*]}"
  [ "$(cat "$root/$marker" 2>/dev/null)" = "$wanted" ] && return 0
  local log=$root.apt.log
  say "installing the build packages in the root"
  rm -f -- "$root/$marker"
  # apt's chatter inside a root with no /dev/pts or init goes to a log, shown when apt fails.
  if ! { in_root apt-get update -qq && in_root apt-get install -y -qq --no-install-recommends \
           "${packages[@]}"; } >"$log" 2>&1; then
    say "apt-get failed in the root; its last lines (all of them in $log):"
    tail -n 5 "$log" >&2
    return 1
  fi
  echo "$wanted" >"$root/$marker"
}

if [ ! -f "$root/$verified" ]; then
  make_root
elif [ ! -f "$root/$marker" ]; then
  [ -x "$root/usr/bin/apt-get" ] || make_root
fi
install_packages

# The sources at a fixed path in the root, so that the build leaves the same paths in the programs
# whichever checkout it comes from; the build tree there is reused from one run to the next.
rm -rf -- "$root/tolvar/src"
mkdir -p "$root/tolvar/src" "$root/tolvar/build"
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -cf - . |
  tar -C "$root/tolvar/src" -xf -

# Debian 11 has CMake 3.18, older than the presets need: the release preset's options, spelled out.
in_root cmake -S /tolvar/src -B /tolvar/build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF -DTOLVAR_SMALL=ON -DTOLVAR_REPRODUCIBLE=ON -DTOLVAR_WERROR=ON \
  "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -static-libgcc" >/dev/null
in_root cmake --build /tolvar/build -j2 --target tolvar-autorun tolvar-menu-check

mkdir -p "$out"
cp -- "$root/tolvar/build/menu_window/gtk/tolvar-autorun" "$root/tolvar/build/menu_check/tolvar-menu-check" \
  "$out"/
say "built in the Debian 11 root: $out/tolvar-autorun, $out/tolvar-menu-check"
