#!/usr/bin/env python3
"""Writes the pictures of the skin controls' gallery: a dialog background, a text button face
on pure green, small close and minimise buttons on the small buttons' key colour (0x70644B) and
an icon. They stand in for Brimlet's own artwork in the gallery."""
import struct
import sys
from pathlib import Path

GREEN = (0, 255, 0)
SMALL_KEY = (75, 100, 112)


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y from the top; 24-bit, bottom-up rows."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = (max(0, min(255, int(round(v)))) for v in pixel(x, y))
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + data)


def write_icon(path, size, pixel, opaque):
    stride = (size * 3 + 3) & ~3
    colour = bytearray()
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b = (int(round(v)) for v in (pixel(x, y) if opaque(x, y) else (0, 0, 0)))
            row += bytes((b, g, r))
        colour += row + bytes(stride - len(row))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    image = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image += bytes(colour) + bytes(mask)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), 6 + 16)
    Path(path).write_bytes(struct.pack("<HHH", 0, 1, 1) + entry + image)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def inside_rounded(x, y, width, height, radius):
    """Whether pixel (x, y) lies in a rectangle of the size with rounded corners."""
    cx = min(max(x + 0.5, radius), width - radius)
    cy = min(max(y + 0.5, radius), height - radius)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2


def background(width, height):
    top, bottom = (46, 78, 112), (20, 36, 58)
    panel = (232, 236, 242)

    def pixel(x, y):
        base = mix(top, bottom, y / (height - 1))
        # A title strip and a light panel for the controls.
        if y < 28:
            return mix((70, 110, 150), (46, 78, 112), y / 28)
        px, py = x - 10, y - 38
        if 0 <= px < width - 20 and 0 <= py < height - 48 and inside_rounded(px, py, width - 20, height - 48, 10):
            edge = not inside_rounded(px - 1, py - 1, width - 22, height - 50, 10) if px > 0 and py > 0 else True
            return (190, 200, 214) if edge else mix(panel, (214, 222, 232), py / (height - 48))
        return base
    return pixel


def text_button(width, height, top, bottom):
    def pixel(x, y):
        if not inside_rounded(x, y, width, height, 8):
            return GREEN
        if not inside_rounded(x - 1, y - 1, width - 2, height - 2, 7) if 0 < x < width - 1 and 0 < y < height - 1 else True:
            return (20, 46, 90)
        shade = mix(top, bottom, y / (height - 1))
        return mix(shade, (255, 255, 255), 0.35) if y < height // 2 - 2 else shade
    return pixel


def small_button(size, face, mark):
    def pixel(x, y):
        d = ((x + 0.5 - size / 2) ** 2 + (y + 0.5 - size / 2) ** 2) ** 0.5
        if d > size / 2 - 0.5:
            return SMALL_KEY
        if d > size / 2 - 1.5:
            return (30, 40, 60)
        return mark(x, y) or face
    return pixel


def cross(x, y):
    return (255, 255, 255) if 4 <= x <= 11 and 4 <= y <= 11 and (x == y or x + y == 15) else None


def bar(x, y):
    return (255, 255, 255) if 4 <= x <= 11 and 9 <= y <= 10 else None


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "gallery_background.bmp", 520, 360, background(520, 360))
    write_bmp(out / "gallery_button.bmp", 80, 26, text_button(80, 26, (80, 140, 210), (28, 76, 150)))
    write_bmp(out / "gallery_close.bmp", 16, 16, small_button(16, (190, 50, 40), cross))
    write_bmp(out / "gallery_close_hover.bmp", 16, 16, small_button(16, (235, 90, 70), cross))
    write_bmp(out / "gallery_minimise.bmp", 16, 16, small_button(16, (90, 110, 140), bar))
    write_bmp(out / "gallery_minimise_hover.bmp", 16, 16, small_button(16, (130, 155, 190), bar))
    disc = lambda x, y: (x - 15.5) ** 2 + (y - 15.5) ** 2 < 14.5 ** 2
    tick = lambda x, y: (9 <= x <= 14 and abs(y - (x + 7)) <= 1) or (14 <= x <= 23 and abs(y - (35 - x)) <= 1)
    write_icon(out / "gallery_icon.ico", 32,
               lambda x, y: (255, 255, 255) if tick(x, y) else mix((60, 170, 90), (20, 110, 50), y / 31), disc)


if __name__ == "__main__":
    main()
