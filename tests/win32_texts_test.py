"""End-to-end tests of tolvar-autorun.exe under Wine in a private Xvfb: the menu file of the
user's language with the author's own texts, a right-to-left menu, and the picture's description
for screen readers. Set what tests/support/wine_medium.py names.
Run one test: win32_texts_test.py TextsTest.test_a_right_to_left_menu_is_mirrored_but_its_picture_is_not
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from wine_medium import TITLE, MediumTest, quadrant_bmp  # noqa: E402

WS_EX_LAYOUTRTL = 0x00400000
WS_EX_RTLREADING = 0x00002000
WS_TABSTOP = 0x00010000
GERMAN_TITLE = "Deutsches Medium"
# Entries whose description gives the window its description row, made after the menu's
# direction is known, and an entry that ends the menu.
ENTRIES = ["2", "'#description: Installs the product", "Install", "$null$", "Leave", "$exit$"]


def menu_file(*lines):
    return "\r\n".join(lines) + "\r\n"


class TextsTest(MediumTest):
    def start_in(self, locale):
        """Starts the menu with `locale` as the user's: Wine takes the preferred UI language from
        the program's LC_ALL (given to the menu alone, nothing to put back)."""
        return self.start(env={"LC_ALL": locale})

    def close(self, title):
        self.desktop.request_close(self.desktop.wait_titled(title, program=self.program))
        self.assert_exits(0)

    def test_the_users_language_chooses_the_menu_file_and_its_own_texts(self):
        self.write_menu("English medium", "$null$", "1", "Install", "missing\\setup.exe")
        self.write("menu\\config.de.mnu", menu_file(
            "'#prompt: Bitte w\u00e4hlen...", "'#launch-caption: Starten",
            "'#quit-caption: Beenden", "'#not-found-message: Datei nicht gefunden!",
            GERMAN_TITLE, "$null$", "1", "Installieren", "fehlt\\setup.exe"))
        self.write("menu\\config.pt.mnu", menu_file(
            "Meio em portugu\u00eas", "$null$", "1", "Instalar", "$exit$"))

        self.start_in("de_DE.UTF-8")
        window = self.desktop.wait_titled(GERMAN_TITLE, program=self.program)
        controls = self.controls(GERMAN_TITLE)["controls"]
        self.assertEqual([c["text"] for c in controls[:2]], ["Starten", "Beenden"])
        self.assertEqual(controls[2]["items"], ["Bitte w\u00e4hlen...", "Installieren"])
        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.assertIn("Datei nicht gefunden!",
                      [c["text"] for c in self.controls("Kestova")["controls"]])
        self.desktop.keys(box, "Return")
        self.desktop.wait_gone(box)
        self.close(GERMAN_TITLE)

        # Brazilian Portuguese has no file of its own: Portuguese is next.
        self.start_in("pt_BR.UTF-8")
        self.close("Meio em portugu\u00eas")
        # A language without a file: the plain one, with the program's own texts.
        self.start_in("fr_FR.UTF-8")
        self.desktop.wait_titled("English medium", program=self.program)
        texts = [c["text"] for c in self.controls("English medium")["controls"]]
        self.assertNotIn("Starten", texts)
        self.close("English medium")

    def test_the_authors_message_texts_and_box_title_and_texts_too_heavy_to_shape(self):
        heavy = "a" + "\u0301" * 32000
        self.write("broken.exe", "MZ")  # no program Windows can start
        self.write("liesmich.tolvar-unregistered", "Lies mich\r\n")  # no program opens its type
        self.write_menu("'#message-title: Hinweis", "'#not-found-message: Datei fehlt",
                        "'#cannot-start-message: Kann nicht starten",
                        "'#no-program-message: Kein Programm \u00f6ffnet diese Art Datei.",
                        "'#launch-caption: " + heavy, TITLE, "$null$", "3", "Fehlt", "fehlt.exe",
                        "Kaputt", "broken.exe", "Lies mich", "liesmich.tolvar-unregistered")
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.assertEqual(self.controls(TITLE)["controls"][0]["text"], heavy[:256])
        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        box = self.desktop.wait_titled("Hinweis", program=self.program)
        self.assertIn("Datei fehlt", [c["text"] for c in self.controls("Hinweis")["controls"]])
        self.desktop.keys(box, "Return")
        self.desktop.wait_gone(box)

        # The focus is back on the list, where Return pressed Launch.
        self.desktop.keys(window, "Down", "Return")
        box = self.desktop.wait_titled("Hinweis", program=self.program)
        texts = [c["text"] for c in self.controls("Hinweis")["controls"]]
        self.assertTrue(any(text.startswith("Kann nicht starten") and "broken.exe" in text
                            for text in texts), texts)
        self.desktop.keys(box, "Return")
        self.desktop.wait_gone(box)

        # A document no program is set to open: said so, in the author's words, with the file.
        self.desktop.keys(window, "Down", "Return")
        box = self.desktop.wait_titled("Hinweis", program=self.program)
        texts = [c["text"] for c in self.controls("Hinweis")["controls"]]
        self.assertIn('Kein Programm \u00f6ffnet diese Art Datei.\n\n"liesmich.tolvar-unregistered"',
                      [text.replace("\r\n", "\n") for text in texts])
        self.desktop.keys(box, "Return")
        self.desktop.wait_gone(box)
        self.close(TITLE)

    def mirrored_places(self, ltr, rtl):
        """Each control of `rtl` as far from its window's right edge as it is from the left in
        `ltr`, at the same height: the client area is mirrored (Wine's frame is equal all round)."""
        ltr_left, ltr_top = ltr["window"][:2]
        rtl_top, rtl_right = rtl["window"][1], rtl["window"][2]
        for before, after in zip(ltr["controls"], rtl["controls"]):
            self.assertEqual(before["class"], after["class"])
            left, top, right, bottom = before["screen"]
            self.assertEqual((left - ltr_left, top - ltr_top, right - left, bottom - top),
                             (rtl_right - after["screen"][2], after["screen"][1] - rtl_top,
                              after["screen"][2] - after["screen"][0],
                              after["screen"][3] - after["screen"][1]), after["class"])

    def test_a_right_to_left_menu_is_mirrored_but_its_picture_is_not(self):
        self.write("menu\\splash.bmp", quadrant_bmp(64, 32))
        self.write_menu(TITLE, "menu\\splash.bmp", *ENTRIES)
        self.start()
        self.desktop.wait_titled(TITLE, program=self.program)
        ltr = self.controls(TITLE)
        self.close(TITLE)
        self.assertFalse(ltr["ex_style"] & WS_EX_LAYOUTRTL)
        for ex_style in [ltr["ex_style"]] + [c["ex_style"] for c in ltr["controls"]] + \
                ltr["open_lists"]:
            self.assertFalse(ex_style & WS_EX_RTLREADING)

        self.write_menu("'#direction: right-to-left", TITLE, "menu\\splash.bmp", *ENTRIES)
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        rtl = self.controls(TITLE)
        self.assertTrue(rtl["ex_style"] & WS_EX_LAYOUTRTL)
        # No description of the picture: nothing names it, as left to right.
        self.assertEqual([c["class"].lower() for c in rtl["controls"]],
                         ["button", "button", "combobox", "static"])
        # Each control mirrored itself (the list's button on its left, the row's text on its
        # right), the description row too, which is made once the direction is known.
        for control in rtl["controls"]:
            self.assertTrue(control["ex_style"] & WS_EX_LAYOUTRTL, control["class"])
        # And each reads right to left, the title, the open list and the description row too:
        # mixed Hebrew and Latin text runs in the order of its reading.
        self.assertTrue(rtl["ex_style"] & WS_EX_RTLREADING)
        for control in rtl["controls"]:
            self.assertTrue(control["ex_style"] & WS_EX_RTLREADING, control["class"])
        self.assertEqual(len(rtl["open_lists"]), 1)
        self.assertTrue(rtl["open_lists"][0] & WS_EX_RTLREADING, "the open list")
        self.mirrored_places(ltr, rtl)
        go_box, exit_box, menu = (c["screen"] for c in rtl["controls"][:3])
        self.assertLess(exit_box[2], go_box[0])  # Exit_Box left of Go_Box
        self.assertLess(go_box[2], menu[0])  # and the list on the right
        self.check_picture(window, right_to_left=True, description_row=True)
        # The keys go through the controls in the same order.
        self.desktop.keys(window, "Tab", "Tab", "Down", "Down", "Return")
        self.assert_exits(0)

    def test_the_pictures_description_is_what_a_screen_reader_finds_for_it(self):
        description = "A flag: red & green above, blue and yellow below"
        self.write("menu\\splash.bmp", quadrant_bmp(64, 32))
        self.write_menu("'#direction: right-to-left", "'#picture-description: " + description,
                        TITLE, "menu\\splash.bmp", *ENTRIES)
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        controls = self.controls(TITLE)
        # Named first, as the picture is first on screen; the other controls as without it.
        self.assertEqual([c["class"].lower() for c in controls["controls"]],
                         ["static", "button", "button", "combobox", "static"])
        name = controls["controls"][0]
        self.assertEqual(name["text"], description)
        self.assertFalse(name["style"] & WS_TABSTOP, "the picture must take no focus")
        self.assertTrue(name["style"] & 0x10000000, "hidden windows are passed over (WS_VISIBLE)")
        # Over the picture area (7335 x 1815 twips, 120 in from the right and the top), which
        # shows the picture, in its own orientation, rather than the text.
        frame = (controls["window"][2] - controls["window"][0] - controls["client"][0]) // 2
        left, top, right, bottom = name["screen"]
        self.assertEqual((controls["window"][2] - frame - right, right - left, bottom - top),
                         (8, 489, 121))
        self.assertEqual(controls["window"][3] - frame - controls["client"][1] + 8, top)
        self.check_picture(window, right_to_left=True, description_row=True)
        # Tab and the arrows never stop on it: Left from Go_Box goes round to the list.
        self.desktop.keys(window, "Left", "Down", "Down", "Return")
        self.assert_exits(0)


if __name__ == "__main__":
    unittest.main()
