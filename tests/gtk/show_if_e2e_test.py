"""End-to-end tests of '#show-if: in the Linux window: the real program in a private Xvfb, with the
fixture of window_e2e_test.py, its list read back through the accessibility tree. The machine's
architecture comes from uname(); a stand-in loaded with LD_PRELOAD (TOLVAR_UNAME_STAND_IN) answers
for the architectures this machine is not.

Run one test: show_if_e2e_test.py ShowIfTest.test_name (TOLVAR_AUTORUN names the program)."""
import os
import sys
import tempfile
import shutil
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import wait_until  # noqa: E402
from window_e2e_test import PROMPT, MenuWindowTest  # noqa: E402

STAND_IN = os.environ.get("TOLVAR_UNAME_STAND_IN", "")
UNAME_ARCHITECTURES = {"x86_64": "x64", "aarch64": "arm64", "i686": "x86"}


class ShowIfTest(MenuWindowTest):
    def listed(self, env):
        """The entries the menu lists when started with `env`; the menu is closed again."""
        self.start(env=env)
        window = self.desktop.wait_window("^Title$")
        items = [item["name"] for item in self.combo()["children"][0]["children"]]
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))
        return items

    def launch(self, env, position, name, count):
        """Starts the menu with `env`, launches list position `position` and waits for the
        program `name` to note itself as the `count`th start."""
        self.start(env=env)
        window = self.desktop.wait_window("^Title$")
        self.choose(window, position)
        self.desktop.keys(window, "Return")
        wait_until(lambda: len(self.recorded()) == count, what=name + " to start")
        self.assertEqual(self.recorded()[-1][0], name)
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_entries_show_by_the_machines_architecture_and_hidden_ones_still_count(self):
        self.assertTrue(os.path.isfile(STAND_IN), "set TOLVAR_UNAME_STAND_IN")
        for name in ("x64.sh", "arm.sh", "x86.sh", "all.sh"):
            self.write_helper(name)
        self.write_menu("Title", "$null$", "6",
                        "'#show-if: x64", "For x64", "programs\\x64.sh",
                        "'#show-if: arm64", "For ARM64", "programs\\arm.sh",
                        "'#show-if: x86", "For x86", "programs\\x86.sh",
                        "'#show-if: windows", "On Windows", "$null$",
                        "'#show-if: linux", "'#show-if: arm64", "Linux on ARM64",
                        "programs\\arm.sh",
                        "Everywhere", "programs\\all.sh")
        expected = {
            "x64": [PROMPT, "For x64", "Everywhere"],
            "arm64": [PROMPT, "For ARM64", "Linux on ARM64", "Everywhere"],
            "x86": [PROMPT, "For x86", "Everywhere"],
        }
        for machine, architecture in UNAME_ARCHITECTURES.items():
            env = dict(self.desktop.env, LD_PRELOAD=STAND_IN, TOLVAR_STAND_IN_MACHINE=machine)
            self.assertEqual(self.listed(env), expected[architecture], machine)
        # This machine, as it answers itself.
        own = UNAME_ARCHITECTURES.get(os.uname().machine)
        if own is not None:
            self.assertEqual(self.listed(self.desktop.env), expected[own])

        # The entries after the hidden ones start their own programs.
        arm = dict(self.desktop.env, LD_PRELOAD=STAND_IN, TOLVAR_STAND_IN_MACHINE="aarch64")
        self.launch(arm, 2, "arm.sh", 1)
        self.launch(arm, 3, "all.sh", 2)

    def test_entries_show_by_files_and_folders_and_never_by_windows_or_its_registry(self):
        home = tempfile.mkdtemp(prefix="tolvar-home-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        os.mkdir(os.path.join(home, ".tool"))
        for name in ("tool.sh", "nokey.sh"):
            self.write_helper(name)
        absolute = os.path.join(self.medium, "programs")
        conditions = [
            ("exists programs\\tool.sh", "Start tool", True),
            ("missing programs\\tool.sh", "Install tool", False),
            ("exists PROGRAMS\\TOOL.SH", "Any case", True),  # as on Windows
            ("exists ~/.tool", "Configured", True),
            ("missing ~/.tool", "Not configured", False),
            ("exists " + absolute, "Absolute folder", True),
            ("missing " + absolute + "/none", "Absolute missing", True),
            ("exists %ProgramFiles%\\programs", "Program files", False),
            ("windows >= 10", "Windows 10", False),
            ("key HKLM\\Software\\Tool", "Key", False),
            ("no-key HKLM\\Software\\Tool", "No key", True),
            ("amiga", "Unknown", True),  # hides nothing
        ]
        lines = []
        for condition, caption, _ in conditions:
            lines += ["'#show-if: " + condition, caption,
                      "programs\\nokey.sh" if caption == "No key" else "programs\\tool.sh"]
        self.write_menu("Title", "$null$", str(len(conditions)), *lines)
        env = dict(self.desktop.env, HOME=home)
        self.assertEqual(self.listed(env),
                         [PROMPT] + [caption for _, caption, shown in conditions if shown])
        # Without the folder in the home folder, the other of the pair shows.
        os.rmdir(os.path.join(home, ".tool"))
        listed = self.listed(env)
        self.assertIn("Not configured", listed)
        self.assertNotIn("Configured", listed)
        self.launch(env, listed.index("No key"), "nokey.sh", 1)


if __name__ == "__main__":
    unittest.main()
