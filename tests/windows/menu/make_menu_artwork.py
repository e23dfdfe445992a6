#!/usr/bin/env python3
"""Writes the pictures and the toolbar resources that the menu and region dialog tests read back.

toolbar300.bmp  16-colour strip of three 16 x 15 images on the standard button face (0xC0C0C0):
                red, blue and green squares with a black border
toolbar300.bin  its toolbar resource: version 1, 16 x 15, buttons 100, separator, 101, 102
toolbar310.bmp  24-bit strip of two 20 x 18 images (magenta background): yellow, cyan
toolbar310.bin  its toolbar resource: buttons 120, 121
toolbar311.bmp  as toolbar300's first two images (red, blue) with a 12-byte core header
toolbar311.bin  its toolbar resource: buttons 130, 131
v4image323.bmp  toolbar300.bmp's strip with a V4 header; v5image324.bmp with a V5 header
check320.bmp    24-bit 16 x 15 check mark (black on magenta); check321.bmp the selected one (blue)
image330.bmp    24-bit 16 x 15 image: a dark red square on magenta
region340.bmp   24-bit 40 x 30: magenta (the key) in columns 0 and 39, in row 5 and in a 4 x 4 hole
                at (20, 20); white elsewhere
region341.bmp   24-bit 240 x 200, larger than the dialogs: magenta in column 0, in row 5 and in a 4 x 4
                hole at (20, 20); white elsewhere
gallery360.bmp  24-bit 240 x 160 for the gallery: a shaded ellipse with a round hole, magenta around
"""
import os
import struct
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "artwork"))

from canvas import write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)
FACE = (0xC0, 0xC0, 0xC0)


def write_bmp4(path, width, height, palette, index, header_size=40):
    """16-colour bitmap; index(x, y) -> palette index. header_size 12 writes a core header (3-byte
    colour entries), 108 a V4 and 124 a V5 header (sRGB), 40 the plain one."""
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(0, width, 2):
            hi = index(x, y)
            lo = index(x + 1, y) if x + 1 < width else 0
            row.append((hi << 4) | lo)
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    if header_size == 12:
        table = b"".join(bytes((b, g, r)) for r, g, b in palette)
        info = struct.pack("<IHHHH", 12, width, height, 1, 4)
    else:
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
        if header_size >= 108:
            # no masks (BI_RGB), LCS_sRGB, no endpoints or gammas
            info += struct.pack("<4I", 0, 0, 0, 0) + b"BGRs" + bytes(36 + 12)
        if header_size == 124:
            info += struct.pack("<4I", 4, 0, 0, 0)  # LCS_GM_IMAGES, no profile
        assert len(info) == header_size
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    Path(path).write_bytes(header + info + table + data)


def toolbar_resource(path, width, height, ids):
    Path(path).write_bytes(struct.pack("<HHHH", 1, width, height, len(ids)) + b"".join(struct.pack("<H", i) for i in ids))


def square(x, y, size_x, size_y, inner):
    """Black border one pixel in from the edge, the inner colour inside, background outside."""
    if x < 1 or y < 1 or x >= size_x - 1 or y >= size_y - 1:
        return None
    if x == 1 or y == 1 or x == size_x - 2 or y == size_y - 2:
        return (0, 0, 0)
    return inner


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)

    palette = [FACE, (0, 0, 0), (255, 0, 0), (0, 0, 255), (0, 255, 0)]
    inner = [2, 3, 4]

    def strip(x, y):
        image, local = divmod(x, 16)
        c = square(local, y, 16, 15, "inner")
        if c is None:
            return 0
        return 1 if c == (0, 0, 0) else inner[image]

    write_bmp4(out / "toolbar300.bmp", 48, 15, palette, strip)
    toolbar_resource(out / "toolbar300.bin", 16, 15, [100, 0, 101, 102])

    # The same kind of strip with the headers that carry no plain table: core (a toolbar of its
    # own), V4 and V5.
    def single(x, y):
        c = square(x % 16, y, 16, 15, "inner")
        return 0 if c is None else 1 if c == (0, 0, 0) else inner[x // 16]

    write_bmp4(out / "toolbar311.bmp", 32, 15, palette, single, header_size=12)
    toolbar_resource(out / "toolbar311.bin", 16, 15, [130, 131])
    write_bmp4(out / "v4image323.bmp", 48, 15, palette, single, header_size=108)
    write_bmp4(out / "v5image324.bmp", 48, 15, palette, single, header_size=124)

    colours310 = [(255, 255, 0), (0, 255, 255)]
    write_bmp(out / "toolbar310.bmp", 40, 18,
                lambda x, y: square(x % 20, y, 20, 18, colours310[x // 20]) or MAGENTA)
    toolbar_resource(out / "toolbar310.bin", 20, 18, [120, 121])

    write_bmp(out / "check320.bmp", 16, 15, lambda x, y: (0, 0, 0) if 4 <= x < 12 and 4 <= y < 11 else MAGENTA)
    write_bmp(out / "check321.bmp", 16, 15, lambda x, y: (0, 0, 255) if 4 <= x < 12 and 4 <= y < 11 else MAGENTA)
    write_bmp(out / "image330.bmp", 16, 15, lambda x, y: (128, 0, 0) if 2 <= x < 14 and 2 <= y < 13 else MAGENTA)

    def region(x, y):
        if x in (0, 39) or y == 5 or (20 <= x < 24 and 20 <= y < 24):
            return MAGENTA
        return (255, 255, 255)

    write_bmp(out / "region340.bmp", 40, 30, region)

    def tall_region(x, y):
        if x == 0 or y == 5 or (20 <= x < 24 and 20 <= y < 24):
            return MAGENTA
        return (255, 255, 255)

    write_bmp(out / "region341.bmp", 240, 200, tall_region)

    def gallery(x, y):
        dx, dy = (x - 119.5) / 118.0, (y - 79.5) / 78.0
        if dx * dx + dy * dy > 1.0 or (x - 185) ** 2 + (y - 80) ** 2 < 18 ** 2:
            return MAGENTA
        t = y / 159.0
        return (int(40 + 60 * t), int(90 + 100 * t), int(200 - 60 * t))

    write_bmp(out / "gallery360.bmp", 240, 160, gallery)


if __name__ == "__main__":
    main()
