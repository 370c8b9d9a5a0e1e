"""A private desktop for the end-to-end tests and start-up benchmarks of both windows: an Xvfb display
of its own on a free number (never a fixed one: other test runs share the machine) and the few
things the tests do on it: find windows, wait for them, type keys, click, ask a window to close,
take its picture.

For the Linux window it also runs a D-Bus session of its own (so that GTK neither autolaunches a
bus nor talks to anyone else's accessibility tree) and reads the accessibility tree. For the
Windows window (PrivateDesktop(wine_prefix=...)) it runs programs under Wine in that prefix, with a
wineserver of its own. Stopping it ends only what it started."""
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
    def __init__(self, wine_prefix=None):
        self.wine_prefix = wine_prefix
        self.env = None
        self.display = None
        self._xvfb = None
        self._bus = None
        self._programs = []
        # Wine's windows take each key a little later than GTK's.
        self.key_delay = 150 if wine_prefix else 60

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
        self.display = ":" + number.decode().strip()
        if self.wine_prefix:
            # A 64-bit prefix for the 64-bit build, where 32-bit Wine is missing.
            self.env = dict(os.environ, DISPLAY=self.display, WINEPREFIX=self.wine_prefix,
                            WINEARCH=os.environ.get("WINEARCH", "win32"), WINEDEBUG="-all",
                            WINEDLLOVERRIDES="mscoree,mshtml=")
            # A wineserver still running from an earlier Wine program (a console test, or one
            # started without this display) keeps that program's desktop, and windows made on it
            # fail with "Invalid window handle": start from a server of this display's own.
            self._end_wineserver()
            return
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                            "NO_AT_BRIDGE", "GDK_BACKEND", "GDK_SCALE", "GTK_THEME")}
        env["DISPLAY"] = self.display
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

    def _end_wineserver(self):
        """Ends the prefix's wineserver and waits until it has gone."""
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)

    def stop(self):
        for program in self._programs:
            if program.poll() is None:
                program.kill()
                program.wait()
        if self.wine_prefix and self.env is not None:
            # The server keeps the desktop process of this display alive; the next test has another.
            self._end_wineserver()
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

    def start_windows_program(self, exe, cwd, env=None, args=()):
        """Starts a Windows program under Wine in `cwd`, with `args` and its output in pipes;
        stop() ends it if it still runs. `env` adds variables to the desktop's."""
        program = subprocess.Popen(["wine", exe, *args], cwd=cwd, env=dict(self.env, **(env or {})),
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self._programs.append(program)
        return program

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

    def titles(self):
        """{window: title} of the visible windows."""
        return {window: self.window_name(window) for window in self.windows("")}

    def wait_titled(self, title, timeout=60.0, program=None):
        """The visible window titled exactly `title` (xdotool's patterns ignore case and blanks
        count); fails at once when `program` ends first."""
        def find():
            for window, name in self.titles().items():
                if name == title:
                    return window
            if program is not None and program.poll() is not None:
                raise AssertionError(
                    f"the program ended ({program.returncode}) before a window titled {title!r} "
                    f"appeared; it said: {program.stderr.read().decode(errors='replace')}")
            return None
        return wait_until(find, timeout, interval=0.1, what=f"a window titled {title!r}")

    def wait_gone(self, window, timeout=30.0):
        wait_until(lambda: window not in self.windows(""), timeout,
                   what=f"window {window} to go")

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
        self.run("xdotool", "windowfocus", "--sync", str(window), "key", "--delay",
                 str(self.key_delay), *keys, check=True)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1", check=True)

    def click_in(self, window, x, y):
        """Clicks at (x, y) inside `window`'s outer rectangle."""
        self.run("xdotool", "mousemove", "--window", str(window), str(x), str(y), "click", "1",
                 check=True)

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


class MapWatcher:
    """Notes the moment a window with a given title is mapped on the display, straight from the X
    server's events (polling with xdotool would add its own delay to every measurement)."""

    def __init__(self, display):
        class XMapEvent(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                        ("override_redirect", ctypes.c_int)]

        class XEvent(ctypes.Union):
            _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]

        self._XEvent = XEvent
        self._x = ctypes.cdll.LoadLibrary("libX11.so.6")
        self._x.XOpenDisplay.restype = ctypes.c_void_p
        self._x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x.XDefaultRootWindow.restype = ctypes.c_ulong
        self._x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self._x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self._x.XPending.argtypes = [ctypes.c_void_p]
        self._x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self._x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                       ctypes.POINTER(ctypes.c_char_p)]
        self._x.XFree.argtypes = [ctypes.c_void_p]
        self._x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self._x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self._display = self._x.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError(f"cannot open display {display}")
        substructure_notify_mask = 1 << 19
        self._x.XSelectInput(self._display, self._x.XDefaultRootWindow(self._display),
                             substructure_notify_mask)
        self._x.XSync(self._display, 0)

    def close(self):
        self._x.XCloseDisplay(self._display)

    def wait_for_map(self, title, timeout=60):
        """(monotonic time, window id) of the mapping of a window titled `title`."""
        map_notify = 19
        deadline = time.monotonic() + timeout
        event = self._XEvent()
        while time.monotonic() < deadline:
            if not self._x.XPending(self._display):
                select.select([self._x.XConnectionNumber(self._display)], [], [], 0.05)
                continue
            self._x.XNextEvent(self._display, ctypes.byref(event))
            if event.type != map_notify:
                continue
            seen = time.monotonic()
            name = ctypes.c_char_p()
            if self._x.XFetchName(self._display, event.xmap.window, ctypes.byref(name)) and \
                    name.value is not None:
                matched = name.value.decode("latin-1") == title
                self._x.XFree(name)
                if matched:
                    return seen, event.xmap.window
        raise TimeoutError(f"no window titled {title!r} was mapped")
