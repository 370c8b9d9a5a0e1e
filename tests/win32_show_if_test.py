"""End-to-end tests of '#show-if: in tolvar-autorun.exe under Wine in a private Xvfb: entries shown
and hidden by the machine's architecture, by the Windows release (Wine's own version setting, which
the system reports as the real one), by a registry key and by files and folders, the list read
back from the window. Set what tests/support/wine_medium.py names and TOLVAR_MACHINE_STAND_IN
(tests/support/machine_stand_in.c).
Run one test: win32_show_if_test.py ShowIfTest.test_name
"""
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "support"))
from wine_medium import RECORDER, TITLE, MediumTest  # noqa: E402

# Starts the menu on a system that answers IsWow64Process2 as the machine it is given.
MACHINE_STAND_IN = os.environ.get("TOLVAR_MACHINE_STAND_IN", "")

# A key no Wine prefix has, made by the test and taken away after it.
TEST_KEY = "Software\\Tolvar Show-If Test"
PROMPT = "Please Select..."


class ShowIfTest(MediumTest):
    def reg(self, *arguments):
        result = subprocess.run(["wine", "reg", *arguments], env=self.desktop.env,
                                capture_output=True)
        return result.returncode

    def windows_version(self, version):
        """Programs started from now on are told `version` ("win7") by the system; the test's
        end puts Wine's own back."""
        self.addCleanup(self.reg, "delete", "HKCU\\Software\\Wine", "/v", "Version", "/f")
        self.assertEqual(self.reg("add", "HKCU\\Software\\Wine", "/v", "Version", "/t", "REG_SZ",
                                  "/d", version, "/f"), 0)

    def listed(self, machine=None):
        """The entries the menu lists, on a system that answers as `machine` (IMAGE_FILE_MACHINE_
        number in hex) when given; the menu is closed again."""
        self.start(through=(MACHINE_STAND_IN, machine) if machine else ())
        window = self.desktop.wait_titled(TITLE, program=self.program)
        items = self.controls(TITLE)["controls"][2]["items"]
        self.desktop.request_close(window)
        self.assert_exits(0)
        return items

    def test_entries_show_by_the_machines_architecture_and_the_windows_release(self):
        # A 64-bit prefix is a 64-bit machine for either build of the menu; a 32-bit one, x86.
        machine = "For x64" if os.environ.get("WINEARCH") == "win64" else "For x86"
        self.write_menu(TITLE, "$null$", "10",
                        "'#show-if: x64", "For x64", "$null$",
                        "'#show-if: arm64", "For ARM64", "$null$",
                        "'#show-if: x86", "For x86", "$null$",
                        "'#show-if: linux", "On Linux", "$null$",
                        "'#show-if: windows", "On Windows", "$null$",
                        "'#show-if: windows >= 10", "From 10", "$null$",
                        "'#show-if: windows < 10", "Before 10", "$null$",
                        "'#show-if: windows = 7", "Just 7", "$null$",
                        "'#show-if: windows >= 8", "'#show-if: windows <= 8.1", "8 or 8.1", "$null$",
                        "'#show-if: windows > 10", "From 11", "$null$")
        # Wine 8 reports no Windows 11; where 11 begins is the unit tests' to show.
        for version, by_release in [
                ("win7", ["Before 10", "Just 7"]),
                ("win81", ["Before 10", "8 or 8.1"]),
                ("win10", ["From 10"])]:
            self.windows_version(version)
            listed = self.listed()
            self.assertEqual(listed[1], machine, version)
            self.assertNotIn("For ARM64", listed)
            self.assertNotIn("On Linux", listed)
            self.assertEqual(listed[-len(by_release) - 1:], ["On Windows"] + by_release, version)

    def test_entries_show_by_the_machine_a_stand_in_answers_as(self):
        # Wine is never ARM64; the stand-in makes the system's own answer one, for the real .exe.
        self.assertTrue(os.path.isfile(MACHINE_STAND_IN), "set TOLVAR_MACHINE_STAND_IN")
        self.write_menu(TITLE, "$null$", "4",
                        "'#show-if: x64", "For x64", "$null$",
                        "'#show-if: arm64", "For ARM64", "$null$",
                        "'#show-if: x86", "For x86", "$null$",
                        "'#show-if: windows", "On Windows", "$null$")
        # ARM Thumb-2 (1c4) is a machine no condition names: none of the three holds there.
        for machine, shown in [("aa64", ["For ARM64"]), ("8664", ["For x64"]), ("1c4", [])]:
            self.assertEqual(self.listed(machine), [PROMPT, *shown, "On Windows"], machine)

    def test_entries_show_by_a_registry_key_and_by_files_and_folders(self):
        self.addCleanup(self.reg, "delete", "HKLM\\" + TEST_KEY, "/f")
        self.assertEqual(self.reg("add", "HKLM\\" + TEST_KEY, "/f"), 0)
        shutil.copy(RECORDER, self.write("setup\\tool.exe", b""))
        conditions = [
            ("key HKLM\\" + TEST_KEY, "Key", True),
            ("no-key HKLM\\" + TEST_KEY, "No key", False),
            ("key HKCU\\" + TEST_KEY, "User key", False),
            ("no-key HKCU\\" + TEST_KEY, "No user key", True),
            ("exists setup\\tool.exe", "Start tool", True),
            ("missing setup\\tool.exe", "Install tool", False),
            ("exists " + self.windows_path("setup"), "Absolute folder", True),
            ("exists %SystemRoot%\\system32", "System folder", True),
            ("exists %ProgramFiles%\\No Such Tool", "Tool installed", False),
            ("missing %ProgramFiles%\\No Such Tool", "Tool not installed", True),
            ("exists ~/setup", "Home", False),
        ]
        lines = []
        for condition, caption, _ in conditions:
            lines += ["'#show-if: " + condition, caption, "setup\\tool.exe"]
        self.write_menu(TITLE, "$null$", str(len(conditions)), *lines)
        listed = self.listed()
        self.assertEqual(listed, [PROMPT] + [caption for _, caption, shown in conditions if shown])

        # Without the key, the other of the pair shows; an entry after hidden ones starts its
        # program.
        self.assertEqual(self.reg("delete", "HKLM\\" + TEST_KEY, "/f"), 0)
        listed = self.listed()
        self.assertIn("No key", listed)
        self.assertNotIn("Key", listed)
        self.start()
        window = self.desktop.wait_titled(TITLE, program=self.program)
        self.desktop.keys(window, "Tab", "Tab", *["Down"] * listed.index("Start tool"), "Return")
        self.assertEqual(len(self.wait_for_records(1)), 1)
        self.desktop.request_close(window)
        self.assert_exits(0)


if __name__ == "__main__":
    unittest.main()
