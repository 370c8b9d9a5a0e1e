"""A private desktop for end-to-end tests of the Linux window: an Xvfb display of its own on a free
number, a D-Bus session of its own (so that GTK neither autolaunches a bus nor talks to anyone
else's accessibility tree), and the few things the tests do on it: find windows, type keys, ask a
window to close, take its picture and read the accessibility tree."""
import ctypes
import json
import os
import re
import select
import signal
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# The AT-SPI client library comes from Debian's python3-gi, which only Debian's Python can load.
SYSTEM_PYTHON = "/usr/bin/python3"


def _end_with_parent():
    """Run in a child before exec: the kernel ends it when the test process ends, even when the
    test is killed on a time-out and cannot clean up."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # 1: PR_SET_PDEATHSIG


def wait_until(condition, timeout=10.0, interval=0.05, what="condition"):
    """Polls `condition` until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


class PrivateDesktop:
    def __init__(self):
        self.env = None
        self._xvfb = None
        self._bus = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *unused):
        self.stop()

    def start(self):
        read_end, write_end = os.pipe()
        # -displayfd lets the server take the first free display number and tell it.
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=_end_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or self._xvfb.poll() is not None:
                raise RuntimeError("Xvfb did not start")
            if select.select([read_end], [], [], 0.1)[0]:
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise RuntimeError("Xvfb did not report its display")
                number += chunk
        os.close(read_end)
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                            "NO_AT_BRIDGE", "GDK_BACKEND", "GDK_SCALE", "GTK_THEME")}
        env["DISPLAY"] = ":" + number.decode().strip()
        env["GSETTINGS_BACKEND"] = "memory"
        env["LC_ALL"] = "C.UTF-8"
        # The bus and every service it starts (the accessibility bus and registry) share one
        # process group, which stop() ends.
        self._bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, start_new_session=True,
            preexec_fn=_end_with_parent)
        address = self._bus.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env = env

    def stop(self):
        for process in (self._bus, self._xvfb):
            if process is None:
                continue
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        if self._bus is not None:
            self._bus.stdout.close()

    def bus_process_group(self):
        """The process group of the desktop's session bus and of every service it started."""
        return self._bus.pid

    def run(self, *args, **kwargs):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True, **kwargs)

    # --- windows ---

    def windows(self, name_regex, pid=None):
        """Visible windows whose title matches `name_regex`."""
        args = ["xdotool", "search", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        result = self.run(*args, "--name", name_regex)
        return [int(line) for line in result.stdout.split()]

    def wait_window(self, name_regex, timeout=10.0):
        found = wait_until(lambda: self.windows(name_regex), timeout, what="window " + name_regex)
        return found[0]

    def window_name(self, window):
        return self.run("xdotool", "getwindowname", str(window)).stdout[:-1]

    def geometry(self, window):
        """(x, y, width, height) of the window's inside, on the screen."""
        text = self.run("xwininfo", "-id", str(window)).stdout
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", text).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    def keys(self, window, *keys):
        """Focuses `window` and types `keys` (xdotool names). GTK ignores keys sent to a window
        that has no focus, so they go through the focus like a person's."""
        self.run("xdotool", "windowfocus", "--sync", str(window), "key", "--delay", "60", *keys,
                 check=True)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1", check=True)

    def request_close(self, window):
        """Sends WM_DELETE_WINDOW, what a window manager does for the title bar's close button."""
        xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XInternAtom.restype = ctypes.c_ulong
        xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                    ctypes.c_void_p]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 16)]

        display = xlib.XOpenDisplay(self.env["DISPLAY"].encode())
        event = ClientMessage(type=33, window=window, format=32)  # 33: ClientMessage
        event.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        xlib.XCloseDisplay(display)  # flushes

    def capture(self, window):
        """The window's picture as (width, height, pixel(x, y) -> (r, g, b))."""
        data = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, check=True).stdout
        fields = data.split(maxsplit=4)
        assert fields[0] == b"P6" and fields[3] == b"255", "unexpected picture format"
        width, height, pixels = int(fields[1]), int(fields[2]), fields[4]
        return width, height, lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])

    # --- accessibility tree ---

    def accessible_tree(self, application, timeout=15.0):
        """The accessibility tree of the running program named `application`, as nested dicts
        (role, name, states, children), read in a process of its own: AT-SPI clients keep their
        first bus for life."""
        def read():
            result = self.run(SYSTEM_PYTHON, os.path.join(HERE, "read_accessible_tree.py"),
                              application, timeout=30)
            return json.loads(result.stdout) if result.returncode == 0 else None
        return wait_until(read, timeout, interval=0.3, what="the accessibility tree")


def find_accessible(node, role, name=None):
    """All nodes below `node` (itself included) with `role` and, when given, `name`."""
    found = []
    if node["role"] == role and (name is None or node["name"] == name):
        found.append(node)
    for child in node["children"]:
        found += find_accessible(child, role, name)
    return found
