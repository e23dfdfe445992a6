#!/usr/bin/env python3
"""Stand-in pictures for the gauges gallery: the progress channel 169 and active channel 170 in
the size Brimlet's artwork gives them (400 x 22), and a thumb with its active look. Pixels
outside the rounded shapes are pure green, the colour the slider keys out."""
import math
import os
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "artwork"))

from canvas import write_bmp  # noqa: E402

KEY = (0, 255, 0)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def inside_capsule(x, y, width, height):
    """A pill shape: a rectangle with half-circle ends."""
    r = height / 2.0
    cx = min(max(x + 0.5, r), width - r)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - r) ** 2 <= r * r


def channel(active):
    width, height = 400, 22

    def pixel(x, y):
        if not inside_capsule(x, y, width, height):
            return KEY
        t = y / (height - 1)
        if active:
            base = mix((150, 236, 214), (24, 150, 120), t * 1.4) if t < 0.5 else mix((30, 170, 132), (12, 110, 96), (t - 0.5) * 2)
            if ((x + y) // 6) % 4 == 0:  # faint diagonal stripes
                base = mix(base, (255, 255, 255), 0.18)
            return base
        return mix((188, 198, 212), (236, 240, 246), t)

    return pixel


def thumb(active):
    size_x, size_y = 16, 22
    light = (255, 244, 200) if active else (250, 250, 252)
    dark = (214, 150, 40) if active else (120, 136, 160)

    def pixel(x, y):
        cx, cy, r = 7.5, 10.5, 7.6
        d = math.hypot(x - cx, y - cy)
        if d > r:
            return KEY
        return mix(light, dark, (d / r) ** 2 * 0.6 + (y / size_y) * 0.4)

    return size_x, size_y, pixel


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "bitmap169.bmp", 400, 22, channel(False))
    write_bmp(out / "bitmap170.bmp", 400, 22, channel(True))
    for name, active in (("thumb901.bmp", False), ("thumb902.bmp", True)):
        w, h, pixel = thumb(active)
        write_bmp(out / name, w, h, pixel)


if __name__ == "__main__":
    main()
