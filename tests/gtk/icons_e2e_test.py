"""End-to-end tests of the Linux window with the menu file's pictures and folders: each entry's
icon in the closed and the open list and the window's own icon, read back from the screen and from
the window's _NET_WM_ICON; a folder of the medium opened by a stand-in file manager. The real
program in a private Xvfb, with the fixture of window_e2e_test.py.

Run one test: icons_e2e_test.py IconsTest.test_name (TOLVAR_AUTORUN names the program)."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import find_accessible, wait_until  # noqa: E402
from icon_files import net_wm_icons, quadrant_icon, quadrant_png  # noqa: E402
from window_e2e_test import (  # noqa: E402
    BOX_TITLE, PROMPT, QUARTERS, MenuWindowTest, only_own_tests)

SOLID_BLUE = [(20, 40, 200)] * 4
# The closed list's place in the window at 96 DPI: 240, 2160 twips; 3255 x 315.
CLOSED_LIST = (16, 144, 217, 21)


def near(got, want, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(got, want))


def places_of(pixel, area, color):
    """The (x, y) in `area` (x, y, width, height) whose pixel is `color`, give or take a little."""
    x0, y0, width, height = area
    return [(x, y) for y in range(y0, y0 + height) for x in range(x0, x0 + width)
            if near(pixel(x, y), color)]


class IconsTest(MenuWindowTest):
    def quadrants_in(self, pixel, area):
        """Where each of QUARTERS' colours shows in `area`: the middle of its pixels, or None."""
        middles = []
        for color in QUARTERS:
            found = places_of(pixel, area, color)
            middles.append((sum(x for x, _ in found) / len(found),
                            sum(y for _, y in found) / len(found)) if len(found) >= 40 else None)
        return middles

    def assert_quadrants(self, middles, what):
        """The four colours show as an icon's quadrants: red left of green, above blue."""
        self.assertNotIn(None, middles, what)
        (red_x, red_y), (green_x, green_y), (blue_x, blue_y), _ = middles
        self.assertLess(red_x, green_x, what)
        self.assertLess(red_y, blue_y, what)
        self.assertLess(abs(red_y - green_y), 2, what)

    def open_list(self, window):
        """Opens the list from Go_Box, on the prompt (the theme may draw the chosen row's icon
        brighter), and returns the popup window's id."""
        self.desktop.keys(window, "Tab", "Tab", "Home", "alt+Down")

        def find():
            found = self.desktop.run("xdotool", "search", "--onlyvisible", "--pid",
                                     str(self.menu.pid), "").stdout.split()
            popups = [int(other) for other in found if int(other) != window
                      and 21 < self.desktop.geometry(int(other))[3] < 768]
            return popups[0] if popups else None
        return wait_until(find, what="the open list")

    def test_icons_show_beside_their_entries_in_the_closed_and_the_open_list(self):
        self.write("art/quarters.ico", quadrant_icon(32, QUARTERS))
        self.write("art/blue.png", quadrant_png(16, SOLID_BLUE))
        self.write("art/notes.ico", "no picture at all")
        captions = ["Quarters", "Plain", "Blue", "Broken", "Quarters again"]
        self.write_menu("Title", "$null$", "5",
                        "'#icon: art\\quarters.ico", captions[0], "$null$",
                        captions[1], "$null$",
                        "'#icon: art\\Blue.png", captions[2], "$null$",  # found in any case
                        "'#icon: art\\notes.ico", captions[3], "$null$",
                        "'#icon: art\\quarters.ico", captions[4], "$null$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        # Screen readers read the list as before.
        items = [item["name"] for item in self.combo()["children"][0]["children"]]
        self.assertEqual(items, [PROMPT] + captions)

        # The closed list shows the chosen entry's icon, left of its caption, and none for the
        # prompt or an entry without one.
        for downs, expected in [(0, None), (1, "quarters"), (1, None), (1, "blue"), (1, None),
                                (1, "quarters")]:
            self.desktop.keys(window, "Tab", "Tab", *["Down"] * downs, "Tab")
            name = (PROMPT, *captions)[items.index(self.combo()["name"])]
            _, _, pixel = self.desktop.capture(window)
            middles = self.quadrants_in(pixel, CLOSED_LIST)
            blue = places_of(pixel, CLOSED_LIST, SOLID_BLUE[0])
            if expected == "quarters":
                self.assert_quadrants(middles, name)
                self.assertLess(max(x for x, _ in middles), CLOSED_LIST[0] + 40, name)
            elif expected == "blue":
                self.assertGreaterEqual(len(blue), 200, name)  # 16 x 16, less the edges
            else:
                self.assertEqual(middles, [None] * 4, name)
                self.assertLess(len(blue), 40, name)

        # The open list: the rows in order, each icon in its own row.
        popup = self.open_list(window)
        width, height, pixel = self.desktop.capture(popup)
        middles = self.quadrants_in(pixel, (0, 0, width, height))
        self.assert_quadrants(middles, "the open list")
        blue = places_of(pixel, (0, 0, width, height), SOLID_BLUE[0])
        self.assertGreaterEqual(len(blue), 200)
        blue_y = sum(y for _, y in blue) / len(blue)
        # The first quarters' row lies above the blue one, the second below it: their middle is
        # between, but both show.
        red_rows = sorted({y for _, y in places_of(pixel, (0, 0, width, height), QUARTERS[0])})
        self.assertLess(red_rows[0], blue_y)
        self.assertGreater(red_rows[-1], blue_y)
        self.desktop.keys(popup, "Escape")
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_at_twice_the_pixels_an_icon_is_drawn_at_the_screens_own(self):
        self.write("art/quarters.ico", quadrant_icon(32, QUARTERS))
        self.write_menu("Title", "$null$", "1", "'#icon: art\\quarters.ico", "Quarters", "$null$")
        self.desktop.run("xprop", "-root", "-remove", "RESOURCE_MANAGER")
        self.start(dict(self.desktop.env, GDK_SCALE="2"))
        window = self.desktop.wait_window("^Title$")
        self.desktop.keys(window, "Tab", "Tab", "Down", "Tab")
        _, _, pixel = self.desktop.capture(window)
        area = tuple(2 * value for value in CLOSED_LIST)
        self.assert_quadrants(self.quadrants_in(pixel, area), "at scale 2")
        # Every pixel between the quadrants' outer ones is one of their colours: an icon loaded at
        # the layout's pixels and stretched twice as wide blurs each border into a line of mixed
        # colours.
        places = [place for color in QUARTERS for place in places_of(pixel, area, color)]
        xs, ys = [x for x, _ in places], [y for _, y in places]
        mixed = [(x, y) for y in range(min(ys) + 1, max(ys)) for x in range(min(xs) + 1, max(xs))
                 if not any(near(pixel(x, y), color, 24) for color in QUARTERS)]
        self.assertEqual(mixed, [])
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def window_icons(self, window):
        return net_wm_icons(self.desktop.run("xprop", "-id", str(window), "-f", "_NET_WM_ICON",
                                             "32c", "=$0+", "_NET_WM_ICON").stdout)

    def test_the_window_icon_replaces_the_programs_own(self):
        self.write_menu("Title", "$null$", "1", "Leave", "$exit$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        own = self.window_icons(window)
        self.desktop.request_close(window)
        self.ended()

        self.write("art/window.ico", quadrant_icon(64, QUARTERS))
        self.write_menu("'#window-icon: art\\window.ico", "Title", "$null$", "1", "Leave",
                        "$exit$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        icons = self.window_icons(window)
        # 16, 24, 32 and 48 pixels at 96 DPI, each of the quadrants.
        self.assertEqual(sorted(side for side, _, _ in icons), [16, 24, 32, 48])
        for side, _, pixel in icons:
            for quarter, (x, y) in enumerate([(1, 1), (side - 2, 1), (1, side - 2),
                                              (side - 2, side - 2)]):
                self.assertTrue(near(pixel(x, y)[:3], QUARTERS[quarter]), (side, quarter))
        self.assertNotEqual([pixel(1, 1) for _, _, pixel in own][:1],
                            [pixel(1, 1) for _, _, pixel in icons][:1])
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_a_folder_of_the_medium_opens_in_the_desktops_file_manager(self):
        os.makedirs(os.path.join(self.medium, "docs", "Manuals"))
        opened = os.path.join(self.medium, "opened.txt")
        self.write("desktop/files.sh",
                   '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % opened, executable=True)
        self.write("desktop/data/applications/tolvar-files.desktop",
                   "[Desktop Entry]\nType=Application\nName=Files\nMimeType=inode/directory;\n"
                   "Exec=%s %%u\n" % os.path.join(self.medium, "desktop", "files.sh"))
        self.write("desktop/config/mimeapps.list",
                   "[Default Applications]\ninode/directory=tolvar-files.desktop\n")
        data = os.path.join(self.medium, "desktop", "data")
        config = os.path.join(self.medium, "desktop", "config")
        for name in ("glib-2.0", "mime"):
            os.symlink(os.path.join("/usr/share", name), os.path.join(data, name))
        env = dict(self.desktop.env, XDG_DATA_HOME=data, XDG_DATA_DIRS=data,
                   XDG_CONFIG_HOME=config, XDG_CONFIG_DIRS=config)
        self.write_menu("Title", "$null$", "3", "Manuals", "docs\\manuals\\", "Docs", "docs/",
                        "Docs without the separator", "docs")
        self.start(env=env)
        window = self.desktop.wait_window("^Title$")
        def lines():
            if not os.path.exists(opened):
                return []
            with open(opened) as file:
                return file.read().splitlines()
        for count in (1, 2):
            self.choose(window, 1)
            self.desktop.keys(window, "Return")
            wait_until(lambda: len(lines()) == count, what="the file manager")
        # GIO hands a local folder over as its path, or as a file: URI to a program that asks for
        # one.
        uris = [line.rstrip("/").replace("file://", "", 1) for line in lines()]
        root = os.path.realpath(self.medium)
        self.assertEqual(uris, [root + "/docs/Manuals", root + "/docs"])
        self.assertEqual(self.desktop.windows(BOX_TITLE), [])

        # Without its separator a folder is no file to start: as it always was.
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.dismiss_box("Can't find file!!")
        self.assertIsNone(self.menu.poll(), "the menu stays open")


load_tests = only_own_tests(IconsTest)


if __name__ == "__main__":
    unittest.main()
