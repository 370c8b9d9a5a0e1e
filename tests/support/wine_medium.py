"""What the end-to-end tests of tolvar-autorun.exe under Wine share: a medium of their own in a
temporary directory, the program started on it in a private Xvfb, and what they read back (the
window's controls through tests/support/window_controls.cc, the starts through
tests/support/start_recorder.cc, the picture on the screen).

Set TOLVAR_EXE (the menu), TOLVAR_RECORDER, TOLVAR_WINDOW_CONTROLS and WINEPREFIX.
"""
import contextlib
import json
import os
import shutil
import struct
import subprocess
import tempfile
import unittest

from desktop import PrivateDesktop, wait_until


EXE = os.environ.get("TOLVAR_EXE", "")
RECORDER = os.environ.get("TOLVAR_RECORDER", "")
WINDOW_CONTROLS = os.environ.get("TOLVAR_WINDOW_CONTROLS", "")
DESIGN_TITLE = "Tolvar_Autorun"
# Blanks at both ends and letters outside ASCII: the title must arrive exactly as written.
TITLE = "  Tolvar Test Medium \u00dcber 2.0 "
RED, GREEN, BLUE, YELLOW = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)


def quadrant_bmp(width, height):
    """A 24-bit BMP whose quadrants are red, green (top) and blue, yellow (bottom)."""
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            top, left = y < height // 2, x < width // 2
            r, g, b = (RED if left else GREEN) if top else (BLUE if left else YELLOW)
            pixels += bytes((b, g, r))
        pixels += bytes(row_bytes - width * 3)
    header = struct.pack("<2sIII", b"BM", 54 + len(pixels), 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + pixels


def close_to(pixel, color, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, color))


class MediumTest(unittest.TestCase):
    def setUp(self):
        self.assertTrue(os.path.isfile(EXE), "set TOLVAR_EXE to tolvar-autorun.exe")
        self.medium = tempfile.mkdtemp(prefix="tolvar-e2e-")
        self.record = os.path.join(self.medium, "launch.record")
        self.desktop = PrivateDesktop(wine_prefix=os.environ["WINEPREFIX"])
        self.desktop.start()

    def tearDown(self):
        self.desktop.stop()
        shutil.rmtree(self.medium, ignore_errors=True)

    def write(self, relative, data):
        path = os.path.join(self.medium, *relative.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return path

    def write_menu(self, *lines):
        self.write("menu\\config.mnu", "\r\n".join(lines) + "\r\n")

    def full_medium(self):
        """Title, picture, and four entries: a program (in a folder with a blank), nothing, exit."""
        shutil.copy(RECORDER, self.write("setup files\\install me.exe", b""))
        self.write("menu\\splash.bmp", quadrant_bmp(64, 32))
        self.write_menu("' The test medium", TITLE, "menu\\splash.bmp", "3",
                        "Install", "setup files\\install me.exe",
                        "-- nothing --", "$null$",
                        "Leave", "$exit$")

    def records(self):
        """What the recorder wrote for each start: launch.record, launch.record-2, ...; the words
        of the command line, one "arg" line each, as a list under "args"."""
        records = []
        while True:
            path = self.record + ("-%d" % (len(records) + 1) if records else "")
            if not os.path.exists(path):
                return records
            record = {"args": []}
            with open(path, encoding="utf-8") as f:
                for line in f:
                    key, value = line.rstrip("\n").split("=", 1)
                    if key == "arg":
                        record["args"].append(value)
                    else:
                        record[key] = value
            records.append(record)

    def controls(self, title):
        """The client size of the window titled `title` and its controls, as the system reports
        them to another process (window_controls.cc)."""
        def read():
            result = self.desktop.run("wine", WINDOW_CONTROLS, title)
            return json.loads(result.stdout) if result.returncode == 0 else None
        return wait_until(read, 30, interval=0.2, what=f"the controls of {title!r}")

    def windows_path(self, relative=""):
        """A path of the medium as Windows programs under Wine see it, on drive Z:."""
        return "Z:" + os.path.join(self.medium, relative).rstrip("/").replace("/", "\\")

    def start(self, env=None, through=()):
        """Starts the menu on the medium; `env` adds to its environment. `through` is a Windows
        program and its first arguments that start the menu (its path follows them) instead."""
        # The recorder is told where to write through the environment, which the menu passes on;
        # the medium lies on Wine's drive Z:, which is the root of the file system.
        record = "Z:" + self.record.replace("/", "\\")
        env = dict(env or {}, TOLVAR_START_RECORD=record)
        if through:
            self.program = self.desktop.start_windows_program(
                through[0], self.medium, env=env,
                args=[*through[1:], "Z:" + os.path.abspath(EXE).replace("/", "\\")])
        else:
            self.program = self.desktop.start_windows_program(EXE, self.medium, env=env)
        return self.program

    def assert_exits(self, status, timeout=30):
        try:
            self.program.wait(timeout)
        except Exception:
            self.fail("the menu did not end")
        self.assertEqual(self.program.returncode, status)

    def assert_no_box(self):
        self.assertIsNone(self.program.poll(), "the menu ended")
        self.assertNotIn("Kestova", self.desktop.titles().values())

    def wait_for_records(self, count, timeout=20):
        return wait_until(lambda: len(self.records()) >= count and self.records(), timeout,
                          interval=0.1, what=f"{count} starts of the program")

    def check_picture(self, window, scale=1.0, right_to_left=False, description_row=False):
        """The picture fills the picture area of a window laid out at `scale` times 96 DPI, in
        its own orientation; a right-to-left window has the area at the mirrored place. The
        description row, when there is one, adds to the client area's height."""
        width, height, pixel = self.desktop.capture(window)
        pixels = lambda twips: int(twips * scale / 15 + 0.5)  # noqa: E731
        client_width, client_height = pixels(7620), pixels(2625 + (405 if description_row else 0))
        # Wine draws the frame itself: equal borders, the caption on top.
        frame = (width - client_width) // 2
        client_left, client_top = frame, height - frame - client_height
        colors = (RED, GREEN, BLUE, YELLOW)
        inside = [(x, y) for y in range(client_top, height - frame)
                  for x in range(client_left, width - frame)
                  if any(close_to(pixel(x, y), c) for c in colors)]
        self.assertTrue(inside, "no part of the picture is on the screen")
        left, top = min(x for x, _ in inside), min(y for _, y in inside)
        right, bottom = max(x for x, _ in inside) + 1, max(y for _, y in inside) + 1
        # Stretched to the whole picture area, 120 twips in from the client area's corner.
        w, h = pixels(7335), pixels(1815)
        expected_left = client_width - pixels(120) - w if right_to_left else pixels(120)
        self.assertEqual((left - client_left, top - client_top), (expected_left, pixels(120)))
        self.assertEqual((right - left, bottom - top), (w, h))
        for (fx, fy), color in (((0.25, 0.25), RED), ((0.75, 0.25), GREEN), ((0.25, 0.75), BLUE),
                                ((0.75, 0.75), YELLOW), ((0.02, 0.05), RED),
                                ((0.98, 0.95), YELLOW)):
            x, y = left + int(fx * w), top + int(fy * h)
            self.assertTrue(close_to(pixel(x, y), color), f"{pixel(x, y)} at {fx, fy}, not {color}")

    @contextlib.contextmanager
    def screen_dpi(self, dpi):
        """The programs started inside run at `dpi` dots per inch, and later ones at 96 again."""
        set_dpi = ["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                   "/t", "REG_DWORD", "/d", str(dpi), "/f"]
        self.assertEqual(subprocess.run(set_dpi, env=self.desktop.env,
                                        capture_output=True).returncode, 0)
        try:
            yield
        finally:
            subprocess.run(["wine", "reg", "delete", r"HKCU\Control Panel\Desktop", "/v",
                            "LogPixels", "/f"], env=self.desktop.env, capture_output=True)
