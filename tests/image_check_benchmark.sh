#!/bin/sh
# Benchmark of tolvar-menu-check --image: the demo medium, a medium of 32766 entries, each its own
# file in one folder, an image of 990,990 entries, and images that cost a careless reader dearly (a
# compressed file behind many links, entries through a deep link), mastered with xorriso (Rock Ridge
# and Joliet). Prints figures; judges nothing. Usage: image_check_benchmark.sh CHECKER SOURCE_DIR
set -eu
checker=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-image-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

seconds() {  # the checker's wall time on image $1, best of three
  python3 - "$checker" "$1" <<'PY'
import subprocess, sys, time
best = None
for _ in range(3):
    start = time.perf_counter()
    subprocess.run([sys.argv[1], "--image", sys.argv[2]], stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)
print("%.3f" % best)
PY
}

mkdir -p "$work/demo"
cp -R "$source_dir/examples/." "$work/demo/"
xorriso -as mkisofs -R -J -o "$work/demo.iso" "$work/demo" >/dev/null 2>&1
echo "image check, demo medium: $(seconds "$work/demo.iso") s"

mkdir -p "$work/large/menu" "$work/large/programs"
python3 - "$work/large" <<'PY'
import os, sys
root = sys.argv[1]
lines = ["Large", "$null$", "32766"]
for i in range(1, 32767):
    name = "program-%05d.exe" % i
    open(os.path.join(root, "programs", name), "wb").close()
    lines += ["Entry %d" % i, "programs\\" + name]
open(os.path.join(root, "menu", "config.mnu"), "w").write("\r\n".join(lines) + "\r\n")
PY
xorriso -as mkisofs -R -J -o "$work/large.iso" "$work/large" >/dev/null 2>&1
echo "image check, 32766 entries and files: $(seconds "$work/large.iso") s"

# An image of 990,990 entries (990 folders of the same 1000 empty files, each mapped by xorriso
# without 990,990 files on the disk): the checker's time and peak memory near the entry limit.
mkdir -p "$work/many/files" "$work/many/root/menu"
python3 - "$work/many" <<'PY'
import os, sys
for i in range(1000):
    open(os.path.join(sys.argv[1], "files", "file-%04d.txt" % i), "wb").close()
open(os.path.join(sys.argv[1], "root", "menu", "config.mnu"), "w").write(
    "Many\r\n$null$\r\n1\r\nQuit\r\n$exit$\r\n")
PY
maps=""
for i in $(seq -w 0 989); do maps="$maps -map $work/many/files /d$i"; done
# shellcheck disable=SC2086 # one word per option
xorriso -outdev "$work/many.iso" -joliet on -map "$work/many/root" / $maps >/dev/null 2>&1
rm -rf "$work/many"
python3 - "$checker" "$work/many.iso" <<'PY'
import resource, subprocess, sys, time
start = time.perf_counter()
subprocess.run([sys.argv[1], "--image", sys.argv[2]], stdout=subprocess.DEVNULL)
elapsed = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("image check, 990,990 entries: %.1f s, %.0f MB at most" % (elapsed, peak))
PY

# A folder check whose picture path climbs in and out of one folder 400 times (800 parts), in a
# root of 20,000 files: each folder is to be listed once, however often a path passes through it.
mkdir -p "$work/climb/menu" "$work/climb/X"
python3 - "$work/climb" <<'PY'
import os, sys
root = sys.argv[1]
for i in range(20000):
    open(os.path.join(root, "file-%05d.txt" % i), "wb").close()
picture = "X\\..\\" * 400 + "splash.bmp"
open(os.path.join(root, "menu", "config.mnu"), "w").write(
    "Climb\r\n" + picture + "\r\n1\r\nQuit\r\n$exit$\r\n")
PY
python3 - "$checker" "$work/climb" <<'PY'
import resource, subprocess, sys, time
start = time.perf_counter()
subprocess.run([sys.argv[1], sys.argv[2]], stdout=subprocess.DEVNULL)
elapsed = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("folder check, a picture path of 800 parts in 20,000 files: %.1f s, %.0f MB at most" %
      (elapsed, peak))
PY

# What one run of the checker costs on $1, as "S s, U s processor, M MB at most".
cost() {
  python3 - "$checker" "$1" <<'PY'
import resource, subprocess, sys, time
start = time.perf_counter()
subprocess.run([sys.argv[1], "--image", sys.argv[2]], stdout=subprocess.DEVNULL)
elapsed = time.perf_counter() - start
used = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.1f s, %.1f s processor, %.0f MB at most" % (elapsed, used.ru_utime + used.ru_stime,
                                                      used.ru_maxrss / 1024))
PY
}

# A zisofs-compressed text of 256 MiB that 16 language files link to, in an image of 1.5 MB: the
# file is to be read and checked once. Its source is made in memory where the system offers it.
scratch=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tolvar-bench-XXXXXX")
mkdir -p "$scratch/menu"
printf 'Big\r\n$null$\r\n1\r\nQuit\r\n$exit$\r\n' >"$scratch/menu/config.mnu"
python3 - "$scratch/big.txt" <<'PY'
import sys
line = b"' " + b"x" * 60 + b"\r\n"
with open(sys.argv[1], "wb") as big:
    for _ in range((256 << 20) // (len(line) << 14)):
        big.write(line * (1 << 14))
PY
for tag in de en fr es it nl pt sv da fi nb pl cs hu ro el; do
  ln -s ../big.txt "$scratch/menu/config.$tag.mnu"
done
xorriso -outdev "$work/compressed.iso" -joliet on -map "$scratch" / \
  -set_filter_r --zisofs /big.txt -- >/dev/null 2>&1
rm -rf "$scratch"
echo "image check, 256 MiB compressed behind 16 language links: $(cost "$work/compressed.iso")"

# 4,000 programs without the execute bit reached through a link 8 folders deep, and 16 language
# files that link to config.mnu: each path is to be resolved, and each file checked, once.
mkdir -p "$work/deep/menu" "$work/deep/real" "$work/deep/a/b/c/d/e/f/g/h"
ln -s ../../../../../../../../real "$work/deep/a/b/c/d/e/f/g/h/link"
python3 - "$work/deep" <<'PY'
import os, sys
root = sys.argv[1]
lines = ["Deep", "$null$", "4000"]
for i in range(4000):
    name = "prog-%04d.sh" % i
    with open(os.path.join(root, "real", name), "w") as program:
        program.write("#!/bin/sh\n")
    lines += ["Entry %d" % i, "a\\b\\c\\d\\e\\f\\g\\h\\link\\" + name]
with open(os.path.join(root, "menu", "config.mnu"), "w") as menu:
    menu.write("\r\n".join(lines) + "\r\n")
for tag in "de en fr es it nl pt sv da fi nb pl cs hu ro el".split():
    os.symlink("config.mnu", os.path.join(root, "menu", "config.%s.mnu" % tag))
PY
xorriso -as mkisofs -R -J -o "$work/deep.iso" "$work/deep" >/dev/null 2>&1
rm -rf "$work/deep"
echo "image check, 4,000 entries through a deep link, 16 language links: $(cost "$work/deep.iso")"
