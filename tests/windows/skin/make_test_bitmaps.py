#!/usr/bin/env python3
"""Writes the flat-coloured 24-bit bitmaps that the skin tests read back pixel by pixel."""
import struct
import sys
from pathlib import Path


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + data)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # Background: left half red, right half blue.
    write_bmp(out / "background201.bmp", 20, 10, lambda x, y: (200, 0, 0) if x < 10 else (0, 0, 200))
    # Hover button looks: normal, hover, pressed (the pressed one a little larger).
    write_bmp(out / "normal210.bmp", 60, 24, lambda x, y: (255, 0, 0))
    write_bmp(out / "hover211.bmp", 60, 24, lambda x, y: (0, 160, 0))
    write_bmp(out / "pressed212.bmp", 64, 26, lambda x, y: (0, 0, 255))


if __name__ == "__main__":
    main()
