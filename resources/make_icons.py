#!/usr/bin/env python3
"""Draws the menu's icon, a disc with a play arrow, in the 16-colour palette, and writes it as a
Windows .ico (32x32 and 16x16, 4 bits per pixel) and as two PNG files for the Linux window.

Usage: make_icons.py OUTPUT_DIR   (writes tolvar.ico, tolvar-32.png, tolvar-16.png)
"""
import math
import struct
import sys
import zlib
from pathlib import Path

# The standard 16-colour palette, in the order Windows uses for 4-bit bitmaps.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = None
BLACK, DARK_GREY, LIGHT_GREY, WHITE = 0, 8, 7, 15
BLUE, CYAN, DARK_CYAN, YELLOW = 12, 14, 6, 11


def draw(size):
    """Returns size x size palette indexes (None for transparent), top row first."""
    c = (size - 1) / 2.0
    outer, hole = size / 2.0 - 0.5, size * 0.12
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy)
            if r > outer:
                row.append(TRANSPARENT)
            elif r > outer - 1.2:
                row.append(DARK_GREY)  # rim
            elif r < hole:
                row.append(TRANSPARENT if r < hole - 1 else DARK_GREY)
            else:
                angle = math.degrees(math.atan2(dy, dx)) % 360
                # Light catching the disc in two opposite sweeps, as on a real CD.
                if 200 <= angle < 250 or 20 <= angle < 70:
                    row.append(CYAN if r > size * 0.3 else WHITE)
                else:
                    row.append(LIGHT_GREY)
        pixels.append(row)
    # A play arrow over the lower right: Launch.
    s = size / 32.0
    x0, y0, h = int(16 * s), int(15 * s), int(15 * s) | 1
    for i in range(h):
        width = min(i, h - 1 - i) + 1
        for x in range(x0, min(size, x0 + width)):
            edge = x == x0 or x == x0 + width - 1
            pixels[y0 + i][x] = BLACK if edge else YELLOW
    return pixels


def ico_image(pixels):
    """A BITMAPINFOHEADER image of an .ico entry: 4-bit XOR bitmap, then the 1-bit AND mask."""
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * (-len(mask) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_ico(path, images):
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for pixels in images:
        blob = ico_image(pixels)
        size = len(pixels)
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs += blob
    path.write_bytes(directory + entries + blobs)


def write_png(path, pixels):
    size = len(pixels)
    raw = b''.join(
        b'\0' + b''.join(bytes((0, 0, 0, 0)) if p is None else bytes(PALETTE[p] + (255,))
                         for p in row)
        for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack(
            '>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    path.write_bytes(png)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    big, small = draw(32), draw(16)
    write_ico(out / 'tolvar.ico', [big, small])
    write_png(out / 'tolvar-32.png', big)
    write_png(out / 'tolvar-16.png', small)


if __name__ == '__main__':
    main()
