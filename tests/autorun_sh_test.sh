#!/bin/sh
# The demo medium's autorun.sh, run as desktops and people run it: it starts the menu program in the
# medium's root with the arguments given, also where the medium gives no execute permission (the
# bits cleared, or a mount with noexec) and where the medium's folder name ends in a newline; it
# says so when the program is missing. The menu program is stood in for by the start recorder,
# which writes down its folder and arguments.
# Usage: autorun_sh_test.sh SOURCE_DIR START_RECORDER
set -u
source_dir=$1
recorder=$2
work=$(mktemp -d)
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$mounted" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# make_medium DIR MODE: autorun.sh and the stand-in program with MODE.
make_medium() {
  mkdir -p "$1"
  cp "$source_dir/examples/autorun.sh" "$1/autorun.sh"
  cp "$recorder" "$1/tolvar-autorun"
  chmod "$2" "$1/tolvar-autorun"
}

# expect_start DIR LABEL: sh DIR/autorun.sh, from elsewhere, starts the program in DIR.
expect_start() {
  record="$work/record"
  rm -f "$record"
  (cd / && TOLVAR_START_RECORD="$record" sh "$1/autorun.sh" "one arg" two >"$work/out" 2>&1)
  status=$?
  if [ ! -f "$record" ]; then
    fail "$2: the program did not start (status $status): $(cat "$work/out")"
    return
  fi
  grep -qx "cwd=$(cd "$1" && pwd -P)" "$record" || fail "$2: not started in the medium's root: $(grep cwd= "$record")"
  grep -qx "arg=one arg" "$record" && grep -qx "arg=two" "$record" ||
    fail "$2: the arguments did not arrive: $(grep arg= "$record")"
}

make_medium "$work/plain" 755
expect_start "$work/plain" "with the execute bit"

make_medium "$work/bits" 644
expect_start "$work/bits" "without the execute bit"

# A folder whose name ends in a newline, beside one without it that holds another program.
newline_dir="$work/disc
"
make_medium "$newline_dir" 755
mkdir -p "$work/disc"
printf '#!/bin/sh\necho wrong program >&2\nexit 3\n' >"$work/disc/tolvar-autorun"
chmod 755 "$work/disc/tolvar-autorun"
expect_start "$newline_dir" "in a folder whose name ends in a newline"

# A medium mounted noexec: only a private copy can run.
if [ "$(id -u)" = 0 ] && mkdir -p "$work/noexec" && mount -t tmpfs -o noexec tmpfs "$work/noexec" 2>/dev/null; then
  mounted="$work/noexec"
  make_medium "$work/noexec/medium" 755
  expect_start "$work/noexec/medium" "on a noexec mount"
  grep -q "^exe=$work/noexec" "$work/record" 2>/dev/null && fail "noexec: ran from the medium itself"
  ls -d "${XDG_RUNTIME_DIR:-/tmp}"/tolvar-autorun.* >/dev/null 2>&1 &&
    fail "noexec: the private copy was left behind"
  # The runtime folder noexec too: the copy made there cannot run, and the next place is tried.
  mkdir -p "$work/noexec/runtime"
  saved_runtime=${XDG_RUNTIME_DIR-unset}
  export XDG_RUNTIME_DIR="$work/noexec/runtime"
  expect_start "$work/noexec/medium" "on a noexec mount with a noexec runtime folder"
  if [ "$saved_runtime" = unset ]; then unset XDG_RUNTIME_DIR; else XDG_RUNTIME_DIR=$saved_runtime; fi
  grep -q "^exe=$work/noexec" "$work/record" 2>/dev/null &&
    fail "noexec runtime: ran from a noexec folder"
  ls -d "$work/noexec/runtime"/tolvar-autorun.* /tmp/tolvar-autorun.* >/dev/null 2>&1 &&
    fail "noexec runtime: a private copy was left behind"
else
  echo "skipped: a noexec mount needs root and tmpfs"
fi

mkdir -p "$work/empty"
cp "$source_dir/examples/autorun.sh" "$work/empty/"
(cd / && sh "$work/empty/autorun.sh" >"$work/out" 2>&1)
status=$?
[ "$status" = 1 ] && grep -q "tolvar-autorun is missing" "$work/out" ||
  fail "a missing program: status $status, $(cat "$work/out")"

[ "$failures" = 0 ] || exit 1
echo "autorun.sh: all cases passed"
