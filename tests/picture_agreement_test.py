#!/usr/bin/python3
"""Odd and hostile pictures through the Linux menu (without a display it still loads its picture
with the window's loader) and through tolvar-menu-check: both must give the same verdict, bombs
must be refused and a camera-sized JPEG must show. Each run has 512 MB of address space; a refusal
must come within 2 s, and a picture in a format whose size the header reader does not read must be
refused by its format, before any decoder sees it. Prints each one's time and peak memory.

Usage: picture_agreement_test.py MENU CHECKER
"""
import os
import resource
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, rows):
    """An RGB PNG declaring width x height, with pixel data for only `rows` rows."""
    packer = zlib.compressobj(9)
    row = b"\0" + b"\x80" * (width * 3)
    data = b"".join(packer.compress(row) for _ in range(rows)) + packer.flush()
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", data) + chunk(b"IEND", b""))


def jpeg_declaring(width, height):
    frame = b"\xff\xc0" + struct.pack(">HBHHB", 11, 8, height, width, 1) + b"\x01\x11\x00"
    return b"\xff\xd8" + frame + b"\xff\xd9"


def camera_jpeg(width, height):
    picture = GdkPixbuf.Pixbuf.new(GdkPixbuf.Colorspace.RGB, False, 8, width, height)
    picture.fill(0x3366CCFF)
    ok, data = picture.save_to_bufferv("jpeg", ["quality"], ["90"])
    assert ok
    return data


def gif_frames(width, height, frames):
    """An animation of `frames` full frames of one colour: 8-bit LZW, whose codes are 9 bits wide
    as long as a clear code comes before every 254 pixels (valid, if not small)."""
    codes = []
    for start in range(0, width * height, 254):
        codes.append(256)  # clear
        codes.extend([0] * min(254, width * height - start))
    codes.append(257)  # end
    bits, count, out = 0, 0, bytearray()
    for code in codes:
        bits |= code << count
        count += 9
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255])
                      for i in range(0, len(out), 255)) + b"\0"
    frame = (b"\x21\xf9\x04\x00\x0a\x00\x00\x00" + b"\x2c" + struct.pack("<HHHH", 0, 0, width, height)
             + b"\x00\x08" + blocks)
    return (b"GIF89a" + struct.pack("<HH", width, height) + b"\x80\x00\x00" + b"\xff\x00\x00\x00\x00\xff"
            + frame * frames + b";")


def atom(kind, data):
    return struct.pack(">I", 8 + len(data)) + kind + data


def icns(inner):
    """A Mac icon whose one 256 x 256 entry holds `inner`, which GdkPixbuf hands to whichever loader
    its content picks."""
    entry = b"ic08" + struct.pack(">I", 8 + len(inner)) + inner
    return b"icns" + struct.pack(">I", 8 + len(entry)) + entry


def ico(*images):
    """A Windows icon listing `images`, each (side as its directory writes it, bytes)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for side, data in images:
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in images)


def nested_icns(depth):
    data = png(4, 4, 4)
    for _ in range(depth):
        data = icns(data)
    return data


def rle_tga(width, height):
    """A run-length 24-bit Targa: four bytes for every 128 pixels, with the version 2 footer."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 10, 0, 0, 0, 0, 0, width, height, 24, 0x20)
    packets = b"\xff\x80\x40\x20" * (width * height // 128)
    return header + packets + b"\0" * 8 + b"TRUEVISION-XFILE.\0"


def blue_wmf():
    """A placeable Windows metafile, 100 x 50 units, filled with one blue rectangle."""
    records = []
    for function, *params in [(0x020B, 0, 0),  # SETWINDOWORG
                              (0x020C, 50, 100),  # SETWINDOWEXT
                              (0x02FC, 0, 0x0000, 0x00FF, 0),  # CREATEBRUSHINDIRECT, solid blue
                              (0x012D, 0),  # SELECTOBJECT
                              (0x041B, 50, 100, 0, 0),  # RECTANGLE
                              (0x0000,)]:  # end of file
        records.append(struct.pack("<IH", 3 + len(params), function) +
                       struct.pack("<%dH" % len(params), *params))
    body = b"".join(records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 1, 7, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 100, 50, 96, 0)
    checksum = 0
    for word in struct.unpack("<10H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + body


# Pictures in formats whose size the header reader does not read, wrapping or declaring far more
# than the budget (a metafile may hold bitmaps of any size), and the word the refusal must use for
# the format.
WRAPPED = {
    "png_in.qtif": (lambda: atom(b"idat", png(20000, 20000, 64)), "QTIF"),
    "png_in.icns": (lambda: icns(png(20000, 20000, 64)), "ICNS"),
    "nested.icns": (lambda: nested_icns(12000), "ICNS"),
    "rle.tga": (lambda: rle_tga(16000, 16000), "TGA"),
    "blue.wmf": (blue_wmf, "WMF"),
    # An icon's directory allows 256 x 256 (written 0); the PNG inside claims far more.
    "png_in.ico": (lambda: ico((0, png(20000, 20000, 64))), "ICO"),
    "many.ico": (lambda: ico(*[(0, png(256, 256, 256))] * 4000), "ICO"),
}


def corpus():
    good = png(600, 200, 200)
    return {
        "png_bomb.png": (png(30000, 30000, 64), False),
        "jpeg_bomb.jpg": (jpeg_declaring(65500, 65500), False),
        "gif_bomb.gif": (b"GIF89a" + struct.pack("<HH", 65535, 65535) + b"\x00\x00\x00"
                         + b"\x2c" + struct.pack("<HHHH", 0, 0, 65535, 65535) + b"\x00\x02\x01\x04\x00;",
                         False),
        "truncated.png": (good[: len(good) // 2], None),
        "png_named.jpg": (good, True),
        "text.png": (b"not a picture at all\n", False),
        "camera.jpg": (camera_jpeg(8000, 6000), True),
        "animated.gif": (gif_frames(800, 800, 40), True),
        "icon.ico": (ico((16, png(16, 16, 16)), (48, png(48, 48, 48))), True),
        **{name: (make(), False) for name, (make, _) in WRAPPED.items()},
    }


ADDRESS_SPACE = 512 << 20
REFUSAL_SECONDS = 2


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (ADDRESS_SPACE, ADDRESS_SPACE))


def run(command, medium):
    """Exit status, stderr, seconds and peak resident kilobytes of one run."""
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=medium, env=environment, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, preexec_fn=limit_memory)
    # A program that hangs on a picture is a failure, not a stuck test.
    timer = threading.Timer(20, process.kill)
    timer.start()
    out, err = process.stdout.read(), process.stderr.read()
    timer.cancel()
    _, wait_status, rusage = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    process.stdout.close()
    process.stderr.close()
    process.returncode = os.waitstatus_to_exitcode(wait_status)
    return (process.returncode, (out + err).decode(errors="replace"), seconds, rusage.ru_maxrss)


def make_media(root):
    for name, (data, _) in corpus().items():
        medium = os.path.join(root, name)
        os.makedirs(os.path.join(medium, "menu"))
        with open(os.path.join(medium, "menu", name), "wb") as f:
            f.write(data)
        with open(os.path.join(medium, "menu", "config.mnu"), "wb") as f:
            f.write(b"Pictures\r\nmenu\\" + name.encode() + b"\r\n1\r\nQuit\r\n$exit$\r\n")


def add_blocking_file(root):
    """The kernel's log, a "regular" file whose read blocks until the kernel logs (root only)."""
    if not os.access("/proc/kmsg", os.R_OK):
        return
    medium = os.path.join(root, "kmsg.png")
    os.makedirs(os.path.join(medium, "menu"))
    os.symlink("/proc/kmsg", os.path.join(medium, "menu", "kmsg.png"))
    with open(os.path.join(medium, "menu", "config.mnu"), "wb") as f:
        f.write(b"Pictures\r\nmenu\\kmsg.png\r\n1\r\nQuit\r\n$exit$\r\n")
    EXPECTED["kmsg.png"] = False
    # The same file as the menu file itself.
    medium = os.path.join(root, "kmsg.mnu")
    os.makedirs(os.path.join(medium, "menu"))
    os.symlink("/proc/kmsg", os.path.join(medium, "menu", "config.mnu"))


def blocking_menu_file_ends(menu, checker, root, failures):
    """The menu and the checker stop at once at a menu file that would block: a link out of the
    medium, which the menu takes as missing and the checker names."""
    medium = os.path.join(root, "kmsg.mnu")
    if not os.path.isdir(medium):
        return
    for name, command in (("menu", [menu]), ("checker", [checker, "."])):
        status, says, seconds, _ = run(command, medium)
        print(f"kmsg as the menu file: {name} exit {status} in {seconds:.2f} s")
        if seconds > 10 or ("config.mnu" not in says and "definition file" not in says):
            failures.append(f"kmsg as the menu file: the {name} did not stop with an error:\n{says}")


EXPECTED = {"png_bomb.png": False, "jpeg_bomb.jpg": False, "gif_bomb.gif": False,
            "truncated.png": None, "png_named.jpg": True, "text.png": False, "camera.jpg": True,
            "animated.gif": True, "icon.ico": True, **{name: False for name in WRAPPED}}


def main():
    if sys.argv[1] == "--make":
        make_media(sys.argv[2])
        return 0
    menu, checker = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    failures = []
    root = tempfile.mkdtemp(prefix="tolvar-pictures-")
    try:
        # Made by another process: a child's peak memory counts its parent's at the time it started.
        subprocess.run([sys.executable, __file__, "--make", root], check=True)
        add_blocking_file(root)
        blocking_menu_file_ends(menu, checker, root, failures)
        for name, expected in EXPECTED.items():
            medium = os.path.join(root, name)
            size = os.lstat(os.path.join(medium, "menu", name)).st_size
            _, menu_says, menu_seconds, menu_kb = run([menu], medium)
            refused_by_menu = "invalid picture" in menu_says
            status, check_says, check_seconds, check_kb = run([checker, "."], medium)
            refused_by_checker = "cannot be shown" in check_says
            print(f"{name:15} {size:>9} bytes  menu {'refuses' if refused_by_menu else 'shows  '} "
                  f"{menu_seconds:5.2f} s {menu_kb / 1024:6.1f} MB   checker exit {status} "
                  f"{check_seconds:5.2f} s {check_kb / 1024:6.1f} MB")
            if refused_by_menu != refused_by_checker:
                failures.append(f"{name}: the menu and the checker disagree:\n{menu_says}\n{check_says}")
            if expected is not None and refused_by_menu == expected:
                failures.append(f"{name}: expected it {'shown' if expected else 'refused'}:\n{menu_says}")
            if not expected and expected is not None and "pixels" not in menu_says and "bomb" in name:
                failures.append(f"{name}: the refusal does not name the declared size:\n{menu_says}")
            if expected is False and max(menu_seconds, check_seconds) > REFUSAL_SECONDS:
                failures.append(f"{name}: refused only after {max(menu_seconds, check_seconds):.2f} s")
            if name in WRAPPED and not all(WRAPPED[name][1] in says for says in (menu_says, check_says)):
                failures.append(f"{name}: the refusal does not name the format:\n{menu_says}\n{check_says}")
    finally:
        shutil.rmtree(root)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
