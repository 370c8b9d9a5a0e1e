"""End-to-end tests of tolvar-autorun.exe under Wine in a private Xvfb, driven with xdotool.

Each test builds its own medium in a temporary directory and runs the real program on it. Set
TOLVAR_EXE (the menu), TOLVAR_RECORDER (tests/support/start_recorder.cc, which records how it was
started), TOLVAR_WINDOW_CONTROLS (tests/support/window_controls.cc, which reads the window's controls)
and WINEPREFIX.
Run one test: win32_window_test.py WindowTest.test_quit
"""
import contextlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from desktop import PrivateDesktop, wait_until  # noqa: E402

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


class WindowTest(unittest.TestCase):
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

    def start(self):
        # The recorder is told where to write through the environment, which the menu passes on;
        # the medium lies on Wine's drive Z:, which is the root of the file system.
        record = "Z:" + self.record.replace("/", "\\")
        self.program = self.desktop.start_windows_program(
            EXE, self.medium, env={"TOLVAR_START_RECORD": record})
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

    def test_missing_definition_warns_then_opens_the_design_time_window(self):
        self.start()
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.assertNotIn(DESIGN_TITLE, self.desktop.titles().values(),
                         "the window must wait until the warning is dismissed")
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_titled(DESIGN_TITLE, program=self.program)
        # Nothing was ever chosen: Launch looks for a program with an empty name and warns.
        self.desktop.keys(window, "Return")
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.desktop.keys(box, "Return")
        self.desktop.wait_gone(box)
        # The focus is back on Go_Box; Tab goes on to Exit_Box, which ends the menu.
        self.desktop.keys(window, "Tab", "Return")
        self.assert_exits(0)

    def test_full_menu_shows_title_and_picture_and_launches_the_chosen_entry(self):
        self.full_medium()
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.check_picture(window)

        # The prompt is selected and Go_Box has the focus: Return does nothing. Then Tab, Tab
        # reaches the list; Down from the prompt is the first entry; Return is Launch. Had the
        # first Return shown a box, these keys would have gone to it and started nothing.
        self.desktop.keys(window, "Return", "Tab", "Tab", "Down", "Return")
        self.wait_for_records(1)
        self.assert_no_box()
        self.desktop.keys(window, "Return")  # the same entry again: a second start
        records = self.wait_for_records(2)
        # Without a description anywhere in the menu the window has no row for one.
        controls = self.controls(TITLE)
        self.assertEqual(controls["client"], [508, 175])
        self.assertEqual([c["class"].lower() for c in controls["controls"]],
                         ["button", "button", "combobox"])
        for record in records:
            self.assertEqual(record["command_line"], '"setup files\\install me.exe"')
            self.assertEqual((record["use_show_window"], record["show_window"]), ("1", "2"))
            self.assertTrue(record["cwd"].rstrip("\\").lower().endswith(
                os.path.basename(self.medium).lower()), record["cwd"])
        self.assertIsNone(self.program.poll(), "the menu must stay open after a launch")

        # The $null$ entry, and the prompt again, do nothing; down three times from there, the
        # $exit$ entry closes the menu, which a box in between would have stopped.
        self.desktop.keys(window, "Down", "Return", "Up", "Up", "Return",
                          "Down", "Down", "Down", "Return")
        self.assert_exits(0)
        self.assertEqual(len(self.records()), 2)

    def wait_for_records(self, count, timeout=20):
        return wait_until(lambda: len(self.records()) >= count and self.records(), timeout,
                          interval=0.1, what=f"{count} starts of the program")

    def check_picture(self, window, scale=1.0):
        """The picture fills the picture area of a window laid out at `scale` times 96 DPI."""
        width, height, pixel = self.desktop.capture(window)
        pixels = lambda twips: int(twips * scale / 15 + 0.5)  # noqa: E731
        client_width, client_height = pixels(7620), pixels(2625)
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
        self.assertEqual((left - client_left, top - client_top), (pixels(120), pixels(120)))
        w, h = pixels(7335), pixels(1815)
        self.assertEqual((right - left, bottom - top), (w, h))
        for (fx, fy), color in (((0.25, 0.25), RED), ((0.75, 0.25), GREEN), ((0.25, 0.75), BLUE),
                                ((0.75, 0.75), YELLOW), ((0.02, 0.05), RED),
                                ((0.98, 0.95), YELLOW)):
            x, y = left + int(fx * w), top + int(fy * h)
            self.assertTrue(close_to(pixel(x, y), color), f"{pixel(x, y)} at {fx, fy}, not {color}")

    def test_the_largest_menu_fills_the_list_and_launches_its_last_entry(self):
        shutil.copy(RECORDER, self.write("setup files\\install me.exe", b""))
        lines = [TITLE, "$null$", "32766"]
        for i in range(1, 32766):
            lines += [f"Entry {i}", "$null$"]
        lines += ["The last one", "setup files\\install me.exe"]
        self.write_menu(*lines)
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        # End jumps to the last of the 32767 list positions; Return launches it.
        self.desktop.keys(window, "Tab", "Tab", "End", "Return")
        self.assertEqual(len(self.wait_for_records(1)), 1)
        # The prompt again: nothing, and Tab, Tab on to Exit_Box ends the menu.
        self.desktop.keys(window, "Home", "Return", "Tab", "Tab", "Return")
        self.assert_exits(0)
        self.assertEqual(len(self.records()), 1)

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

    def test_the_layout_follows_the_screens_dpi(self):
        self.full_medium()
        with self.screen_dpi(144):
            self.start()
            window = self.desktop.wait_titled(TITLE, program=self.program)
            self.check_picture(window, scale=1.5)
            self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
            self.wait_for_records(1)

    def test_the_open_list_is_as_wide_as_its_longest_caption(self):
        self.write_menu(TITLE, "$null$", "2", "Short", "$null$",
                        "Install the complete product with all optional components and the sample data",
                        "$null$")
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        before = set(self.desktop.titles())
        self.desktop.keys(window, "Tab", "Tab", "alt+Down")
        opened = wait_until(lambda: set(self.desktop.titles()) - before, 20, what="the open list")
        info = self.desktop.run("xwininfo", "-id", str(opened.pop())).stdout
        width = int(info.split("Width:")[1].split()[0])
        self.assertGreater(width, 400)  # the closed list is 217 pixels wide
        self.assertLess(width, 700)

    def test_quit_ends_the_menu(self):
        self.full_medium()
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.desktop.keys(window, "Tab", "space")
        self.assert_exits(0)

    def test_close_box_ends_the_menu(self):
        self.full_medium()
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        width = self.desktop.geometry(window)[2]
        self.desktop.click_in(window, width - 10, 10)
        self.assert_exits(0)

    def test_bad_count_is_reported_and_the_window_never_shows(self):
        self.write_menu(TITLE, "$null$", "three", "One", "$exit$")
        self.start()
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.assertNotIn(TITLE, self.desktop.titles().values())
        self.assertNotIn(DESIGN_TITLE, self.desktop.titles().values())
        self.desktop.keys(box, "Return")
        self.assert_exits(1)
        stderr = self.program.stderr.read().decode("utf-8", "replace")
        self.assertIn("line 3", stderr)

    def test_a_file_that_is_no_picture_is_reported_and_the_window_never_shows(self):
        self.write("menu\\splash.png", "not a picture at all\r\n")
        self.write_menu(TITLE, "menu\\splash.png", "1", "Leave", "$exit$")
        self.start()
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.assertNotIn(TITLE, self.desktop.titles().values())
        self.desktop.keys(box, "Return")
        self.assert_exits(1)
        stderr = self.program.stderr.read().decode("utf-8", "replace")
        self.assertIn("splash.png", stderr)
        self.assertIn("not a picture", stderr)

    # --- directives ---

    # One line of arguments with everything a splitter can get wrong: quotes around a blank, two
    # backslashes before a quote (one backslash, and the quote opens), one backslash before a quote
    # (a quote in the word), a letter outside ASCII and an empty word.
    ARGUMENTS = '/S "C:\\Program Files\\x" a\\\\"b c" d\\"e Zo\u00eb ""'
    # The words of ARGUMENTS by Windows' rules, which the Linux menu applies itself.
    WORDS = ["/S", "C:\\Program Files\\x", "a\\b c", 'd"e', "Zo\u00eb", ""]

    def test_directives_choose_the_entries_and_shape_each_start(self):
        shutil.copy(RECORDER, self.write("setup\\install.exe", b""))
        os.makedirs(os.path.join(self.medium, "programs", "sub"))
        self.write_menu(TITLE, "$null$", "5",
                        "'#system: linux", "'#arguments: for Linux", "On Linux", "setup\\install.exe",
                        "'#system: windows", "'#arguments: " + self.ARGUMENTS,
                        "'#directory: programs\\sub", "Install", "setup\\install.exe",
                        "Plain", "setup\\install.exe",
                        "'#run-as: administrator", "'#arguments: " + self.ARGUMENTS,
                        "'#directory: programs\\sub", "As administrator", "setup\\install.exe",
                        "'#after-launch: close", "Install and close", "setup\\install.exe")
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.assertEqual(self.controls(TITLE)["controls"][2]["items"][1:],
                         ["Install", "Plain", "As administrator", "Install and close"])

        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        started = self.wait_for_records(1)[0]
        # Passed on exactly as written, and split by the program into the words Linux gets.
        # The path in full, which the program, started in another folder, can find itself by.
        program = self.windows_path("setup\\install.exe")
        self.assertEqual(started["command_line"], f'"{program}" ' + self.ARGUMENTS)
        self.assertEqual(started["args"], [program] + self.WORDS)
        self.assertEqual(started["cwd"].rstrip("\\").lower(),
                         self.windows_path("programs\\sub").lower())

        # An entry without directives starts as it always did: no arguments, the menu's folder.
        self.desktop.keys(window, "Down", "Return")
        started = self.wait_for_records(2)[1]
        self.assertEqual(started["command_line"], '"setup\\install.exe"')
        self.assertEqual(started["cwd"].rstrip("\\").lower(), self.windows_path().lower())
        self.assertIsNone(self.program.poll(), "the menu must stay open after a launch")

        # Through the shell's elevation prompt (Wine has none): the same words, folder and show
        # state. The shell passes the path in full.
        self.desktop.keys(window, "Down", "Return")
        started = self.wait_for_records(3)[2]
        self.assertEqual(started["args"][1:], self.WORDS)
        self.assertEqual(started["cwd"].rstrip("\\").lower(),
                         self.windows_path("programs\\sub").lower())
        self.assertEqual((started["use_show_window"], started["show_window"]), ("1", "2"))

        # The menu ends once the program has started, which may write its record later.
        self.desktop.keys(window, "Down", "Return")
        self.assert_exits(0)
        self.assertEqual(len(self.wait_for_records(4)), 4)

    def test_the_description_row_shows_the_chosen_entrys_description(self):
        shutil.copy(RECORDER, self.write("setup\\install.exe", b""))
        description = "Installs Zo\u00eb's tools & data"
        self.write_menu(TITLE, "$null$", "2",
                        "'#description: " + description, "Install", "setup\\install.exe",
                        "Leave", "$exit$")
        # At 1.5 times the design's DPI, so that a row laid out in design pixels shows.
        with self.screen_dpi(144):
            self.start()
            window = self.desktop.wait_titled(TITLE, program=self.program)
        controls = self.controls(TITLE)
        # The client area grows by one row; the row lies under the list, after it in z-order.
        self.assertEqual(controls["client"], [762, 303])  # 7620 x (2625 + 405) twips
        self.assertEqual([c["class"].lower() for c in controls["controls"]],
                         ["button", "button", "combobox", "static"])
        row = controls["controls"][3]
        self.assertEqual(row["rect"], [24, 260, 722, 32])  # 240, 2595, 7215, 315 twips
        self.assertEqual(row["text"], "")  # the prompt has none
        self.assertFalse(row["style"] & 0x00010000, "the row must take no focus (WS_TABSTOP)")
        # SS_NOPREFIX: '&' shows as written rather than underline the next letter; SS_ENDELLIPSIS.
        self.assertEqual(row["style"] & 0x4080, 0x4080)

        row_text = lambda: self.controls(TITLE)["controls"][3]["text"]  # noqa: E731
        # Left from Go_Box goes round to the list, as without the row: the arrows never stop on it.
        self.desktop.keys(window, "Left", "Down")
        wait_until(lambda: row_text() == description, 20, interval=0.2, what="the description")
        self.desktop.keys(window, "Down")
        wait_until(lambda: row_text() == "", 20, interval=0.2, what="an empty description row")
        # Tab from the list goes round to Go_Box, never onto the row: Return launches.
        self.desktop.keys(window, "Up", "Tab", "Return")
        self.wait_for_records(1)

    def test_a_link_opens_in_the_users_browser(self):
        # A quote would end the handler's "%1" and pass it arguments of the link's own.
        link = 'https://example.org/setup?lang=de&step=1&q=a" --new-profile "b'
        shutil.copy(RECORDER, os.path.join(self.medium, "browser.exe"))
        # A stand-in browser for https links, put back as it was afterwards. Wine's shell reads
        # the handler from the machine's classes alone, not from the user's (HKCU\Software\Classes).
        key = r"HKLM\Software\Classes\https\shell\open\command"
        before = self.desktop.run("wine", "reg", "query", key, "/ve")
        previous = re.search(r"REG_SZ\s+(.*\S)", before.stdout) if before.returncode == 0 else None
        browser = f'"{self.windows_path()}\\browser.exe" "%1"'
        add = ["wine", "reg", "add", key, "/ve", "/d", browser, "/f"]
        self.assertEqual(self.desktop.run(*add).returncode, 0)
        try:
            self.write_menu(TITLE, "$null$", "1", "Our website", link)
            self.start()
            window = self.desktop.wait_titled(TITLE, program=self.program)
            self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
            opened = self.wait_for_records(1)[0]
            self.assertEqual(opened["args"][1:], [link.replace('"', "%22").replace(" ", "%20")])
            self.assertEqual(opened["show_window"], "1")  # shown, not minimised as programs are
            self.assert_no_box()
        finally:
            if previous:
                self.desktop.run("wine", "reg", "add", key, "/ve", "/d", previous.group(1), "/f")
            else:
                self.desktop.run("wine", "reg", "delete", key, "/f")

    def test_a_batch_file_whose_arguments_cmd_would_expand_is_not_started(self):
        self.write("setup.bat", "@echo %1> started.txt\r\n")
        self.write_menu(TITLE, "$null$", "1", "'#arguments: /dir %TEMP%", "Setup", "setup.bat")
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        self.desktop.wait_titled("Kestova", program=self.program)
        # The start is refused before anything runs, and the warning says why.
        texts = [c["text"] for c in self.controls("Kestova")["controls"]]
        self.assertTrue(any(text.startswith('Can\'t start "setup.bat": it is a batch file')
                            for text in texts), texts)


if __name__ == "__main__":
    unittest.main()
