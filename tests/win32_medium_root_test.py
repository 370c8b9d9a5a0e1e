"""End-to-end tests of how tolvar-autorun.exe finds its medium when it is started from another
folder, as a shortcut whose "Start in" is elsewhere or a command prompt starts it: under Wine in a
private Xvfb, the real program copied into the root of a medium in a temporary directory.

Set TOLVAR_EXE, TOLVAR_RECORDER, TOLVAR_WINDOW_CONTROLS and WINEPREFIX as for win32_window_test.py.
Run one test: win32_medium_root_test.py MediumRootTest.test_name
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from wine_medium import DESIGN_TITLE, EXE, TITLE, MediumTest  # noqa: E402


class MediumRootTest(MediumTest):
    def start_from_elsewhere(self, exe=EXE):
        """Starts a copy of the menu (`exe`) in the medium's root, by its full path, in another
        folder."""
        program = os.path.join(self.medium, "tolvar-autorun.exe")
        shutil.copy(exe, program)
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

    def test_signed_by_its_author_it_opens_its_medium_as_before(self):
        # What the guide tells authors to do after unzipping the kit: sign the menu with their own
        # certificate. The 32-bit kit's menu is signed and run in the release test where 32-bit
        # Wine runs; this build is what runs here.
        for tool in ("osslsigncode", "openssl"):
            if shutil.which(tool) is None:
                self.skipTest(tool + " is not installed: ./run installs it with the Linux build's "
                              "packages")
        keys = tempfile.mkdtemp(prefix="tolvar-signing-")
        self.addCleanup(shutil.rmtree, keys, ignore_errors=True)
        key, cert = os.path.join(keys, "author.key"), os.path.join(keys, "author.pem")
        signed = os.path.join(keys, "signed.exe")

        def run(*command):
            result = subprocess.run(command, capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, " ".join(command) + ": " + result.stdout
                             + result.stderr)
            return result
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
            "-subj", "/CN=Throwaway Medium Author", "-keyout", key, "-out", cert)
        run("osslsigncode", "sign", "-certs", cert, "-key", key, "-h", "sha256",
            "-n", "Tolvar Test Medium", "-in", EXE, "-out", signed)
        self.assertIn("Signature verification: ok",
                      run("osslsigncode", "verify", "-CAfile", cert, "-in", signed).stdout)

        self.full_medium()
        self.start_from_elsewhere(signed)
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.check_picture(window)
        self.desktop.keys(window, "Tab", "Tab", "Down", "Return")
        record = self.wait_for_records(1)[0]
        self.assertEqual(record["command_line"], '"setup files\\install me.exe"')

    def test_with_a_menu_file_in_neither_folder_it_says_so_as_ever(self):
        self.start_from_elsewhere()
        box = self.desktop.wait_titled("Kestova", program=self.program)
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_titled(DESIGN_TITLE, program=self.program)
        self.desktop.keys(window, "Tab", "Return")
        self.assert_exits(0)


if __name__ == "__main__":
    unittest.main()
