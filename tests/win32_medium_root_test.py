"""End-to-end tests of how tolvar-autorun.exe finds its medium when it is started from another
folder, as a shortcut whose "Start in" is elsewhere or a command prompt starts it: under Wine in a
private Xvfb, the real program copied into the root of a medium in a temporary directory.

Set TOLVAR_EXE, TOLVAR_RECORDER, TOLVAR_WINDOW_CONTROLS and WINEPREFIX as for win32_window_test.py.
Run one test: win32_medium_root_test.py MediumRootTest.test_name
"""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from wine_medium import DESIGN_TITLE, EXE, TITLE, MediumTest  # noqa: E402


class MediumRootTest(MediumTest):
    def start_from_elsewhere(self):
        """Starts the copy of the menu in the medium's root, by its full path, in another folder."""
        program = os.path.join(self.medium, "tolvar-autorun.exe")
        shutil.copy(EXE, program)
        elsewhere = tempfile.mkdtemp(prefix="tolvar-elsewhere-")
        self.addCleanup(shutil.rmtree, elsewhere, ignore_errors=True)
        record = "Z:" + self.record.replace("/", "\\")
        self.program = self.desktop.start_windows_program(
            program, elsewhere, env={"TOLVAR_START_RECORD": record})
        return self.program

    def test_started_from_another_folder_it_opens_its_medium_and_launches_there(self):
        self.full_medium()
        self.start_from_elsewhere()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.check_picture(window)
        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        record = self.wait_for_records(1)[0]
        self.assertEqual(record["command_line"], '"setup files\\install me.exe"')
        # The entry runs in the medium's root, the working folder the menu moved to.
        self.assertEqual(record["cwd"].rstrip("\\").lower(), self.windows_path().lower())
        self.assertIsNone(self.program.poll(), "the menu must stay open after a launch")

    def test_with_a_menu_file_in_neither_folder_it_says_so_as_ever(self):
        self.start_from_elsewhere()
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_titled(DESIGN_TITLE, program=self.program)
        self.desktop.keys(window, "Tab", "Return")
        self.assert_exits(0)


if __name__ == "__main__":
    unittest.main()
