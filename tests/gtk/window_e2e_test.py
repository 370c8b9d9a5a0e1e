"""End-to-end tests of the Linux program tolvar-autorun: the real window in a private Xvfb, driven
with xdotool like a person at the keyboard, read back through its title, its picture on the screen
and the accessibility tree, with real helper programs on a real medium in a temporary directory.

Run one test: window_e2e_test.py MenuWindowTest.test_name (TOLVAR_AUTORUN names the program)."""
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import SYSTEM_PYTHON, PrivateDesktop, find_accessible, wait_until  # noqa: E402
from icon_files import icon, quadrant_icon_images  # noqa: E402

PROGRAM = os.environ.get("TOLVAR_AUTORUN", "tolvar-autorun")
EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples")
MENU_TITLE = "^Tolvar_Autorun$"
BOX_TITLE = "^Kestova$"
PROMPT = "Please Select..."

# The splash picture's four quarters, as (red, green, blue).
QUARTERS = [(200, 30, 30), (30, 160, 40), (20, 40, 200), (230, 210, 20)]


def quartered_bmp(width=40, height=20):
    """A 24-bit BMP whose quarters have the colours of QUARTERS (top left, top right, bottom left,
    bottom right)."""
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):  # BMP rows go bottom up
        row = b""
        for x in range(width):
            red, green, blue = QUARTERS[(2 if y >= height // 2 else 0) + (x >= width // 2)]
            row += bytes((blue, green, red))
        rows.append(row + b"\0" * (row_size - len(row)))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def striped_bmp(width, height):
    """A 24-bit BMP of one-pixel columns, black and white in turn."""
    row_size = (width * 3 + 3) // 4 * 4
    row = b"".join(b"\0\0\0" if x % 2 == 0 else b"\xff\xff\xff" for x in range(width))
    pixels = (row + b"\0" * (row_size - len(row))) * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


class MenuWindowTest(unittest.TestCase):
    def setUp(self):
        self.desktop = PrivateDesktop()
        self.desktop.start()
        self.addCleanup(self.desktop.stop)
        self.medium = tempfile.mkdtemp(prefix="tolvar-gtk-")
        self.addCleanup(shutil.rmtree, self.medium, ignore_errors=True)
        self.record = os.path.join(self.medium, "record.txt")
        self.menu = None

    def tearDown(self):
        if self.menu is not None and self.menu.poll() is None:
            self.menu.kill()
            self.menu.wait()

    # --- the medium ---

    def write(self, relative, data, executable=False):
        path = os.path.join(self.medium, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(data if isinstance(data, bytes) else data.encode())
        if executable:
            os.chmod(path, 0o755)

    def write_menu(self, *lines):
        self.write("menu/config.mnu", "\r\n".join(lines) + "\r\n")

    def write_helper(self, name):
        """A program that notes its name, its working directory, its argument count and whether
        it was given GDK_GL, which the menu sets only for itself."""
        self.write("programs/" + name,
                   '#!/bin/sh\nprintf "%%s %%s %%s %%s\\n" %s "$(pwd -P)" "$#" "${GDK_GL-unset}"'
                   ' >> "%s"\n' % (name, self.record), executable=True)

    def recorded(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as file:
            return [line.split() for line in file]

    # --- the program ---

    def start(self, env=None, medium=None):
        # stderr goes to a file: the programs the menu starts inherit it, and a pipe would stay
        # open as long as they run.
        self.stderr = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(self.stderr.close)
        self.menu = subprocess.Popen([PROGRAM], cwd=medium or self.medium,
                                     env=env or self.desktop.env, stdout=subprocess.DEVNULL,
                                     stderr=self.stderr)
        return self.menu

    def ended(self, timeout=10):
        """Waits for the program's end; returns its status and what it wrote to stderr."""
        self.menu.wait(timeout=timeout)
        self.stderr.seek(0)
        return self.menu.returncode, self.stderr.read()

    def tree(self):
        return self.desktop.accessible_tree("tolvar-autorun")

    def combo(self):
        combos = find_accessible(self.tree(), "combo box")
        self.assertEqual(len(combos), 1)
        return combos[0]

    def wait_combo(self, name):
        return wait_until(lambda: self.combo()["name"] == name, what="the list to show " + name)

    def popup(self, window):
        """The open popup's geometry: the program's visible window other than `window` and
        taller than the list (the search finds the whole screen's root window too)."""
        found = self.desktop.run("xdotool", "search", "--onlyvisible", "--pid",
                                 str(self.menu.pid), "").stdout.split()
        for other in found:
            geometry = self.desktop.geometry(int(other))
            if int(other) != window and 21 < geometry[3] < 768:
                return geometry
        return None

    def dismiss_box(self, expected_text):
        box = self.desktop.wait_window(BOX_TITLE)
        self.assertEqual(len(self.desktop.windows(BOX_TITLE)), 1)
        self.assertTrue(find_accessible(self.tree(), "label", expected_text), expected_text)
        self.desktop.keys(box, "Return")
        wait_until(lambda: not self.desktop.windows(BOX_TITLE), what="the box to go")

    def choose(self, window, downs):
        """From the focus on Go_Box: to the list, `downs` entries down, back to Go_Box."""
        self.desktop.keys(window, "Tab", "Tab", *["Down"] * downs, "Tab")

    # --- tests ---

    def test_missing_definition_warns_once_then_shows_the_design_time_window(self):
        self.start()
        box = self.desktop.wait_window(BOX_TITLE)
        self.assertEqual(self.desktop.windows(MENU_TITLE), [], "the window waits for the box")
        self.assertTrue(find_accessible(self.tree(), "label",
                                        "Can't locate menu options definition file."))
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_window(MENU_TITLE)
        self.assertEqual(self.desktop.windows(BOX_TITLE), [])

        tree = self.tree()
        self.assertTrue(find_accessible(tree, "push button", "Go_Box"))
        self.assertTrue(find_accessible(tree, "push button", "Exit_Box"))
        self.assertEqual(self.combo()["children"][0]["children"], [])

        self.desktop.keys(window, "Tab", "space")  # Exit_Box
        self.assertEqual(self.ended()[0], 0)

    def test_full_menu_shows_its_title_picture_and_items_in_file_order(self):
        self.write("art/quarters.bmp", quartered_bmp())
        captions = ["Install the product", "  Indented, 'quoted'", "Leave"]
        self.write_menu("' comment first", "", "  Demo  Title  ", "art\\quarters.bmp", "3",
                        captions[0], "setup\\setup.sh", captions[1], "$null$", captions[2],
                        "$exit$")
        self.start()
        window = self.desktop.wait_window("Demo  Title")
        self.assertEqual(self.desktop.window_name(window), "  Demo  Title  ")
        self.assertEqual(self.desktop.geometry(window)[2:], (508, 175))

        tree = self.tree()
        items = self.combo()["children"][0]["children"]
        self.assertEqual([item["name"] for item in items], [PROMPT] + captions)
        self.assertIn("selected", items[0]["states"])
        self.assertEqual(self.combo()["name"], PROMPT)
        self.assertTrue(find_accessible(tree, "push button", "Quit"))
        launch = find_accessible(tree, "push button", "Launch")
        self.assertTrue(launch and "focused" in launch[0]["states"])

        # The picture is stretched over the area at (8, 8), 489 x 121: each quarter's middle.
        _, _, pixel = self.desktop.capture(window)
        for quarter, (x, y) in enumerate([(130, 38), (375, 38), (130, 98), (375, 98)]):
            for got, want in zip(pixel(x, y), QUARTERS[quarter]):
                self.assertLessEqual(abs(got - want), 8, (quarter, pixel(x, y)))
        self.assertNotEqual(pixel(4, 4), QUARTERS[0], "the picture stays inside its area")

        self.desktop.request_close(window)
        self.assertEqual(self.ended()[0], 0)

    def test_an_icon_shows_its_largest_image_whether_a_bitmap_or_a_png(self):
        # The small images are black: only the largest may show.
        small_bitmap, small_png = quadrant_icon_images(16, [(0, 0, 0)] * 4)
        large_bitmap, large_png = quadrant_icon_images(48, QUARTERS)
        self.write("art/bitmap.ico", icon((16, small_png), (48, large_bitmap)))
        self.write("art/png.ico", icon((48, large_png), (16, small_bitmap)))
        for name in ("bitmap.ico", "png.ico"):
            with self.subTest(name):
                self.write_menu("Icon", "art\\" + name, "1", "Leave", "$exit$")
                self.start()
                window = self.desktop.wait_window("^Icon$")
                _, _, pixel = self.desktop.capture(window)
                self.desktop.request_close(window)
                self.assertEqual(self.ended(), (0, ""))
                for quarter, (x, y) in enumerate([(130, 38), (375, 38), (130, 98), (375, 98)]):
                    for got, want in zip(pixel(x, y), QUARTERS[quarter]):
                        self.assertLessEqual(abs(got - want), 8, (name, quarter, pixel(x, y)))

    def test_launch_starts_the_chosen_program_once_per_press_and_exit_ends(self):
        self.write_helper("record.sh")
        self.write_menu("Title", "$null$", "2", "Record", "programs\\record.sh", "Leave", "$exit$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        self.desktop.keys(window, "Return")  # the prompt: nothing
        self.choose(window, 1)
        self.desktop.keys(window, "Return", "Return")
        wait_until(lambda: len(self.recorded()) == 2, what="two starts")
        root = os.path.realpath(self.medium)
        self.assertEqual(self.recorded(), [["record.sh", root, "0", "unset"]] * 2)
        self.assertIsNone(self.menu.poll(), "the menu stays open")

        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.assertEqual(self.ended()[0], 0)
        self.assertEqual(len(self.recorded()), 2)

    def test_a_document_opened_without_a_session_bus_leaves_no_bus_behind(self):
        # A desktop whose only application for text notes what it opens, and no session bus.
        self.write_helper("viewer.sh")
        self.write("desktop/applications/tolvar-viewer.desktop",
                   "[Desktop Entry]\nType=Application\nName=Viewer\nMimeType=text/plain;\n"
                   "Exec=%s %%f\n" % os.path.join(self.medium, "programs", "viewer.sh"))
        self.write("desktop/mimeapps.list",
                   "[Default Applications]\ntext/plain=tolvar-viewer.desktop\n")
        self.write("docs/readme.txt", "Read me.\n")
        os.makedirs(os.path.join(self.medium, "runtime"), mode=0o700)
        env = {k: v for k, v in self.desktop.env.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
        desktop = os.path.join(self.medium, "desktop")
        env.update(XDG_DATA_HOME=desktop, XDG_DATA_DIRS=desktop, XDG_CONFIG_HOME=desktop,
                   XDG_CONFIG_DIRS=desktop, XDG_RUNTIME_DIR=os.path.join(self.medium, "runtime"),
                   )
        self.write_menu("Title", "$null$", "1", "Read me", "docs\\readme.txt")
        self.start(env=env)
        window = self.desktop.wait_window("^Title$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        wait_until(lambda: len(self.recorded()) == 1, what="the viewer to start")
        self.desktop.request_close(window)
        self.assertEqual(self.ended()[0], 0)
        self.assertEqual(self.bus_processes(env["DISPLAY"]), [])

    def bus_processes(self, display):
        """The D-Bus daemons and launchers started for `display` outside the private desktop's own
        bus and the services it started, ended once found."""
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.getpgid(int(pid)) == self.desktop.bus_process_group():
                    continue
                with open("/proc/%s/comm" % pid) as file:
                    name = file.read().strip()
                with open("/proc/%s/environ" % pid, "rb") as file:
                    environment = file.read().split(b"\0")
            except OSError:
                continue
            if name in ("dbus-daemon", "dbus-launch") and \
                    ("DISPLAY=" + display).encode() in environment:
                found.append(name)
                os.kill(int(pid), signal.SIGTERM)
        return found

    def test_entries_that_start_nothing_or_are_not_found(self):
        self.write_helper("record.sh")
        self.write_menu("Title", "$null$", "4", "Heading", "$null$", "Missing",
                        "programs\\missing.sh", "With arguments", "programs\\record.sh --quiet",
                        "Shouting", "$EXIT$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        self.desktop.keys(window, "Return")  # the prompt
        self.choose(window, 1)  # Heading
        # No box for the heading: were there one, the keys below would go to it, and Missing
        # would show none.
        self.desktop.keys(window, "Return")
        for _ in range(3):  # Missing, With arguments, Shouting
            self.choose(window, 1)
            self.desktop.keys(window, "Return")
            self.dismiss_box("Can't find file!!")
        self.assertEqual(self.recorded(), [])
        self.assertIsNone(self.menu.poll())

    def test_a_medium_spelled_in_other_case_opens_shows_and_launches(self):
        # As a medium mastered without Rock Ridge shows it: names in capitals that the menu file
        # writes in lower case.
        self.write("ART/SPLASH.BMP", quartered_bmp())
        self.write("SETUP/SETUP.EXE", '#!/bin/sh\necho started >> "%s"\n' % self.record,
                   executable=True)
        self.write("MENU/CONFIG.MNU", "\r\n".join(["Title", "art\\splash.bmp", "2", "Install",
                                                    "setup\\setup.exe", "Leave", "$exit$"]))
        self.start()
        window = self.desktop.wait_window("^Title$")
        _, _, pixel = self.desktop.capture(window)
        for got, want in zip(pixel(130, 38), QUARTERS[0]):
            self.assertLessEqual(abs(got - want), 8, "the picture is shown")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        wait_until(lambda: self.recorded() == [["started"]], what="SETUP.EXE to start")
        self.assertEqual(self.desktop.windows(BOX_TITLE), [])

    def test_quit_and_the_close_request_end_the_program(self):
        self.write_menu("Title", "$null$", "1", "Leave", "$exit$")
        for how in ("quit", "close"):
            with self.subTest(how):
                self.start()
                window = self.desktop.wait_window("^Title$")
                if how == "quit":
                    self.desktop.keys(window, "Tab", "Return")
                else:
                    self.desktop.request_close(window)
                self.assertEqual(self.ended(), (0, ""))

    def test_faults_in_the_menu_file_end_the_program_before_its_window(self):
        self.write("menu/not-a-picture.png", "plain text\n")
        cases = {
            "many": (["Title", "$null$", "many", "A", "$null$"], "config.mnu line 3"),
            "picture": (["Title", "menu\\not-a-picture.png", "1", "A", "$null$"],
                        "invalid picture"),
        }
        for name, (lines, message) in cases.items():
            with self.subTest(name):
                self.write_menu(*lines)
                self.start()
                box = self.desktop.wait_window(BOX_TITLE)
                self.assertEqual(self.desktop.windows("^Title$"), [])
                self.desktop.keys(box, "Return")
                status, stderr = self.ended()
                self.assertEqual(status, 1)
                self.assertIn(message, stderr)

    def test_without_a_display_faults_go_to_stderr(self):
        env = {k: v for k, v in self.desktop.env.items() if k != "DISPLAY"}
        self.write_menu("Title", "$null$", "0")
        self.start(env)
        status, stderr = self.ended()
        self.assertEqual(status, 1)
        self.assertIn("subscript out of range", stderr)

        self.write_menu("Title", "$null$", "1", "A", "$null$")
        self.start(env)
        status, stderr = self.ended()
        self.assertEqual(status, 1)
        self.assertIn("cannot open the display", stderr)

    def test_the_list_moves_with_keys_and_picks_from_its_popup(self):
        for name in ("first.sh", "last.sh"):
            self.write_helper(name)
        self.write_menu("Title", "$null$", "3", "First", "programs\\first.sh", "Middle", "$null$",
                        "Last", "programs\\last.sh")
        self.start()
        window = self.desktop.wait_window("^Title$")
        keys = lambda *names: self.desktop.keys(window, *names)

        keys("Tab", "Tab", "End")  # closed: each key selects at once
        self.wait_combo("Last")
        keys("Home")
        self.wait_combo(PROMPT)
        keys("Down")
        self.wait_combo("First")

        keys("alt+Down")
        wait_until(lambda: "expanded" in self.combo()["states"], what="the popup")
        keys("Down", "Escape")  # closes without choosing
        wait_until(lambda: "expanded" not in self.combo()["states"], what="the popup to close")
        self.assertEqual(self.combo()["name"], "First")
        keys("F4", "Down", "Return")
        self.wait_combo("Middle")

        # A click opens it; a click outside closes it; a click on a row picks that row.
        x, y, _, _ = self.desktop.geometry(window)
        self.desktop.click(x + 100, y + 154)
        wait_until(lambda: "expanded" in self.combo()["states"], what="the popup")
        self.desktop.click(x + 250, y + 60)
        wait_until(lambda: "expanded" not in self.combo()["states"], what="the popup to close")
        self.assertEqual(self.combo()["name"], "Middle")
        self.desktop.click(x + 100, y + 154)
        left, top, width, height = wait_until(lambda: self.popup(window), what="the popup")
        self.assertEqual(width, 217, "as wide as the list")
        self.assertGreaterEqual(top, y + 165, "below the list")
        self.desktop.click(left + 60, top + height * 7 // 8)  # the last of four rows
        self.wait_combo("Last")

        # The selection handler ran with the choice: Launch starts the last entry's program.
        keys("Tab", "Return")
        wait_until(self.recorded, what="a start")
        self.assertEqual(self.recorded()[0][0], "last.sh")

    def test_the_window_keeps_its_size_whatever_the_caption_or_title(self):
        captions = ["Short",
                    "Install the complete product with all optional components and the sample data",
                    "Very long " * 1000]
        self.write_menu("A title that goes on " * 500, "$null$", "3",
                        *[line for caption in captions for line in (caption, "$null$")])
        self.start()
        window = self.desktop.wait_window("^A title")
        self.desktop.keys(window, "Tab", "Tab")
        for key, caption in [("Down", captions[0]), ("Down", captions[1]), ("Down", captions[2]),
                             ("Up", captions[1])]:
            self.desktop.keys(window, key)
            self.wait_combo(caption)
            self.assertEqual(self.desktop.geometry(window)[2:], (508, 175), caption[:20])

    def test_larger_text_scales_the_layout_and_a_denser_screen_the_picture(self):
        self.write("menu/stripes.bmp", striped_bmp(978, 242))
        self.write_menu("Title", "menu\\stripes.bmp", "1", "Leave", "$exit$")
        # Twips at 120 and 144 dots per inch: 7620 x 2625 twips.
        for name, env, resources, size in [
                ("GDK_DPI_SCALE 1.25", {"GDK_DPI_SCALE": "1.25"}, None, (635, 219)),
                ("GDK_DPI_SCALE 1.5", {"GDK_DPI_SCALE": "1.5"}, None, (762, 263)),
                ("Xft.dpi 120", {}, "Xft.dpi: 120\n", (635, 219))]:
            with self.subTest(name):
                self.desktop.run("xprop", "-root", "-format", "RESOURCE_MANAGER", "8s", "-set",
                                 "RESOURCE_MANAGER", resources or "", check=True)
                self.start(dict(self.desktop.env, **env))
                window = self.desktop.wait_window("^Title$")
                geometry = self.desktop.geometry(window)
                self.desktop.request_close(window)
                self.assertEqual(self.ended(), (0, ""))
                self.assertEqual(geometry[2:], size)

        # At twice the pixels the picture is decoded at the screen's own pixels: one-pixel
        # stripes stay black and white instead of being blurred into grey.
        self.desktop.run("xprop", "-root", "-remove", "RESOURCE_MANAGER")
        self.start(dict(self.desktop.env, GDK_SCALE="2"))
        window = self.desktop.wait_window("^Title$")
        self.assertEqual(self.desktop.geometry(window)[2:], (1016, 350))
        _, _, pixel = self.desktop.capture(window)
        row = [pixel(x, 100)[0] for x in range(400, 440)]
        self.assertTrue(all(value < 40 or value > 215 for value in row), row)
        self.assertEqual(len(set(value > 127 for value in row)), 2, row)

    def test_letters_choose_entries_and_return_presses_launch(self):
        for name in ("beta.sh", "bravo.sh"):
            self.write_helper(name)
        self.write_menu("Title", "$null$", "4", "Alpha", "$null$", "beta", "programs\\beta.sh",
                        "Bravo", "programs\\bravo.sh", "Charlie", "$null$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        # The focus shows on Launch from the start: a first key changes nothing on the screen.
        _, _, before = self.desktop.capture(window)
        self.desktop.keys(window, "shift")
        _, _, after = self.desktop.capture(window)
        launch = [(x, y) for x in range(238, 291) for y in range(142, 171)]
        self.assertEqual([before(*point) for point in launch], [after(*point) for point in launch])

        keys = lambda *names: self.desktop.keys(window, *names)
        keys("Tab", "Tab", "b")  # closed: from the prompt to the next caption with B or b
        self.wait_combo("beta")
        keys("b")
        self.wait_combo("Bravo")
        keys("B")  # round to the first again
        self.wait_combo("beta")
        keys("Return")  # Launch, with the handler having followed the letters
        wait_until(self.recorded, what="a start")
        self.assertEqual(self.recorded()[0][0], "beta.sh")

        keys("alt+Down")
        wait_until(lambda: "expanded" in self.combo()["states"], what="the popup")
        keys("c")  # open: selects at once
        self.wait_combo("Charlie")
        keys("b", "Return")
        wait_until(lambda: "expanded" not in self.combo()["states"], what="the popup to close")
        self.assertEqual(self.combo()["name"], "beta")
        keys("b", "Return")
        wait_until(lambda: len(self.recorded()) == 2, what="a second start")
        self.assertEqual(self.recorded()[1][0], "bravo.sh")

    def test_the_open_list_is_as_wide_as_its_longest_caption_up_to_the_screen(self):
        long_caption = "Install the complete product with all optional components and the sample data"
        for name, caption, wide in [("long", long_caption, False),
                                    ("wider than the screen", "Very long " * 1000, True)]:
            with self.subTest(name):
                self.write_menu("Title", "$null$", "2", "Short", "$null$", caption, "$null$")
                self.start()
                window = self.desktop.wait_window("^Title$")
                self.desktop.keys(window, "Tab", "Tab", "alt+Down")
                left, _, width, _ = wait_until(lambda: self.popup(window), what="the popup")
                if wide:
                    self.assertEqual((left, width), (0, 1024))
                else:
                    self.assertGreater(width, 450)
                    self.assertLess(width, 700)
                self.desktop.keys(window, "Escape")
                self.desktop.request_close(window)
                self.assertEqual(self.ended(), (0, ""))

    def test_a_caption_of_thousands_of_combining_accents_opens_at_once(self):
        heavy = "a" + "\u0301" * 32000
        self.write_menu("Title", "$null$", "4", *[line for _ in range(4) for line in (heavy, "$null$")])
        self.start()
        window = self.desktop.wait_window("^Title$")
        self.desktop.keys(window, "Tab", "Tab", "End")
        self.wait_combo(heavy)
        self.desktop.keys(window, "alt+Down")
        # Before, the selected caption took 10 s to draw and the open list 20 s per such entry.
        wait_until(lambda: self.popup(window), timeout=4, what="the popup")
        self.desktop.keys(window, "Escape", "Tab", "Tab", "Return")  # Quit
        self.assertEqual(self.ended(timeout=4)[0], 0)

    def test_a_document_nothing_opens_is_named_as_the_menu_file_writes_it(self):
        self.write("docs/readme.txt", "Read me\n")
        self.write_menu("Title", "$null$", "1", "Read me", "docs\\readme.txt")
        # No application is registered for anything: the data directories hold only the schemas
        # and the types of files.
        data = os.path.join(self.medium, "share")
        os.makedirs(data)
        for name in ("glib-2.0", "mime"):
            os.symlink(os.path.join("/usr/share", name), os.path.join(data, name))
        env = dict(self.desktop.env, XDG_DATA_DIRS=data, XDG_DATA_HOME=data,
                   XDG_CONFIG_HOME=data, XDG_CONFIG_DIRS=data)
        self.start(env)
        window = self.desktop.wait_window("^Title$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.desktop.wait_window(BOX_TITLE)
        # Said as it is, without the system's words ("Permission denied; No application is
        # registered"), which would suggest a broken medium.
        labels = [node["name"] for node in find_accessible(self.tree(), "label")]
        self.assertIn('No program is set to open this kind of file.\n\n"docs\\readme.txt"', labels)

    def test_a_screen_reader_reads_the_long_list_and_leaves_no_critical(self):
        self.write_menu("Title", "$null$", "32766",
                        *[line for i in range(1, 32767) for line in ("Entry %d" % i, "missing")])
        self.start()
        window = self.desktop.wait_window("^Title$")
        self.desktop.keys(window, "Tab", "Tab", "Down", "Down")
        reads = json.loads(self.desktop.run(
            SYSTEM_PYTHON, os.path.join(HERE, "screen_reader_reads.py"), "tolvar-autorun",
            "Entry 2", timeout=60, check=True).stdout)
        self.assertEqual(reads["list"], "Entry 2")
        self.assertEqual(reads["first"], [PROMPT, "Entry 1", "Entry 2"])
        self.assertEqual(reads["selected"], ["Entry 2", 2, 32767])
        self.assertEqual(reads["buttons"], ["Launch", "Quit"])
        for _ in range(2):  # a message box comes and goes while the reader listens
            self.desktop.keys(window, "Return")
            box = self.desktop.wait_window(BOX_TITLE)
            self.desktop.keys(box, "Return")
            wait_until(lambda: not self.desktop.windows(BOX_TITLE), what="the box to go")
        self.desktop.request_close(window)
        status, stderr = self.ended(timeout=60)
        self.assertEqual(status, 0)
        self.assertNotRegex(stderr, "CRITICAL|WARNING|Critical|Warning", stderr[:2000])

    def test_the_demo_medium_opens_and_says_hello(self):
        self.start(medium=EXAMPLES)
        window = self.desktop.wait_window("^Tolvar Autorun - Demo Medium$")
        items = [item["name"] for item in self.combo()["children"][0]["children"]]
        # The Windows entry's "Say hello" is not listed here.
        self.assertEqual(items, [PROMPT, "-- Programs --", "Say hello", "Install the demo (pretend)",
                                 "-- Documents --", "Read me", "Browse the documents",
                                 "Open a web page",
                                 "Leave the menu"])
        self.choose(window, 2)
        self.desktop.keys(window, "Return")
        self.desktop.wait_window("^Hello$")  # the demo program's message
        self.assertIsNone(self.menu.poll())

    def test_the_demo_medium_without_execute_bits_opens_from_its_script_and_says_hello(self):
        # As a FAT32 stick (showexec) or an image without Rock Ridge shows it: no file may be
        # executed, and the user runs "sh autorun.sh" from wherever the terminal is.
        shutil.copytree(EXAMPLES, self.medium, dirs_exist_ok=True)
        shutil.copy(shutil.which(PROGRAM) or PROGRAM, os.path.join(self.medium, "tolvar-autorun"))
        for folder, _, files in os.walk(self.medium):
            for name in files:
                os.chmod(os.path.join(folder, name), 0o644)
        self.stderr = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(self.stderr.close)
        self.menu = subprocess.Popen(["sh", os.path.join(self.medium, "autorun.sh")], cwd="/",
                                     env=self.desktop.env, stdout=subprocess.DEVNULL,
                                     stderr=self.stderr)
        window = self.desktop.wait_window("^Tolvar Autorun - Demo Medium$")
        self.choose(window, 2)
        self.desktop.keys(window, "Return")
        self.desktop.wait_window("^Hello$")  # the demo program, and the script it runs, started
        self.assertIsNone(self.menu.poll())


def only_own_tests(test_class):
    """A load_tests for a file whose test class inherits MenuWindowTest's tests: its own alone, so
    that running the file does not run this file's tests again."""

    def load_tests(loader, tests, pattern):
        return unittest.TestSuite(
            test_class(name) for name in sorted(vars(test_class)) if name.startswith("test_"))

    return load_tests


if __name__ == "__main__":
    unittest.main()
