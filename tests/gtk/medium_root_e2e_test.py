"""End-to-end tests of how the Linux menu finds its medium when it is started the way people start
it: by its full path from a terminal in another folder, or by a launcher whose working folder is
elsewhere. The real program, copied onto a medium in a temporary directory, in a private Xvfb,
with the fixture of window_e2e_test.py.

Run one test: medium_root_e2e_test.py MediumRootTest.test_name (TOLVAR_AUTORUN names the program)."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import find_accessible, wait_until  # noqa: E402
from window_e2e_test import BOX_TITLE, MENU_TITLE, PROGRAM, MenuWindowTest  # noqa: E402


class MediumRootTest(MenuWindowTest):
    def start_from(self, folder, program):
        """Starts `program` by its full path with `folder` as the working folder."""
        self.stderr = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(self.stderr.close)
        self.menu = subprocess.Popen([program], cwd=folder, env=self.desktop.env,
                                     stdout=subprocess.DEVNULL, stderr=self.stderr)
        return self.menu

    def elsewhere(self):
        folder = tempfile.mkdtemp(prefix="tolvar-home-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        return folder

    def copy_program(self):
        """The menu in the medium's root, as the kit puts it there."""
        program = os.path.join(self.medium, "tolvar-autorun")
        shutil.copy(shutil.which(PROGRAM) or PROGRAM, program)
        return program

    def test_started_by_full_path_from_another_folder_it_opens_its_medium_and_launches(self):
        self.write_helper("record.sh")
        self.write_menu("Title", "$null$", "1", "Record", "programs\\record.sh")
        program = self.copy_program()
        self.start_from(self.elsewhere(), program)
        window = self.desktop.wait_window("^Title$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        wait_until(lambda: len(self.recorded()) == 1, what="the entry to start")
        # The entry starts in the medium's root, as it does when the menu is started there.
        self.assertEqual(self.recorded()[0][:2], ["record.sh", os.path.realpath(self.medium)])
        self.assertIsNone(self.menu.poll(), "the menu stays open")

    def test_started_through_a_link_it_opens_the_medium_the_link_leads_to(self):
        # A launcher on the desktop, or a link in the PATH, to the program on the medium.
        self.write_menu("Linked", "$null$", "1", "Leave", "$exit$")
        program = self.copy_program()
        home = self.elsewhere()
        os.symlink(program, os.path.join(home, "menu-link"))
        self.start_from(home, os.path.join(home, "menu-link"))
        window = self.desktop.wait_window("^Linked$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.assertEqual(self.ended(), (0, ""))

    def test_a_working_folder_with_a_menu_file_is_the_medium_whatever_the_programs_folder(self):
        self.write_menu("Program's medium", "$null$", "1", "Leave", "$exit$")
        program = self.copy_program()
        other = self.elsewhere()
        os.makedirs(os.path.join(other, "MENU"))
        with open(os.path.join(other, "MENU", "CONFIG.MNU"), "w", newline="") as menu:
            menu.write("Working folder's medium\r\n$null$\r\n1\r\nLeave\r\n$exit$\r\n")
        self.start_from(other, program)
        self.desktop.wait_window("^Working folder's medium$")

    def test_with_a_menu_file_in_neither_folder_it_says_so_as_ever(self):
        program = self.copy_program()  # a medium without its menu folder
        self.start_from(self.elsewhere(), program)
        box = self.desktop.wait_window(BOX_TITLE)
        self.assertTrue(find_accessible(self.tree(), "label",
                                        "Can't locate menu options definition file."))
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_window(MENU_TITLE)
        self.desktop.keys(window, "Tab", "space")  # Exit_Box
        self.assertEqual(self.ended(), (0, ""))


if __name__ == "__main__":
    unittest.main()
