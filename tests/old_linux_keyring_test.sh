#!/bin/sh
# packaging/old_linux/build.sh and the Debian root's signature: debootstrap is handed the archive
# keyring, and a run whose Release signature could not be checked stops before anything is built
# from the root. A stand-in debootstrap on PATH plays the host without a usable key; nothing is
# downloaded. Usage: old_linux_keyring_test.sh SOURCE_DIR
set -eu
source_dir=$1
[ "$(id -u)" -eq 0 ] || { echo "skipped: build.sh runs as root only"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# What debootstrap does on a host that has no key for the mirror: it warns, and succeeds.
cat >"$work/bin/debootstrap" <<'STUB'
#!/bin/sh
echo "$@" >"$STUB_ARGS"
eval "target=\${$(($# - 1))}"  # the last but one argument; the mirror is last
mkdir -p "$target/usr/bin"
printf '#!/bin/sh\n' >"$target/usr/bin/apt-get"
chmod +x "$target/usr/bin/apt-get"
echo "I: Retrieving InRelease"
echo "W: Cannot check Release signature; keyring file not available /usr/share/keyrings/x.gpg"
exit 0
STUB
chmod +x "$work/bin/debootstrap"
printf 'fake key\n' >"$work/keyring.gpg"

run_build() {
  STUB_ARGS=$work/args PATH="$work/bin:$PATH" TOLVAR_DEBIAN_MIRROR=http://mirror.invalid/debian \
    "$@" sh -c '"$0" "$1" "$2"' "$source_dir/packaging/old_linux/build.sh" \
    "$work/root" "$work/out" >"$work/out.log" 2>&1
}

# The signature could not be checked: no root, nothing built, and a message that says why.
if run_build env TOLVAR_DEBIAN_KEYRING="$work/keyring.gpg"; then
  fail "build.sh went on from a root whose signature was not checked"
fi
grep -q -e "--keyring=$work/keyring.gpg" "$work/args" || fail "debootstrap got no --keyring: $(cat "$work/args")"
grep -q "could not check the signature" "$work/out.log" || fail "no clear message: $(cat "$work/out.log")"
[ ! -e "$work/root" ] && [ ! -e "$work/root.partial" ] || fail "the unverified root was left behind"
[ ! -e "$work/out" ] || fail "programs were built"

# No keyring at all: stop before debootstrap runs, and name the package.
rm -f "$work/args"
if run_build env TOLVAR_DEBIAN_KEYRING="$work/missing.gpg"; then
  fail "build.sh went on without a keyring"
fi
[ ! -e "$work/args" ] || fail "debootstrap ran without a keyring"
grep -q "install debian-archive-keyring" "$work/out.log" || fail "no advice: $(cat "$work/out.log")"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
