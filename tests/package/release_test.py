"""Checks the release files as their users meet them: the Windows kit unzipped as a medium and run
under Wine, the .deb listed, linted and run from an extracted copy, and two builds of one commit
compared byte for byte.

Usage: release_test.py DIST OTHER_DIST   (two `./run package` outputs of the same commit)
Set WINEPREFIX to use a Wine prefix other than the windows preset's. Where 32-bit Wine is missing,
TOLVAR_NO_WINE32 says why, and the kit's programs are checked without being run.
"""
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "support"))
from desktop import PrivateDesktop, wait_until  # noqa: E402

DIST, OTHER_DIST = (os.path.abspath(path) for path in sys.argv[1:3])
with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as cmake_lists:
    VERSION = re.search(r"project\(\S+ VERSION ([0-9.]+)", cmake_lists.read()).group(1)
KIT = f"tolvar-autorun-{VERSION}-windows.zip"
DEB = f"tolvar-autorun_{VERSION}_amd64.deb"
TGZ = f"tolvar-autorun-{VERSION}-linux-x86_64.tar.gz"
KIT_TITLE = "Tolvar Autorun - Demo Medium"
DOC = "usr/share/doc/tolvar-autorun/"


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def words(text):
    """The words of a licence text, whatever its wrapping and the "." paragraph lines of Debian's
    copyright format."""
    return " ".join(re.sub(r"^ \.$", "", text, flags=re.MULTILINE).split())


with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as licence_file:
    LICENSE = licence_file.read()
# What every release file must carry: the holder and the whole grant with its conditions.
LICENSE_GRANT = words(LICENSE[LICENSE.index("Permission is hereby granted"):])


def assert_carries_licence(test, copyright_text, where):
    test.assertIn("the tolvar-autorun authors", copyright_text, where)
    test.assertIn(LICENSE_GRANT, words(copyright_text), where)


class TwoBuildsTest(unittest.TestCase):
    def test_two_builds_give_the_same_bytes(self):
        self.assertEqual(sorted(os.listdir(DIST)), sorted([KIT, DEB, TGZ]))
        self.assertEqual(sorted(os.listdir(OTHER_DIST)), sorted(os.listdir(DIST)))
        for name in os.listdir(DIST):
            with open(os.path.join(DIST, name), "rb") as one, \
                    open(os.path.join(OTHER_DIST, name), "rb") as other:
                self.assertTrue(one.read() == other.read(), f"{name} differs between the builds")


class LinuxPackageTest(unittest.TestCase):
    def deb_entries(self):
        """{path without the leading "./": (mode, owner, mtime, is a directory)} of the .deb."""
        data = subprocess.run(["dpkg-deb", "--fsys-tarfile", os.path.join(DIST, DEB)],
                              capture_output=True, check=True).stdout
        with tempfile.TemporaryFile() as tar_file:
            tar_file.write(data)
            tar_file.seek(0)
            with tarfile.open(fileobj=tar_file) as tar:
                return {m.name.removeprefix("./"):
                        (m.mode, f"{m.uname}/{m.gname}", m.mtime, m.isdir()) for m in tar.getmembers() if m.name not in (".", "./")}

    def test_the_deb_holds_programs_and_pages_under_the_usual_paths_only(self):
        entries = self.deb_entries()
        for program in ("usr/bin/tolvar-autorun", "usr/bin/tolvar-menu-check"):
            self.assertEqual(entries[program][0], 0o755, program)
        for page in ("usr/share/man/man1/tolvar-autorun.1.gz",
                     "usr/share/man/man1/tolvar-menu-check.1.gz",
                     "usr/share/man/man5/config.mnu.5.gz", DOC + "copyright",
                     DOC + "changelog.gz", DOC + "tolvar-autorun-guide.txt",
                     DOC + "examples/menu/config.mnu"):
            self.assertIn(page, entries)
        with tempfile.TemporaryDirectory() as root:
            subprocess.run(["dpkg-deb", "-x", os.path.join(DIST, DEB), root], check=True)
            with open(os.path.join(root, DOC, "copyright"), encoding="utf-8") as copyright_file:
                assert_carries_licence(self, copyright_file.read(), DEB)
        usual = re.compile(r"usr/(bin/[^/]+|share/man/man[15]/[^/]+\.gz|share/doc/tolvar-autorun/.*)$")
        for path, (_, _, _, is_directory) in entries.items():
            self.assertTrue(usual.match(path) or is_directory and path in (
                "usr", "usr/bin", "usr/share", "usr/share/man", "usr/share/man/man1",
                "usr/share/man/man5", "usr/share/doc", DOC.rstrip("/")),
                            f"{path} is outside the usual paths")
            self.assertNotIn(".git", path)
        # Installed files belong to root and carry one time, whoever built them and when.
        self.assertEqual({entry[1] for entry in entries.values()}, {"root/root"})
        self.assertEqual(len({entry[2] for entry in entries.values()}), 1)

    def test_the_tarball_holds_what_the_deb_holds(self):
        with tarfile.open(os.path.join(DIST, TGZ)) as tar:
            top = TGZ.removesuffix(".tar.gz") + "/"
            files = {m.name.removeprefix(top) for m in tar.getmembers() if m.isfile()}
            copyright_file = tar.extractfile(top + "share/doc/tolvar-autorun/copyright")
            assert_carries_licence(self, copyright_file.read().decode("utf-8"), TGZ)
        deb_files = {path.removeprefix("usr/") for path, entry in self.deb_entries().items()
                     if not entry[3]}
        self.assertEqual(files, deb_files)

    def test_lintian_finds_no_error(self):
        result = run("lintian", "--fail-on", "error", os.path.join(DIST, DEB))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_the_programs_run_from_an_extracted_copy(self):
        with tempfile.TemporaryDirectory(prefix="tolvar-deb-") as root:
            subprocess.run(["dpkg-deb", "-x", os.path.join(DIST, DEB), root], check=True)
            checker = os.path.join(root, "usr/bin/tolvar-menu-check")
            menu = os.path.join(root, "usr/bin/tolvar-autorun")
            result = run(checker, "--version")
            self.assertEqual((result.returncode, result.stdout),
                             (0, f"tolvar-menu-check {VERSION}\n"))
            # The demo medium as installed passes the checker for Linux (it has no Windows menu
            # for its autorun.inf to start); the menu on it, with no display, reads it and says
            # why it cannot show it.
            examples = os.path.join(root, DOC, "examples")
            result = run(checker, "--target=linux", examples)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            environment = {k: v for k, v in os.environ.items()
                           if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
            result = run(menu, cwd=examples, env=environment, timeout=60)
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("cannot open the display", result.stderr)
            self.assertEqual(result.stdout, "")
            for page in ("man1/tolvar-autorun.1.gz", "man1/tolvar-menu-check.1.gz",
                         "man5/config.mnu.5.gz"):
                result = run("man", "--warnings", "-l", os.path.join(root, "usr/share/man", page),
                             env=dict(os.environ, MANPAGER="cat", MANWIDTH="80"))
                self.assertEqual((result.returncode, result.stderr), (0, ""), page)


class WindowsKitTest(unittest.TestCase):
    def setUp(self):
        self.medium = tempfile.mkdtemp(prefix="tolvar-kit-")
        with zipfile.ZipFile(os.path.join(DIST, KIT)) as kit:
            self.names = kit.namelist()
            kit.extractall(self.medium)

    def tearDown(self):
        shutil.rmtree(self.medium, ignore_errors=True)

    def test_the_kit_unzipped_is_a_medium_that_opens_and_launches_under_wine(self):
        self.assertEqual(sorted(name for name in self.names if not name.endswith("/")), [
            "LICENSE", "NOTICES.txt", "autorun.inf", "autorun.sh", "menu/config.mnu",
            "menu/splash.png", "tolvar-autorun-guide.txt", "tolvar-autorun.exe",
            "tolvar-menu-check.exe"])
        with open(os.path.join(self.medium, "LICENSE"), encoding="utf-8") as licence:
            assert_carries_licence(self, licence.read(), KIT)
        with open(os.path.join(self.medium, "NOTICES.txt"), encoding="utf-8") as notices:
            self.assertIn("mingw-w64", notices.read())
        # The version resource Explorer shows carries the project's one version number.
        for program in ("tolvar-autorun.exe", "tolvar-menu-check.exe"):
            with open(os.path.join(self.medium, program), "rb") as exe:
                image = exe.read()
            for key in ("FileVersion", "ProductVersion"):
                self.assertRegex(image, re.escape((key + "\0").encode("utf-16-le")) + b"(\0\0)?" +
                                 re.escape((VERSION + "\0").encode("utf-16-le")), program + key)
        # The stripped programs still ask for DLLs from the system directory alone.
        checked = run(sys.executable, os.path.join(ROOT, "tests/load_config_test.py"),
                      os.path.join(self.medium, "tolvar-autorun.exe"),
                      os.path.join(self.medium, "tolvar-menu-check.exe"))
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        if os.environ.get("TOLVAR_NO_WINE32"):
            self.skipTest("the kit's 32-bit programs need 32-bit Wine: "
                          + os.environ["TOLVAR_NO_WINE32"])

        prefix = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build/windows/wineprefix"))
        os.makedirs(os.path.dirname(prefix), exist_ok=True)
        subprocess.run([os.path.join(ROOT, "tests/wine_prefix.sh"), prefix], check=True)
        with PrivateDesktop(wine_prefix=prefix) as desktop:
            # The checker in the kit finds nothing wrong with the kit's own menu.
            checker = subprocess.run(["wine", "tolvar-menu-check.exe"], cwd=self.medium,
                                     env=desktop.env, capture_output=True, timeout=120)
            self.assertEqual(checker.returncode, 0, checker.stdout + checker.stderr)

            # Every Windows opens .txt files with Notepad; Wine's prefix has Notepad's file type
            # but does not map .txt to it. The mapping goes when the test ends.
            txt = r"HKCR\.txt"
            reg = ["wine", "reg"]
            if run(*reg, "query", txt, env=desktop.env).returncode != 0:
                subprocess.run(reg + ["add", txt, "/ve", "/d", "txtfile", "/f"], env=desktop.env,
                               check=True, capture_output=True)
                self.addCleanup(subprocess.run, reg + ["delete", txt, "/f"], env=desktop.env,
                                capture_output=True)

            program = desktop.start_windows_program("tolvar-autorun.exe", self.medium)
            window = desktop.wait_titled(KIT_TITLE, program=program)
            # The first entry opens the guide, a text file, in the application for its type.
            desktop.keys(window, "Tab", "Tab", "Down", "Return")

            def guide_shown():
                self.assertIsNone(program.poll(), "the menu ended")
                return any("tolvar-autorun-guide" in title for title in desktop.titles().values())
            wait_until(guide_shown, 60, interval=0.2, what="a window showing the guide")
            self.assertIsNone(program.poll(), "the menu must stay open after a launch")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
