#!/usr/bin/env python3
"""Writes the pictures that the skin control tests read back pixel by pixel: a patterned
background, button faces with a transparent colour, an icon and a cursor."""
import os
import struct
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "artwork"))

from canvas import write_bmp  # noqa: E402

GREEN = (0, 255, 0)          # the text buttons' transparent colour
SMALL_KEY = (75, 100, 112)   # the small buttons' transparent colour, 0x70644B
BODY = (30, 60, 200)         # a button face's own colour
HOVER_BODY = (200, 40, 30)
MARK = (250, 250, 0)


def icon_image(width, height, pixel, opaque):
    """A 24-bit colour image and its AND mask (1 = transparent), as an .ico entry holds them."""
    stride = (width * 3 + 3) & ~3
    colour = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y) if opaque(x, y) else (0, 0, 0)
            row += bytes((b, g, r))
        colour += row + bytes(stride - len(row))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(height)):
        row = bytearray(mask_stride)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 24, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def write_icon(path, kind, width, height, pixel, opaque, hotspot=(0, 0)):
    image = icon_image(width, height, pixel, opaque)
    planes_or_x, bits_or_y = (1, 24) if kind == 1 else hotspot
    header = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", width, height, 0, 0, planes_or_x, bits_or_y, len(image), 6 + 16)
    Path(path).write_bytes(header + entry + image)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # The dialog's picture: every pixel its own colour, so a copy of it is recognised in place.
    write_bmp(out / "background401.bmp", 240, 160, lambda x, y: (x % 256, (y * 3) % 256, 77))
    # A text button face of 60 x 24: a green frame of 4 pixels and green left corners around the body.
    def face(body):
        def pixel(x, y):
            if x < 4 or y < 4 or x >= 56 or y >= 20 or (x < 10 and y < 10):
                return GREEN
            return MARK if (x, y) == (30, 12) else body
        return pixel
    write_bmp(out / "face402.bmp", 60, 24, face(BODY))
    write_bmp(out / "hover403.bmp", 60, 24, face(HOVER_BODY))
    # A small button of 16 x 14 on the small buttons' transparent colour.
    write_bmp(out / "small404.bmp", 16, 14,
              lambda x, y: BODY if 3 <= x < 13 and 3 <= y < 11 else SMALL_KEY)
    # An icon of 32 x 32: a red disc on nothing.
    disc = lambda x, y: (x - 15.5) ** 2 + (y - 15.5) ** 2 < 14 ** 2
    write_icon(out / "icon405.ico", 1, 32, 32, lambda x, y: (220, 30, 30), disc)
    write_icon(out / "cursor406.cur", 2, 32, 32, lambda x, y: (0, 0, 0), lambda x, y: x == y, (1, 1))


if __name__ == "__main__":
    main()
