"""End-to-end test that the Linux menu looks at no file of its medium but its own: the program, the
menu file and the picture. On an optical disc every other lookup, found or not, is a seek of about
a tenth of a second before the window shows.

The demo medium is copied to a temporary directory with the program at its root, as a medium is
laid out, and the menu is started there under strace in a private Xvfb until its window shows and
is closed. Every path a file system call named is resolved; those inside the medium are compared
with what the menu may read.

    menu_reads_only_its_files.py path/to/tolvar-autorun
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "support"))
from desktop import PrivateDesktop  # noqa: E402

EXAMPLES = os.path.join(os.path.dirname(HERE), "examples")
# The user here prefers Brazilian Portuguese: the menu looks for that language's menu file, then
# Portuguese's, in the listing of the menu folder (read once), finds neither, and reads the plain
# one, after resolving it and the medium's root (".") to know that it lies on the medium.
LANGUAGE = "pt_BR"
# The demo's icons are read too, each once, and the read-me that decides which of a pair of
# entries shows.
EXPECTED = {"tolvar-autorun", ".", "menu", "menu/config.mnu", "menu/splash.png",
            "menu/icons/demo.ico", "menu/icons/program.png", "menu/icons/document.png",
            "menu/icons/folder.png", "menu/icons/link.png", "docs/readme.txt"}

# One traced call: "PID name(first argument, ...". With -y, a directory descriptor is printed with
# its path, as in openat(3</usr/share/fonts>, "name", ...).
CALL = re.compile(r'^\d+\s+(\w+)\((.*)$')
DIRECTORY_FD = re.compile(r'^\d+<([^>]*)>, "')
FIRST_PATH = re.compile(r'"((?:[^"\\]|\\.)*)"')


def touched_paths(trace, cwd):
    """Every path named by a call in the strace log, made absolute."""
    paths = set()
    for line in trace.splitlines():
        call = CALL.match(line)
        if call is None:
            continue
        args = call.group(2)
        path = FIRST_PATH.search(args)
        if path is None or path.group(1) == "":
            continue  # a call on a descriptor alone (fstat and the like)
        name = path.group(1).encode().decode("unicode_escape")
        base = cwd
        directory = DIRECTORY_FD.match(args)
        if directory is not None:
            base = directory.group(1)
        paths.add(os.path.normpath(os.path.join(base, name)))
    return paths


def main():
    program = os.path.abspath(sys.argv[1])
    if shutil.which("strace") is None:
        print("SKIP: strace is not installed")
        return 77
    if subprocess.run(["strace", "-o", os.devnull, "true"], capture_output=True).returncode != 0:
        print("SKIP: strace cannot trace here (ptrace is not allowed)")
        return 77
    work = tempfile.mkdtemp(prefix="tolvar-reads-")
    try:
        medium = os.path.realpath(os.path.join(work, "medium"))
        shutil.copytree(EXAMPLES, medium)
        shutil.copy2(program, os.path.join(medium, "tolvar-autorun"))
        home = os.path.join(work, "home")
        os.makedirs(home)
        log = os.path.join(work, "trace.log")
        with PrivateDesktop() as desktop:
            env = dict(desktop.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       XDG_CACHE_HOME=os.path.join(home, ".cache"),
                       XDG_DATA_HOME=os.path.join(home, ".local", "share"), LANGUAGE=LANGUAGE)
            menu = subprocess.Popen(
                ["strace", "-f", "-qq", "-y", "-e", "trace=%file", "-o", log, "./tolvar-autorun"],
                cwd=medium, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            try:
                window = desktop.wait_window("^Tolvar Autorun - Demo Medium$", timeout=60)
                desktop.request_close(window)
                menu.wait(timeout=30)
            finally:
                if menu.poll() is None:
                    menu.kill()
                    menu.wait()
        if menu.returncode != 0:
            print("FAIL: the menu ended with status %d: %s"
                  % (menu.returncode, menu.stderr.read().decode(errors="replace")))
            return 1
        with open(log, encoding="utf-8", errors="replace") as file:
            touched = touched_paths(file.read(), medium)
        inside = {os.path.relpath(path, medium) for path in touched
                  if path == medium or path.startswith(medium + os.sep)}
        extra = sorted(inside - EXPECTED)
        missing = sorted(EXPECTED - inside)
        if extra or missing:
            print("FAIL: files of the medium looked at: %s; not expected: %s; expected but not "
                  "looked at: %s" % (sorted(inside), extra, missing))
            return 1
        print("PASS: of the medium, the menu looked only at %s" % ", ".join(sorted(inside)))
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
