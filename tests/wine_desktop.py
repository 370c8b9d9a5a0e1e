"""A private X display with Wine on it, for the Windows end-to-end tests and the start-up benchmark.

Starts its own Xvfb on a free display (never a fixed number: other test runs share the machine),
runs Windows programs under Wine in the build tree's prefix, finds their windows, sends keys with
xdotool and takes screenshots. Stopping it ends only what it started, and the prefix's wineserver.
"""
import ctypes
import os
import subprocess
import time


class WineDesktop:
    def __init__(self, prefix=None):
        self.prefix = prefix or os.environ["WINEPREFIX"]
        read_end, write_end = os.pipe()
        # -noreset: by default the server resets whenever its last client leaves, and Wine's
        # processes, connecting one after the other while it resets, find no display now and then.
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset", "-screen", "0",
             "1024x768x24"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ)
        self.env.update(DISPLAY=self.display, WINEPREFIX=self.prefix, WINEARCH="win32",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self._programs = []
        # A wineserver still running from an earlier Wine program (a console test, or one started
        # without this display) keeps that program's desktop, and windows made on it fail with
        # "Invalid window handle": start from a server of this display's own.
        self._end_wineserver()

    def _end_wineserver(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        for program in self._programs:
            if program.poll() is None:
                program.kill()
                program.wait()
        # The server keeps the desktop process of this display alive; the next test has another.
        self._end_wineserver()
        self._xvfb.terminate()
        self._xvfb.wait()

    def start(self, exe, cwd):
        """Starts a Windows program with `cwd` as its current directory."""
        program = subprocess.Popen(["wine", exe], cwd=cwd, env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self._programs.append(program)
        return program

    def run(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True).stdout

    def visible_windows(self):
        """{window id: title} of the windows mapped on the display."""
        ids = self.run("xdotool", "search", "--onlyvisible", "--name", "").split()
        return {w: self.run("xdotool", "getwindowname", w).rstrip("\n") for w in ids}

    def wait_for_window(self, title, timeout=60, program=None):
        """The id of the visible window titled exactly `title`; fails when `program` ends first."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for window, name in self.visible_windows().items():
                if name == title:
                    return window
            if program is not None and program.poll() is not None:
                raise AssertionError(f"the program ended ({program.returncode}) before a window "
                                     f"titled {title!r} appeared; it said: "
                                     f"{program.stderr.read().decode(errors='replace')}")
            time.sleep(0.1)
        raise AssertionError(f"no window titled {title!r}; visible: {self.visible_windows()}")

    def wait_until_gone(self, window, timeout=30):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if window not in self.visible_windows():
                return
            time.sleep(0.1)
        raise AssertionError(f"window {window} is still shown")

    def keys(self, window, *keys):
        """Gives `window` the keyboard focus and types `keys` (xdotool key names)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=self.env, check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "key", "--delay", "150", *keys], env=self.env, check=True)

    def click(self, window, x, y):
        """Clicks at (x, y) inside `window`'s outer rectangle."""
        subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"],
                       env=self.env, check=True)

    def screenshot(self, window):
        """(width, height, rows of (r, g, b)) of what `window` shows."""
        ppm = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, check=True).stdout
        fields, offset = [], 0
        while len(fields) < 4:  # P6, width, height, maximum
            while ppm[offset:offset + 1].isspace():
                offset += 1
            end = offset
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[offset:end])
            offset = end
        offset += 1
        width, height = int(fields[1]), int(fields[2])
        rows = []
        for y in range(height):
            row = ppm[offset + y * width * 3: offset + (y + 1) * width * 3]
            rows.append([tuple(row[x * 3: x * 3 + 3]) for x in range(width)])
        return width, height, rows


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
        import select
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
