"""End-to-end tests of tolvar-autorun.exe under Wine with the menu file's pictures and folders: the
entries' icons in the owner-drawn list (each item's icon number, and the icon on the screen), the
window's own icon, and a folder of the medium opened by a stand-in file manager.

Set TOLVAR_EXE, TOLVAR_RECORDER, TOLVAR_WINDOW_CONTROLS and WINEPREFIX, as for win32_window_test.py.
Run one test: win32_icons_test.py IconsTest.test_name
"""
import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from icon_files import net_wm_icons, quadrant_icon  # noqa: E402
from wine_medium import (BLUE, GREEN, RECORDER, RED, TITLE, YELLOW, MediumTest,  # noqa: E402
                         close_to)

QUADRANTS = (RED, GREEN, BLUE, YELLOW)
CBS_OWNERDRAWFIXED, CBS_HASSTRINGS = 0x10, 0x200


class IconsTest(MediumTest):
    def combo(self):
        controls = self.controls(TITLE)
        combos = [c for c in controls["controls"] if c["class"].lower() == "combobox"]
        self.assertEqual(len(combos), 1)
        return controls, combos[0]

    def quadrants_on_screen(self, window, controls, combo):
        """Where each quadrant colour shows in the closed list: the middle of its pixels, or None
        where fewer than a quarter of a 16-pixel icon's show it."""
        _, _, pixel = self.desktop.capture(window)
        left, top = controls["window"][0], controls["window"][1]
        x0, y0, x1, y1 = combo["screen"]
        middles = []
        for color in QUADRANTS:
            found = [(x, y) for y in range(y0 - top, y1 - top) for x in range(x0 - left, x1 - left)
                     if close_to(pixel(x, y), color)]
            middles.append((sum(x for x, _ in found) / len(found),
                            sum(y for _, y in found) / len(found)) if len(found) >= 40 else None)
        return middles

    def test_icons_show_in_the_list_and_the_window_takes_its_own(self):
        self.write("art\\quarters.ico", quadrant_icon(32, QUADRANTS))
        self.write("art\\window.ico", quadrant_icon(64, QUADRANTS))
        self.write("art\\notes.ico", "no picture at all")
        captions = ["Quarters", "Plain", "Broken", "Quarters again"]
        self.write_menu("'#window-icon: art\\window.ico", TITLE, "$null$", "4",
                        "'#icon: art\\quarters.ico", captions[0], "$null$",
                        captions[1], "$null$",
                        "'#icon: art\\notes.ico", captions[2], "$null$",
                        "'#icon: art\\quarters.ico", captions[3], "$null$")
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        controls, combo = self.combo()
        # Still the system's combo box, with its texts, now owner-drawn; each file loaded once.
        self.assertEqual(combo["items"], ["Please Select..."] + captions)
        self.assertEqual(combo["style"] & (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS),
                         CBS_OWNERDRAWFIXED | CBS_HASSTRINGS)
        self.assertEqual(combo["item_data"], [0, 1, 0, 0, 1])
        # The closed list keeps its designed height (315 twips) and place in the keyboard order.
        self.assertEqual(combo["rect"][3], 21)
        self.assertEqual([c["class"].lower() for c in controls["controls"]],
                         ["button", "button", "combobox"])

        # The prompt shows no icon; the first entry its quadrants, left of its caption.
        self.assertEqual(self.quadrants_on_screen(window, controls, combo), [None] * 4)
        self.desktop.keys(window, "Tab", "Tab", "Down")
        middles = self.quadrants_on_screen(window, controls, combo)
        self.assertNotIn(None, middles)
        (red_x, red_y), (green_x, _), (_, blue_y), _ = middles
        self.assertLess(red_x, green_x)
        self.assertLess(red_y, blue_y)
        self.assertLess(green_x - (combo["screen"][0] - controls["window"][0]), 30)
        # Letters still choose: P is the entry without an icon.
        self.desktop.keys(window, "p")
        self.assertEqual(self.quadrants_on_screen(window, controls, combo), [None] * 4)

        # Wine hands the window's icons (WM_SETICON) to X, where another process reads them: the
        # quadrants at every size.
        xprop = self.desktop.run("xprop", "-id", str(window), "-f", "_NET_WM_ICON", "32c",
                                 "=$0+", "_NET_WM_ICON").stdout
        icons = net_wm_icons(xprop)
        self.assertTrue(icons, xprop[:200])
        for side, _, pixel in icons:
            for quarter, (x, y) in enumerate([(1, 1), (side - 2, 1), (1, side - 2),
                                              (side - 2, side - 2)]):
                self.assertTrue(close_to(pixel(x, y)[:3], QUADRANTS[quarter]), (side, quarter))
        self.desktop.keys(window, "Tab", "Tab", "Return")  # Quit
        self.assert_exits(0)

    def test_a_folder_of_the_medium_opens_in_the_file_manager(self):
        os.makedirs(os.path.join(self.medium, "docs", "Manuals"))
        shutil.copy(RECORDER, os.path.join(self.medium, "files.exe"))
        # A stand-in file manager for folders in place of Wine's own (a DDE conversation with
        # its explorer), put back as it was afterwards: Wine's shell, as Windows', opens a folder
        # with the "Folder" class's verb, and reads the machine's classes alone.
        verb = r"HKLM\Software\Classes\Folder\shell\open"
        saved = self.windows_path("folder-verb.reg")
        self.assertEqual(self.desktop.run("wine", "reg", "export", verb, saved, "/y").returncode, 0)
        self.desktop.run("wine", "reg", "delete", verb + r"\ddeexec", "/f")
        files = f'"{self.windows_path()}\\files.exe" "%1"'
        self.assertEqual(self.desktop.run("wine", "reg", "add", verb + r"\command", "/ve", "/d",
                                          files, "/f").returncode, 0)
        try:
            self.write_menu(TITLE, "$null$", "2", "Manuals", "docs\\Manuals\\", "Without",
                            "docs")
            self.start()
            window = self.desktop.wait_titled(TITLE, program=self.program)
            self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
            opened = self.wait_for_records(1)[0]
            # Without the ending backslash, which would escape the quote after "%1".
            self.assertEqual(opened["args"][1:], [self.windows_path("docs/Manuals")])
            self.assert_no_box()
            # Without its separator a folder is no file to start.
            self.desktop.keys(window, "Down", "Return")
            box = self.desktop.wait_titled("Kestova", program=self.program)
            self.desktop.keys(box, "Return")
            self.assertEqual(len(self.records()), 1)
        finally:
            self.desktop.run("wine", "reg", "delete", verb, "/f")
            self.desktop.run("wine", "reg", "import", saved)


if __name__ == "__main__":
    unittest.main()
