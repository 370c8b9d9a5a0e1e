#!/usr/bin/env python3
"""Start-up benchmark of tolvar-autorun.exe under Wine in a private Xvfb: the time from starting the
process to its window being mapped, as the median of several runs after a warm-up, against an empty
window built the same way (the floor). Prints figures; judges nothing.

Usage: tests/startup_benchmark.py [--build build/windows] [--runs 11]
(build the windows preset first; the Wine prefix is the build tree's, made as the tests make it)
"""
import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from desktop import MapWatcher, PrivateDesktop  # noqa: E402


def picture_bmp(width, height):
    """A 24-bit BMP with a colour gradient: a picture of the size a medium's author would use."""
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes((x * 255 // width, y * 255 // height, 128))
        pixels += row + bytes(row_bytes - width * 3)
    header = struct.pack("<2sIII", b"BM", 54 + len(pixels), 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + pixels


def make_medium(root, title, entries, picture):
    os.makedirs(os.path.join(root, "menu"))
    splash = "$null$"
    if picture:
        with open(os.path.join(root, "menu", "splash.bmp"), "wb") as f:
            f.write(picture_bmp(640, 160))
        splash = "menu\\splash.bmp"
    lines = [title, splash, str(entries)]
    for i in range(1, entries + 1):
        lines += [f"Entry number {i}", f"setup\\program{i}.exe"]
    with open(os.path.join(root, "menu", "config.mnu"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def time_start(desktop, watcher, exe, cwd, title):
    """Seconds from starting `exe` to the mapping of its window titled `title`; closes it again."""
    started = time.monotonic()
    program = desktop.start_windows_program(exe, cwd)
    shown, window = watcher.wait_for_map(title)
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window), "key", "alt+F4"],
                   env=desktop.env, stderr=subprocess.DEVNULL)
    try:
        program.wait(20)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()
    # Wine finishes tearing the process down after it has ended; the next start should not pay.
    time.sleep(0.3)
    return shown - started


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/windows")
    parser.add_argument("--runs", type=int, default=11)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    menu = os.path.join(build, "menu_window", "win32", "tolvar-autorun.exe")
    floor = os.path.join(build, "tests", "tolvar_empty_window.exe")
    prefix = os.path.join(build, "wineprefix")
    here = os.path.dirname(os.path.abspath(__file__))
    subprocess.run([os.path.join(here, "wine_prefix.sh"), prefix], check=True)

    scratch = tempfile.mkdtemp(prefix="tolvar-bench-")
    cases = [("empty window (floor)", floor, scratch, "Empty_Window")]
    for name, entries, picture in (("3 entries", 3, False),
                                   ("3 entries, picture", 3, True),
                                   ("32766 entries", 32766, False),
                                   ("32766 entries, picture", 32766, True)):
        root = os.path.join(scratch, str(len(cases)))
        title = f"Benchmark {len(cases)}"
        make_medium(root, title, entries, picture)
        cases.append((name, menu, root, title))

    desktop = PrivateDesktop(wine_prefix=prefix)
    desktop.start()
    # One server for all runs, as on a desktop where Windows is already up.
    subprocess.run(["wineserver", "-p"], env=desktop.env, check=True)
    watcher = MapWatcher(desktop.display)
    results = {name: [] for name, _, _, _ in cases}
    try:
        for name, exe, cwd, title in cases:
            time_start(desktop, watcher, exe, cwd, title)  # warm-up: disk cache, Wine's DLLs
        # Round after round through all cases, so that the load of other work on the machine
        # falls on every case alike.
        for _ in range(args.runs):
            for name, exe, cwd, title in cases:
                results[name].append(time_start(desktop, watcher, exe, cwd, title))
    finally:
        watcher.close()
        desktop.stop()
        shutil.rmtree(scratch, ignore_errors=True)

    base = statistics.median(results[cases[0][0]])
    print(f"start to window shown under Wine {subprocess.run(['wine', '--version'], capture_output=True, text=True).stdout.strip()}, "
          f"median of {args.runs} runs after a warm-up")
    print(f"{'case':<26}{'median ms':>10}{'min':>8}{'max':>8}{'x floor':>9}")
    for name, times in results.items():
        median = statistics.median(times)
        print(f"{name:<26}{median * 1000:>10.0f}{min(times) * 1000:>8.0f}"
              f"{max(times) * 1000:>8.0f}{median / base:>9.2f}")
    print("goals: 3 entries with a picture within 1.3 x floor; 32766 entries with a picture "
          "within 2.0 x floor")


if __name__ == "__main__":
    main()
