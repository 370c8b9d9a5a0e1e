"""Checks the release files as their users meet them: the Windows kit unzipped as a medium and run
under Wine, the .deb listed, linted and run from an extracted copy, and two builds of one commit
compared byte for byte.

The kit's Linux program is started inside the Debian 11 root it was built in (TOLVAR_OLD_LINUX_ROOT,
which `./run` sets; chroot needs root, or sudo without a password), on the host's virtual display.

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
KIT_FILES = [
    "medium/LICENSE", "medium/NOTICES.txt", "medium/autorun.inf", "medium/autorun.sh",
    "medium/how-to-start.txt", "medium/menu/config.de.mnu", "medium/menu/config.mnu",
    "medium/menu/splash.png",
    "medium/tolvar-autorun", "medium/tolvar-autorun.exe", "tools/LICENSE", "tools/tolvar-autorun-guide.txt",
    "tools/tolvar-menu-check", "tools/tolvar-menu-check.exe"]
# The stripped 32-bit menu, in bytes: 300 KB, the figure ./run bench reports against too.
MENU_EXE_BUDGET = 300 * 1024
# The oldest C library the kit's Linux programs run with: Debian 11's, Ubuntu 20.04's.
OLDEST_GLIBC = (2, 31)
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
            # The demo medium as installed, with the menu copied beside autorun.sh as the README
            # says, passes the checker for Linux (it has no Windows menu for its autorun.inf to
            # start); the menu on it, with no display, reads it and says why it cannot show it.
            examples = os.path.join(root, DOC, "examples")
            medium = os.path.join(root, "medium")
            shutil.copytree(examples, medium)
            shutil.copy(menu, medium)
            result = run(checker, "--target=linux", medium)
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

    def test_the_menu_exe_stays_under_its_size_budget(self):
        # A menu that is slow to copy and load from a slow drive misses the point; a jump in size
        # means some library part (the C++ library's streams and locales) came into the .exe.
        size = os.path.getsize(os.path.join(self.medium, "medium/tolvar-autorun.exe"))
        self.assertLessEqual(size, MENU_EXE_BUDGET,
                        f"medium/tolvar-autorun.exe is {size:,} bytes, over the budget of "
                        f"{MENU_EXE_BUDGET:,}")

    def test_the_kit_unzipped_is_a_medium_that_opens_and_launches_under_wine(self):
        self.assertEqual(sorted(name for name in self.names if not name.endswith("/")), KIT_FILES)
        for licence_copy in ("medium/LICENSE", "tools/LICENSE"):
            with open(os.path.join(self.medium, licence_copy), encoding="utf-8") as licence:
                assert_carries_licence(self, licence.read(), KIT + ":" + licence_copy)
        with open(os.path.join(self.medium, "medium/NOTICES.txt"), encoding="utf-8") as notices:
            self.assertIn("mingw-w64", notices.read())
        # The version resource Explorer shows carries the project's one version number.
        programs = ("medium/tolvar-autorun.exe", "tools/tolvar-menu-check.exe")
        for program in programs:
            with open(os.path.join(self.medium, program), "rb") as exe:
                image = exe.read()
            for key in ("FileVersion", "ProductVersion"):
                self.assertRegex(image, re.escape((key + "\0").encode("utf-16-le")) + b"(\0\0)?" +
                                 re.escape((VERSION + "\0").encode("utf-16-le")), program + key)
        # The stripped programs still ask for DLLs from the system directory alone.
        checked = run(sys.executable, os.path.join(ROOT, "tests/load_config_test.py"),
                      *(os.path.join(self.medium, program) for program in programs))
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        if os.environ.get("TOLVAR_NO_WINE32"):
            self.skipTest("the kit's 32-bit programs need 32-bit Wine: "
                          + os.environ["TOLVAR_NO_WINE32"])

        prefix = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build/windows/wineprefix"))
        os.makedirs(os.path.dirname(prefix), exist_ok=True)
        subprocess.run([os.path.join(ROOT, "tests/wine_prefix.sh"), prefix], check=True)
        medium = os.path.join(self.medium, "medium")
        with PrivateDesktop(wine_prefix=prefix) as desktop:
            # The checker from the tools finds nothing wrong with the kit's own medium.
            checker = subprocess.run(["wine", "../tools/tolvar-menu-check.exe"], cwd=medium,
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

            program = desktop.start_windows_program("tolvar-autorun.exe", medium)
            window = desktop.wait_titled(KIT_TITLE, program=program)
            # The first entry opens the notices, a text file, in the application for its type.
            desktop.keys(window, "Tab", "Tab", "Down", "Return")

            def notices_shown():
                self.assertIsNone(program.poll(), "the menu ended")
                return any("NOTICES" in title for title in desktop.titles().values())
            wait_until(notices_shown, 60, interval=0.2, what="a window showing the notices")
            self.assertIsNone(program.poll(), "the menu must stay open after a launch")


def import_names(program):
    """The DLLs a Windows program imports, as objdump reads its import table."""
    dumped = run("i686-w64-mingw32-objdump", "-p", program)
    if dumped.returncode != 0:
        return None
    return sorted(re.findall(r"DLL Name: (\S+)", dumped.stdout))


class KitSigningTest(unittest.TestCase):
    """An author signs the kit's programs with their own certificate, as the guide says, with a
    throwaway self-signed one made here."""

    def setUp(self):
        for tool in ("osslsigncode", "openssl"):
            if shutil.which(tool) is None:
                self.skipTest(tool + " is not installed: ./run installs it with the Linux build's "
                              "packages")
        self.work = tempfile.mkdtemp(prefix="tolvar-kit-signing-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        with zipfile.ZipFile(os.path.join(DIST, KIT)) as kit:
            kit.extractall(self.work)
        self.key, self.cert = (os.path.join(self.work, name) for name in ("key.pem", "cert.pem"))
        made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                   "-subj", "/CN=Throwaway Medium Author", "-keyout", self.key, "-out", self.cert)
        self.assertEqual(made.returncode, 0, made.stderr)

    def sign(self, relative):
        """Signs the kit's program in place, through a copy, as the guide does."""
        program = os.path.join(self.work, relative)
        signed = program + ".signed"
        result = run("osslsigncode", "sign", "-certs", self.cert, "-key", self.key, "-h", "sha256",
                     "-n", "Tolvar Demo", "-in", program, "-out", signed)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        os.replace(signed, program)
        return program

    def test_the_signed_programs_verify_keep_their_loader_settings_and_open_the_demo(self):
        unsigned_imports = {}
        programs = []
        for relative in ("medium/tolvar-autorun.exe", "tools/tolvar-menu-check.exe"):
            unsigned_imports[relative] = import_names(os.path.join(self.work, relative))
            programs.append(self.sign(relative))
        for program in programs:
            verified = run("osslsigncode", "verify", "-CAfile", self.cert, "-in", program)
            self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)
            self.assertIn("Signature verification: ok", verified.stdout)
        # The loader's settings and the static imports survive the signature.
        checked = run(sys.executable, os.path.join(ROOT, "tests/load_config_test.py"), *programs)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        for relative, program in zip(unsigned_imports, programs):
            if unsigned_imports[relative] is not None:
                self.assertEqual(import_names(program), unsigned_imports[relative], relative)
        # A byte changed after signing fails the verification the checker's warning mirrors.
        with open(programs[0], "rb") as signed_file:
            changed = bytearray(signed_file.read())
        changed[0x400] ^= 1
        tampered = os.path.join(self.work, "tampered.exe")
        with open(tampered, "wb") as tampered_file:
            tampered_file.write(changed)
        self.assertNotEqual(
            run("osslsigncode", "verify", "-CAfile", self.cert, "-in", tampered).returncode, 0)

        if os.environ.get("TOLVAR_NO_WINE32"):
            self.skipTest("signed and verified, but the kit's 32-bit menu needs 32-bit Wine to "
                          "run: " + os.environ["TOLVAR_NO_WINE32"])
        prefix = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build/windows/wineprefix"))
        os.makedirs(os.path.dirname(prefix), exist_ok=True)
        subprocess.run([os.path.join(ROOT, "tests/wine_prefix.sh"), prefix], check=True)
        with PrivateDesktop(wine_prefix=prefix) as desktop:
            # Started by its full path from another folder, as a shortcut would.
            program = desktop.start_windows_program(programs[0], self.work)
            window = desktop.wait_titled(KIT_TITLE, program=program)
            desktop.keys(window, "Tab", "space")  # Quit
            program.wait(30)
            self.assertEqual(program.returncode, 0)


def extract_from_kit(directory, *names):
    with zipfile.ZipFile(os.path.join(DIST, KIT)) as kit:
        for name in names:
            kit.extract(name, directory)
    return [os.path.join(directory, name) for name in names]


class KitLinuxProgramsTest(unittest.TestCase):
    """The kit's Linux programs as the oldest desktops they are for meet them."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tolvar-kit-linux-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        self.menu, self.checker = extract_from_kit(
            self.work, "medium/tolvar-autorun", "tools/tolvar-menu-check")

    def test_they_need_no_newer_glibc_and_carry_their_cpp_runtime(self):
        for program in (self.menu, self.checker):
            name = os.path.relpath(program, self.work)
            symbols = run("objdump", "-T", program)
            self.assertEqual(symbols.returncode, 0, symbols.stderr)
            versions = {(int(major), int(minor))
                        for major, minor in re.findall(r"\bGLIBC_(\d+)\.(\d+)", symbols.stdout)}
            self.assertTrue(versions, name + " names no glibc version")
            self.assertLessEqual(max(versions), OLDEST_GLIBC,
                                 f"{name} needs glibc {'.'.join(map(str, max(versions)))}")
            needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]",
                                run("readelf", "-d", program).stdout)
            self.assertIn("libc.so.6", needed, name)
            for runtime in ("libstdc++.so.6", "libgcc_s.so.1"):
                self.assertNotIn(runtime, needed, name)

    def test_the_menu_opens_the_demo_medium_in_debian_11_and_launches_an_entry(self):
        root = os.environ.get("TOLVAR_OLD_LINUX_ROOT", "")
        version_file = os.path.join(root, "etc/debian_version")
        self.assertTrue(root and os.path.isfile(version_file),
                        f"TOLVAR_OLD_LINUX_ROOT ({root!r}) names no Debian root")
        with open(version_file, encoding="utf-8") as version:
            self.assertRegex(version.read(), r"^11\.", "the root is not Debian 11")
        medium = tempfile.mkdtemp(prefix="tolvar-demo-", dir=os.path.join(root, "tmp"))
        self.addCleanup(shutil.rmtree, medium, ignore_errors=True)
        shutil.copytree(os.path.join(ROOT, "examples"), medium, dirs_exist_ok=True)
        shutil.copy(self.menu, medium)
        stderr = tempfile.TemporaryFile(mode="w+")
        self.addCleanup(stderr.close)
        with PrivateDesktop() as desktop:
            # Nothing of this system but its display, which the root reaches through X's abstract
            # socket: Debian 11's shell, loader and libraries start the menu and what it launches.
            env = ["PATH=/usr/bin:/bin", "HOME=/root", "LC_ALL=C.UTF-8", "NO_AT_BRIDGE=1",
                   "GSETTINGS_BACKEND=memory", "DISPLAY=" + desktop.display]
            chroot = ([] if os.geteuid() == 0 else ["sudo", "-n"]) + ["chroot", root]
            inside = "/" + os.path.relpath(medium, root)
            menu = subprocess.Popen(chroot + ["/usr/bin/env", "-i", *env, "sh",
                                              inside + "/autorun.sh"],
                                    stdout=subprocess.DEVNULL, stderr=stderr)
            try:
                window = desktop.wait_window("^" + re.escape(KIT_TITLE) + "$", timeout=60)
                # The second entry, "Say hello", shows its message with Debian 11's xmessage.
                desktop.keys(window, "Tab", "Tab", "Down", "Down", "Tab", "Return")
                desktop.wait_window("^Hello$", timeout=30)
                self.assertIsNone(menu.poll(), "the menu must stay open after a launch")
            except AssertionError as failure:
                stderr.seek(0)
                raise AssertionError(f"{failure}; the menu said: {stderr.read()}") from failure
            finally:
                menu.terminate()
                menu.wait(timeout=30)


class KitImageTest(unittest.TestCase):
    """The kit's medium folder mastered as an image, as an author makes the disc."""

    def test_the_image_is_clean_for_both_systems_and_opens_on_linux(self):
        work = tempfile.mkdtemp(prefix="tolvar-kit-image-")
        # What is extracted from an image keeps its read-only folders.
        self.addCleanup(shutil.rmtree, work, ignore_errors=True)
        self.addCleanup(subprocess.run, ["chmod", "-R", "u+w", work])
        with zipfile.ZipFile(os.path.join(DIST, KIT)) as kit:
            kit.extractall(os.path.join(work, "kit"))
            # The Linux programs keep their execute bits in the kit, as unzip on Linux restores
            # them (zipfile does not).
            for program in ("medium/tolvar-autorun", "medium/autorun.sh",
                            "tools/tolvar-menu-check"):
                mode = kit.getinfo(program).external_attr >> 16 & 0o777
                self.assertEqual(mode, 0o755, program)
                os.chmod(os.path.join(work, "kit", program), mode)
        image = os.path.join(work, "kit.iso")
        mastered = run("xorriso", "-as", "mkisofs", "-J", "-o", image,
                       os.path.join(work, "kit", "medium"))
        self.assertEqual(mastered.returncode, 0, mastered.stderr)
        checked = run(os.path.join(work, "kit", "tools", "tolvar-menu-check"), "--image=" + image,
                      "--target=all")
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertNotRegex(checked.stdout, r": (warning|error): ")

        medium = os.path.join(work, "from-image")
        extracted = run("xorriso", "-osirrox", "on", "-indev", image, "-extract", "/", medium)
        self.assertEqual(extracted.returncode, 0, extracted.stderr)
        # A desktop whose one application for text notes what it opens.
        desktop_dir = os.path.join(work, "desktop")
        record = os.path.join(work, "opened.txt")
        os.makedirs(os.path.join(desktop_dir, "applications"))
        viewer = os.path.join(work, "viewer.sh")
        with open(viewer, "w", encoding="utf-8") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % record)
        os.chmod(viewer, 0o755)
        with open(os.path.join(desktop_dir, "applications", "tolvar-viewer.desktop"), "w",
                  encoding="utf-8") as entry:
            entry.write("[Desktop Entry]\nType=Application\nName=Viewer\nMimeType=text/plain;\n"
                        f"Exec={viewer} %f\n")
        with open(os.path.join(desktop_dir, "mimeapps.list"), "w", encoding="utf-8") as apps:
            apps.write("[Default Applications]\ntext/plain=tolvar-viewer.desktop\n")
        with PrivateDesktop() as desktop:
            env = dict(desktop.env, XDG_DATA_HOME=desktop_dir,
                       XDG_DATA_DIRS=desktop_dir + ":/usr/share", XDG_CONFIG_HOME=desktop_dir,
                       XDG_CONFIG_DIRS=desktop_dir)
            menu = subprocess.Popen(["sh", "autorun.sh"], cwd=medium, env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                window = desktop.wait_window("^" + re.escape(KIT_TITLE) + "$", timeout=60)
                # The first entry opens the notices in the application for text.
                desktop.keys(window, "Tab", "Tab", "Down", "Tab", "Return")
                wait_until(lambda: os.path.exists(record), 30, what="the viewer to start")
                self.assertIsNone(menu.poll(), "the menu must stay open after a launch")
            finally:
                menu.terminate()
                menu.wait(timeout=30)
        with open(record, encoding="utf-8") as opened:
            self.assertEqual(opened.read().split("\n")[0],
                             os.path.join(os.path.realpath(medium), "NOTICES.txt"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
