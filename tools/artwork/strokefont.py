# tools/artwork/strokefont.py
# The few letters the skin writes itself ("Vexmend", "OK", "USB REPAIR TOOL" and the four
# characters of its Chinese name), as strokes on a grid whose capitals are 10 units high with the
# baseline at y = 10 and the x-height at y = 3. The Chinese characters fill a 10 x 10 square.
import math

import canvas


def _arc(cx, cy, rx, ry, a0, a1, steps=14):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


GLYPHS = {
    "V": (7.2, [[(0, 0), (3.6, 10), (7.2, 0)]]),
    "e": (6.4, [[(0.2, 6.5), (6.3, 6.5)] + _arc(3.2, 6.5, 3.1, 3.5, 0, -315)]),
    "x": (6.0, [[(0.2, 3), (5.8, 10)], [(5.8, 3), (0.2, 10)]]),
    "m": (9.6, [[(0, 3), (0, 10)],
                [(0, 5.4)] + _arc(2.4, 5.4, 2.4, 2.4, 180, 360) + [(4.8, 10)],
                _arc(7.2, 5.4, 2.4, 2.4, 180, 360) + [(9.6, 10)]]),
    "n": (5.6, [[(0, 3), (0, 10)], [(0, 5.6)] + _arc(2.8, 5.6, 2.8, 2.6, 180, 360) + [(5.6, 10)]]),
    "d": (6.0, [_arc(3.0, 6.5, 3.0, 3.5, 0, 360, 24), [(6.0, 0), (6.0, 10)]]),
    "O": (8.4, [_arc(4.2, 5.0, 4.2, 5.0, 0, 360, 28)]),
    "K": (6.8, [[(0, 0), (0, 10)], [(6.6, 0), (0.2, 6.4)], [(2.4, 4.3), (6.8, 10)]]),
    "U": (6.0, [[(0, 0), (0, 6.8)] + _arc(3.0, 6.8, 3.0, 3.2, 180, 0) + [(6.0, 0)]]),
    "S": (6.0, [[(5.8, 1.4), (4.8, 0.3), (3, 0), (1.2, 0.3), (0.2, 1.5), (0.3, 3.2), (1.5, 4.3),
                 (3, 4.9), (4.5, 5.6), (5.8, 6.8), (5.9, 8.6), (4.8, 9.7), (3, 10), (1.2, 9.7),
                 (0, 8.5)]]),
    "B": (6.6, [[(0, 0), (0, 10)], [(0, 0), (3.6, 0)] + _arc(3.6, 2.4, 2.4, 2.4, -90, 90) + [(0, 4.8)],
                [(0, 4.8), (4.0, 4.8)] + _arc(4.0, 7.4, 2.6, 2.6, -90, 90) + [(0, 10)]]),
    "E": (5.6, [[(5.6, 0), (0, 0), (0, 10), (5.6, 10)], [(0, 5), (4.8, 5)]]),
    "R": (6.4, [[(0, 10), (0, 0), (3.6, 0)] + _arc(3.6, 2.6, 2.6, 2.6, -90, 90) + [(0, 5.2)],
                [(3.2, 5.2), (6.4, 10)]]),
    "P": (6.2, [[(0, 10), (0, 0), (3.5, 0)] + _arc(3.5, 2.7, 2.7, 2.7, -90, 90) + [(0, 5.4)]]),
    "A": (7.6, [[(0, 10), (3.8, 0), (7.6, 10)], [(1.4, 6.4), (6.2, 6.4)]]),
    "I": (0.0, [[(0, 0), (0, 10)]]),
    "T": (6.8, [[(0, 0), (6.8, 0)], [(3.4, 0), (3.4, 10)]]),
    "L": (5.4, [[(0, 0), (0, 10), (5.4, 10)]]),
    # xiu (repair): person radical, a short upright, then the strike above three slanting strokes.
    "\u4fee": (10.0, [[(2.6, 0.2), (0.3, 4.6)], [(1.5, 2.8), (1.5, 10)], [(3.3, 3.2), (3.3, 7.6)],
                      [(5.2, 0.1), (4.2, 2.2)], [(4.8, 1.3), (9.6, 1.3)], [(8.4, 1.3), (4.4, 4.8)],
                      [(5.8, 2.6), (9.8, 4.9)], [(7.8, 5.2), (5.0, 6.7)], [(8.8, 6.4), (4.6, 8.3)],
                      [(9.8, 7.6), (4.0, 10.0)]]),
    # fu (restore): double-person radical, then a sun between a strike and the walking foot.
    "\u5fa9": (10.0, [[(2.4, 0.2), (0.4, 2.4)], [(2.6, 2.8), (0.2, 5.4)], [(1.5, 4.2), (1.5, 10)],
                      [(5.0, 0.1), (4.0, 1.6)], [(4.6, 0.9), (9.6, 0.9)],
                      [(4.8, 2.3), (4.8, 5.3)], [(4.8, 2.3), (9.0, 2.3), (9.0, 5.3)], [(4.8, 3.8), (9.0, 3.8)],
                      [(4.8, 5.3), (9.0, 5.3)], [(6.2, 5.8), (4.6, 7.4)], [(5.6, 6.7), (8.6, 6.7), (4.2, 10.0)],
                      [(5.9, 7.7), (9.9, 10.0)]]),
    # gong (work).
    "\u5de5": (10.0, [[(1.4, 1.0), (8.6, 1.0)], [(5.0, 1.0), (5.0, 9.0)], [(0.3, 9.0), (9.7, 9.0)]]),
    # ju (tool): an eye over a long strike and two feet.
    "\u5177": (10.0, [[(2.4, 0.3), (2.4, 7.0)], [(2.4, 0.3), (7.6, 0.3), (7.6, 7.0)], [(2.4, 2.5), (7.6, 2.5)],
                      [(2.4, 4.7), (7.6, 4.7)], [(0.2, 7.0), (9.8, 7.0)], [(3.6, 8.2), (1.6, 9.9)],
                      [(6.4, 8.2), (8.4, 9.9)]]),
    " ": (4.0, []),
}

SPACING = 2.2


def advance(text, weight_units):
    return sum(GLYPHS[c][0] + SPACING + weight_units for c in text) - SPACING - weight_units


def width(text, size, weight):
    """Pixel width of `text` with capitals `size` pixels high and strokes `weight` pixels wide."""
    scale = size / 10.0
    return advance(text, weight / scale) * scale + weight


def shape(text, x, baseline, size, weight, slant=0.0):
    """The text as one distance shape: left edge at x, baseline at `baseline`."""
    scale = size / 10.0
    wu = weight / scale
    segs = []
    pen = wu / 2
    for ch in text:
        glyph_width, lines = GLYPHS[ch]
        for line in lines:
            pts = [(x + (pen + px + (10 - py) * slant) * scale, baseline - (10 - py) * scale) for px, py in line]
            segs.extend(canvas.segments(pts))
        pen += glyph_width + SPACING + wu
    return canvas.strokes(segs, weight)
