"""End-to-end tests of tolvar-autorun.exe under Wine in a private Xvfb, driven with xdotool.

Each test builds its own medium in a temporary directory and runs the real program on it. Set
TOLVAR_EXE (the menu), TOLVAR_RECORDER (tests/support/start_recorder.cc, which records how it was
started), TOLVAR_WINDOW_CONTROLS (tests/support/window_controls.cc, which reads the window's controls)
and WINEPREFIX.
Run one test: win32_window_test.py WindowTest.test_quit
"""
import os
import re
import shutil
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from desktop import wait_until  # noqa: E402
from icon_files import icon, quadrant_icon_images  # noqa: E402
from same_words import ARGUMENTS, WORDS  # noqa: E402
from wine_medium import (BLUE, DESIGN_TITLE, GREEN, RECORDER, RED, TITLE, YELLOW,  # noqa: E402
                         MediumTest)


class WindowTest(MediumTest):
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

    def test_an_icon_shows_its_largest_image_whether_a_bitmap_or_a_png(self):
        # The small images are black: only the largest may show, over the whole picture area.
        small_bitmap, small_png = quadrant_icon_images(16, [(0, 0, 0)] * 4)
        large_bitmap, large_png = quadrant_icon_images(48, (RED, GREEN, BLUE, YELLOW))
        self.write("menu\\bitmap.ico", icon((16, small_png), (48, large_bitmap)))
        self.write("menu\\png.ico", icon((48, large_png), (16, small_bitmap)))
        for name in ("bitmap.ico", "png.ico"):
            with self.subTest(name):
                self.write_menu(TITLE, "menu\\" + name, "1", "Leave", "$exit$")
                self.start()
                window = self.desktop.wait_titled(TITLE, program=self.program)
                self.check_picture(window)
                self.desktop.keys(window, "Tab", "space")
                self.assert_exits(0)

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

    def test_directives_choose_the_entries_and_shape_each_start(self):
        shutil.copy(RECORDER, self.write("setup\\install.exe", b""))
        os.makedirs(os.path.join(self.medium, "programs", "sub"))
        self.write_menu(TITLE, "$null$", "5",
                        "'#system: linux", "'#arguments: for Linux", "On Linux", "setup\\install.exe",
                        "'#system: windows", "'#arguments: " + ARGUMENTS,
                        "'#directory: programs\\sub", "Install", "setup\\install.exe",
                        "Plain", "setup\\install.exe",
                        "'#run-as: administrator", "'#arguments: " + ARGUMENTS,
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
        self.assertEqual(started["command_line"], f'"{program}" ' + ARGUMENTS)
        self.assertEqual(started["args"], [program] + WORDS)
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
        self.assertEqual(started["args"][1:], WORDS)
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
        # A quote would end the handler's "%1" and pass it arguments of the link's own; so would
        # a fullwidth one, which a handler that reads its ANSI command line sees as a real quote.
        link = ('https://example.org/setup?lang=de&step=1&q=a" --new-profile "b'
                '\uff02 --new-window \uff02x')
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
            encoded = "".join(c if " " < c < "\x7f" and c != '"' else
                              "".join(f"%{byte:02X}" for byte in c.encode()) for c in link)
            self.assertIn("%EF%BC%82", encoded)
            self.assertEqual(opened["args"][1:], [encoded])
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
