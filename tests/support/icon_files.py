"""Icon files for the end-to-end tests of both windows: pictures in four quadrants of known colours,
as the images an icon holds (a bitmap and a PNG) and as the icon file around them, so that a test
can find each quadrant's colour where the window shows it."""
import struct
import zlib


def quadrant_icon_images(side, colors):
    """The quadrants of `colors` (top left, top right, bottom left, bottom right, each (red,
    green, blue)) as an icon's two kinds of image, `side` pixels square: a 32-bit bitmap without
    its file header, its height doubled for the mask after it, and a PNG."""
    rows = [[colors[(2 if y >= side // 2 else 0) + (x >= side // 2)] for x in range(side)]
            for y in range(side)]
    info = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, 255)) for row in reversed(rows) for r, g, b in row)
    mask = bytes((side + 31) // 32 * 4 * side)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
    return info + pixels + mask, png


def icon(*images):
    """A Windows icon of `images`, each (side, bytes), in the order given."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for side, data in images:
        directory += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in images)


def quadrant_icon(side, colors):
    """An icon of one bitmap image of `colors`' quadrants, `side` pixels square."""
    return icon((side, quadrant_icon_images(side, colors)[0]))


def quadrant_png(side, colors):
    """A PNG of `colors`' quadrants, `side` pixels square."""
    return quadrant_icon_images(side, colors)[1]


def net_wm_icons(xprop_output):
    """The icons of a window's _NET_WM_ICON as xprop prints it in numbers
    (`xprop -id W -f _NET_WM_ICON 32c '=$0+' _NET_WM_ICON`):
    [(width, height, pixel(x, y) -> (r, g, b, a))], largest first."""
    numbers = [int(word, 0) for word in xprop_output.split("=", 1)[1].replace(",", " ").split()]
    icons = []
    while len(numbers) >= 2:
        width, height = numbers[0], numbers[1]
        data = numbers[2:2 + width * height]
        numbers = numbers[2 + width * height:]

        def pixel(x, y, data=data, width=width):
            value = data[y * width + x]
            return ((value >> 16) & 255, (value >> 8) & 255, value & 255, (value >> 24) & 255)
        icons.append((width, height, pixel))
    return sorted(icons, key=lambda found: -found[0])
