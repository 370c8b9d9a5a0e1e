"""Start-up benchmark of the Linux window, in a private Xvfb: the time from process start to the
window drawn (median of several runs after a warm-up, the runs of all programs interleaved so that
they share the machine's noise), peak memory, and the first opening of the drop-down list with
32766 entries, against two floors built the same way: an empty GTK 3 window, and the menu's own
widgets with the picture and the 3 entries' captions in plain GTK 3 with no menu logic (which, unlike
the empty window, pays for fonts). Prints figures and the goals beside them; judges nothing.

Usage: startup_benchmark.py [BUILD_DIR] [RUNS]   (default build/native, 11)"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "support")]
from desktop import PrivateDesktop  # noqa: E402
from window_e2e_test import quartered_bmp  # noqa: E402

WARM_UP = 2


def write_medium(root, entries):
    """Writes a medium with `entries` entries; returns the widget floor's arguments for it: the
    title, the picture and the list's captions, the prompt first, as the menu shows them."""
    os.makedirs(os.path.join(root, "menu"))
    with open(os.path.join(root, "menu", "splash.bmp"), "wb") as file:
        file.write(quartered_bmp(489, 121))
    captions = ["Entry number %d" % i for i in range(1, entries + 1)]
    lines = ["Benchmark", "menu\\splash.bmp", str(entries)]
    for i, caption in enumerate(captions, 1):
        lines += [caption, "programs\\program-%d" % i]
    with open(os.path.join(root, "menu", "config.mnu"), "w", newline="") as file:
        file.write("\r\n".join(lines) + "\r\n")
    return ["Benchmark", os.path.join("menu", "splash.bmp"), "Please Select..."] + captions


def measure(desktop, probe, program, cwd, open_list=False):
    args = [probe] + (["--open-list"] if open_list else []) + program
    result = subprocess.run(args, cwd=cwd, env=desktop.env, capture_output=True, text=True,
                            timeout=60)
    if result.returncode != 0:
        raise RuntimeError("probe failed: " + result.stderr.strip())
    return {key: float(value) for key, value in re.findall(r"(\w+)=([\d.]+)", result.stdout)}


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/native")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    probe = os.path.join(build, "tests", "gtk", "window_timing_probe")
    empty = os.path.join(build, "tests", "gtk", "empty_gtk_window")
    widgets = os.path.join(build, "tests", "gtk", "widgets_gtk_window")
    menu = os.path.join(build, "menu_window", "gtk", "tolvar-autorun")
    scratch = tempfile.mkdtemp(prefix="tolvar-bench-")
    try:
        small, large = os.path.join(scratch, "small"), os.path.join(scratch, "large")
        widgets_args = write_medium(small, 3)
        write_medium(large, 32766)
        cases = [("empty window", [empty], scratch, False),
                 ("widgets", [widgets] + widgets_args, small, False),
                 ("3 entries", [menu], small, False), ("32766 entries", [menu], large, True)]
        samples = {name: [] for name, *_ in cases}
        with PrivateDesktop() as desktop:
            for run in range(WARM_UP + runs):
                for name, program, cwd, open_list in cases:
                    figures = measure(desktop, probe, program, cwd, open_list)
                    if run >= WARM_UP:
                        samples[name].append(figures)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    median = lambda name, key: statistics.median(s[key] for s in samples[name])
    empty_ms, widgets_ms = median("empty window", "drawn_ms"), median("widgets", "drawn_ms")
    print("Linux window start-up, median of %d runs after %d warm-up runs, in a private Xvfb"
          % (runs, WARM_UP))
    print("floors: \"empty window\", an empty GTK 3 window; \"widgets\", the menu's widgets, picture "
          "and 3 entries' captions in plain GTK 3, no menu logic")
    print("%-15s %10s %9s %10s %12s" % ("", "drawn (ms)", "x empty", "x widgets", "peak (MB)"))
    for name, *_ in cases:
        drawn = median(name, "drawn_ms")
        print("%-15s %10.1f %9.2f %10.2f %12.1f" % (name, drawn, drawn / empty_ms,
                                                    drawn / widgets_ms,
                                                    median(name, "peak_kb") / 1024))
    print("32766 entries: a letter typed in the closed list, searching it whole, to the window "
          "drawn again %.1f ms" % median("32766 entries", "letter_ms"))
    print("32766 entries: first opening of the list %.1f ms; peak memory after it %.1f MB"
          % (median("32766 entries", "list_ms"), median("32766 entries", "list_peak_kb") / 1024))
    print("goals: 3 entries within 1.25 x the empty window; 32766 entries within 1.5 x the empty "
          "window (both with a picture); letter under 20 ms, list opening under 50 ms, peak "
          "memory under 40 MB")


if __name__ == "__main__":
    main()
