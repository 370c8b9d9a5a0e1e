#!/usr/bin/env python3
"""tolvar-menu-check on the same media as a folder and as an ISO image mastered from it, as the
README masters one: the menu file's findings must be the same, for Linux and for Windows each. Then
an image whose Rock Ridge and Joliet trees hold different menu files: each system's is checked.

Usage: menu_check_parity_test.py CHECKER SOURCE_DIR
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

CHECKER, SOURCE_DIR = sys.argv[1], sys.argv[2]
failures = []


def png(width, height, pixels=True):
    """An RGB PNG; without `pixels`, one that ends where its pixel data should begin."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    rows = (b"\0" + b"\x80" * (width * 3)) * height
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            (chunk(b"IDAT", zlib.compress(rows)) if pixels else b"") + chunk(b"IEND", b""))


def write(root, path, data, mode=0o644):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
    os.chmod(full, mode)


def menu(*lines):
    return "\r\n".join(lines) + "\r\n"


def check(*args):
    run = subprocess.run([CHECKER, "--format=json", *args], capture_output=True, text=True)
    if run.returncode not in (0, 1, 2):
        raise AssertionError("exit status %d for %s: %s%s" %
                             (run.returncode, args, run.stdout, run.stderr))
    return json.loads(run.stdout)


def menu_findings(report):
    """The findings of the menu files: config.mnu's own (those of other files name their file),
    and those of the files for other languages."""
    return sorted((os.path.basename(f.get("file", "")), f["line"] or 0, f["severity"], f["message"])
                  for f in report["findings"]
                  if "file" not in f or os.path.basename(f["file"]).startswith("config."))


def directives(report):
    """The directives of every menu file, each file named without the folder or image it is in."""
    return [dict(d, file=os.path.basename(d["file"])) for d in report["directives"]]


def master(folder, image, *settings):
    subprocess.run(["xorriso", "-as", "mkisofs", "-J", *settings, "-o", image, folder],
                   check=True, capture_output=True)


def expect(condition, what):
    if not condition:
        failures.append(what)


def compare(name, folder, image, must_find, targets=("linux", "windows")):
    """Folder and image agree for each system; `must_find` are texts each system's findings hold,
    so that agreement cannot come from both checks finding nothing."""
    for target in targets:
        as_folder = check("--target=" + target, folder)
        as_image = check("--target=" + target, "--image=" + image)
        found, imaged = menu_findings(as_folder), menu_findings(as_image)
        if found != imaged:
            only_folder = [f for f in found if f not in imaged]
            only_image = [f for f in imaged if f not in found]
            failures.append("%s, --target=%s: only as a folder %s; only as an image %s" %
                            (name, target, only_folder, only_image))
        expect(as_folder["entries"] == as_image["entries"],
               "%s, --target=%s: entries differ" % (name, target))
        expect(directives(as_folder) == directives(as_image),
               "%s, --target=%s: directives differ" % (name, target))
        for text in must_find.get(target, []):
            expect(any(text in message for *_, message in imaged),
                   "%s, --target=%s: no finding with %r in %s" % (name, target, text, imaged))


def many_faults(root):
    """A medium with one of each fault the menu file's check finds from the files' bytes, modes
    and names."""
    write(root, "tools/run.sh", "#!/bin/sh\necho run\n")  # a script without the execute bit
    write(root, "tools/prog", b"\x7fELF\x01\x01\x01" + b"\0" * 60)  # a program without it
    write(root, "tools/ready.sh", "#!/bin/sh\n", 0o755)
    write(root, "tools/install.bat", "@echo off\r\n")
    write(root, "docs/ReadMe.txt", "read me\n")
    write(root, "menu/wide.png", png(600, 20))  # shows squeezed
    write(root, "menu/broken.png", b"\x89PNG\r\n\x1a\nnot really")
    write(root, "menu/config.mnu", menu(
        "Many faults", "menu/nothere.png", "9",
        "Run", "tools/run.sh",
        "Program", "tools/prog",
        "Ready", "tools/ready.sh",
        "'#arguments: %TEMP%\\log.txt",
        "Install", "tools\\install.bat",
        "Read\u202Eme", "docs/readme.txt",
        "Ready", "DOCS/ReadMe.txt",
        "'#directory: nowhere",
        "Where", "tools/ready.sh",
        "Gone", "tools/gone.exe",
        "Leave", "$exit$",
        "More", "tools/ready.sh"))


def without_execute_bits(root):
    """Files shaped as programs, none with the execute bit: the menu's own rule says which it
    starts through their loader or interpreter and which it can only hand to the desktop."""
    with open("/bin/sh", "rb") as shell:
        write(root, "tools/dynamic", shell.read(4096))  # names its loader (PT_INTERP)
    write(root, "tools/static", b"\x7fELF\x01\x01\x01" + b"\0" * 60)  # names none
    write(root, "tools/run.sh", "#!/bin/sh\necho run\n")
    write(root, "tools/relative.sh", "#!sh\necho run\n")  # Linux takes no relative interpreter
    write(root, "menu/config.mnu", menu(
        "No execute bits", "$null$", "4", "Dynamic", "tools/dynamic", "Static", "tools/static",
        "Script", "tools/run.sh", "Relative", "tools/relative.sh"))


def large_menu(root):
    """A menu file of 1.6 MB: comments, and 2000 entries naming programs without the execute
    bit, each read from the image in the same pass."""
    lines = ["' " + "x" * 78] * 20000 + ["Large", "$null$", "2000"]
    for i in range(2000):
        write(root, "programs/p%04d.sh" % i, "#!/bin/sh\n")
        lines += ["Entry %d" % i, "programs/p%04d.sh" % i]
    write(root, "menu/config.mnu", menu(*lines, "Extra", "$exit$"))


def pictures(root):
    write(root, "menu/wide.png", png(600, 20))
    write(root, "menu/config.mnu", menu("Wide", "menu/wide.png", "1", "Leave", "$exit$"))


def broken_picture(root):
    # Its header is sound: only the decoder finds the fault, in the picture's bytes.
    write(root, "menu/broken.png", png(40, 30, pixels=False))
    write(root, "menu/config.mnu", menu("Broken", "menu\\broken.png", "1", "Leave", "$exit$"))


def readme_example(root):
    """The medium of the README's example run."""
    write(root, "Setup/Setup.exe", "MZ")
    write(root, "extras/viewer.exe", "MZ")
    write(root, "menu/config.mnu", menu(
        "' The product's menu", "Product", "$null$", "3", "Install", "setup\\setup.exe", "Manual",
        "extras\\viewer.exe manual.pdf", "Leave", "$Exit$", "Tools", "extras\\viewer.exe"))


def demo_medium(root):
    shutil.copytree(os.path.join(SOURCE_DIR, "examples"), root, dirs_exist_ok=True)
    write(root, "tolvar-autorun.exe", "MZ")
    write(root, "tolvar-autorun", "#!/bin/sh\n", 0o755)


def changed_translation(root):
    """The demo medium whose German menu starts another program than the plain one."""
    demo_medium(root)
    german = os.path.join(root, "menu", "config.de.mnu")
    with open(german, encoding="utf-8") as f:
        text = f.read()
    write(root, "menu/config.de.mnu", text.replace("programs\\setup.sh", "programs\\setup2.sh"))


def parity(work):
    media = {
        "the README's example": (readme_example, {
            "linux": ['the file is spelled "Setup\\Setup.exe"', "carries arguments",
                      "is not the keyword $exit$", "2 significant lines follow"],
            "windows": ["carries arguments", "is not the keyword $exit$",
                        "2 significant lines follow"]}),
        "the demo medium": (demo_medium, {}),
        "a translation that differs": (changed_translation, {
            "linux": ["users of the two languages get different programs",
                      'there is no file "programs\\setup2.sh"'],
            "windows": []}),
        "many faults": (many_faults, {
            "linux": ['"tools/run.sh" is a program without the execute permission',
                      '"tools/prog" is a program without the execute permission',
                      "show nothing but change how it reads",
                      "has the same caption as entry 3",
                      'the file is spelled "docs/ReadMe.txt" on the medium',
                      "significant lines follow",
                      "no picture is shown",
                      "which is no folder of the medium",
                      'there is no file "tools/gone.exe"'],
            "windows": ["show nothing but change how it reads",
                        "Launch on Windows does not start",
                        "has the same caption as entry 3",
                        "significant lines follow",
                        "which is no folder of the medium"]}),
        "programs without the execute bit": (without_execute_bits, {
            "linux": ['"tools/dynamic" is a program without the execute permission: the Linux '
                      'menu starts it all the same',
                      '"tools/run.sh" is a program without the execute permission: the Linux '
                      'menu starts it all the same',
                      '"tools/static" is a program without the execute permission that nothing '
                      'but the permission starts',
                      '"tools/relative.sh" is a program without the execute permission that '
                      'nothing but the permission starts']}),
        "a large menu file": (large_menu, {
            "linux": ['"programs/p1999.sh" is a program without the execute permission',
                      "2 significant lines follow"],
            "windows": ["2 significant lines follow"]}),
        "a picture shaped unlike the area": (pictures, {
            "linux": ["squeezed from the sides"], "windows": ["squeezed"]}),
        "a picture that is none": (broken_picture, {
            "linux": ["broken.png\" cannot be shown"],
            "windows": ["broken.png\" cannot be shown"]}),
    }
    for name, (make, must_find) in media.items():
        folder = os.path.join(work, name.replace(" ", "-").replace("'", ""))
        os.makedirs(folder)
        make(folder)
        image = folder + ".iso"
        master(folder, image)
        compare(name, folder, image, must_find)


def menus_that_differ(work):
    """Rock Ridge holds menu/config.mnu, Joliet menu/CONFIG.MNU: Linux reads one, Windows the
    other, and each names a file missing only from the other's view."""
    tree = os.path.join(work, "two-menus")
    write(tree, "menu/config.mnu", menu("For Linux", "$null$", "1", "Run", "linux-only.sh"))
    write(tree, "menu/CONFIG.MNU", menu("For Windows", "$null$", "1", "Run", "windows-only.exe"))
    image = tree + ".iso"
    subprocess.run(["xorriso", "-outdev", image, "-rockridge", "on", "-joliet", "on",
                    "-map", tree, "/",
                    "-hide", "joliet", "/menu/config.mnu", "--",
                    "-hide", "iso_rr", "/menu/CONFIG.MNU", "--"], check=True, capture_output=True)
    both = [m for *_, m in menu_findings(check("--image=" + image))]
    expect(any(m.startswith("Linux and Windows find different menu files") for m in both),
           "two menu files: not named: %s" % both)
    expect(any(m.startswith("in the image as Linux sees it") and '"linux-only.sh"' in m
               for m in both), "two menu files: the Linux menu's missing file: %s" % both)
    expect(any(m.startswith("in the image as Windows sees it") and '"windows-only.exe"' in m
               for m in both), "two menu files: the Windows menu's missing file: %s" % both)
    windows = [m for *_, m in menu_findings(check("--target=windows", "--image=" + image))]
    expect(any('"windows-only.exe"' in m for m in windows) and
           not any("linux-only" in m for m in windows),
           "two menu files, --target=windows: %s" % windows)


def linked_folders(work):
    """Rock Ridge keeps symbolic links, which Linux follows to the folder or file they name, as the
    folder check does on the disk; Joliet keeps none, so Windows finds nothing through them."""
    tree = os.path.join(work, "linked")
    write(tree, "Programs-1.2/setup.sh", "#!/bin/sh\n", 0o755)
    os.symlink("Programs-1.2", os.path.join(tree, "programs"))
    os.symlink("Programs-1.2/setup.sh", os.path.join(tree, "install.sh"))
    write(tree, "menu/config.mnu", menu("Linked", "$null$", "3", "Setup", "programs\\setup.sh",
                                        "Gone", "programs\\gone.sh", "Install", "install.sh"))
    image = tree + ".iso"
    master(tree, image)
    compare("folders and files reached through links", tree, image,
            {"linux": ['there is no file "programs\\gone.sh"']}, targets=("linux",))
    # The link's own name spelled otherwise: the Linux menu matches it without regard to case and
    # follows it; the folder check and the image check say so in the same words.
    otherwise = os.path.join(work, "linked-otherwise")
    write(otherwise, "Programs-1.2/setup.sh", "#!/bin/sh\n", 0o755)
    os.symlink("Programs-1.2", os.path.join(otherwise, "Programs"))
    write(otherwise, "menu/config.mnu", menu("Linked", "$null$", "1", "Setup",
                                             "programs\\setup.sh"))
    master(otherwise, otherwise + ".iso")
    compare("a link spelled otherwise", otherwise, otherwise + ".iso",
            {"linux": ['the file is spelled "Programs\\setup.sh" on the medium: Launch finds '
                       '"programs\\setup.sh" on Windows and Linux only because letter case is '
                       'ignored']}, targets=("linux",))
    windows = [m for *_, m in menu_findings(check("--target=windows", "--image=" + image))]
    for path in ("programs\\setup.sh", "install.sh"):
        expect(any('there is no file "%s"' % path in m for m in windows),
               "Windows finds %s through a link Joliet does not keep: %s" % (path, windows))


def main():
    if shutil.which("xorriso") is None:
        print("no xorriso")
        return 77
    with tempfile.TemporaryDirectory() as work:
        parity(work)
        menus_that_differ(work)
        linked_folders(work)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
