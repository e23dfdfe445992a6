#!/usr/bin/env python3
# tools/artwork/sarrow_skin.py --out DIR [--preview DIR]
# Draws Sarrow's skin: the window backgrounds, button faces, splash frames, result pictures and
# the program icon, as 24-bit BMP files (32-bit .ico), named after their resource numbers.
# The pixel regions the dialog templates align to are listed in layout.md beside this script.
import math
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import canvas as cv  # noqa: E402
import strokefont  # noqa: E402
import skin_family as family  # noqa: E402
from skin_family import blit, panel, shadow  # noqa: E402

# Colour key of every Sarrow window: the layered window removes exactly this colour.
KEY = (0, 60, 31)
KEY_STANDIN = (0, 61, 31)
TRAY = (18, 34, 62)
SOCKET = (192, 208, 228)
# Where the small keys sit in each window: (x, y) of minimise (27 x 24) and close (39 x 25).
SMALL_KEYS = {
    129: ((404, 10), (436, 9)),
    141: ((397, 20), (426, 20)),
    148: ((396, 16), (424, 16)),
    149: ((396, 16), (424, 16)),
}


def window(w, h, title_height, tray=None):
    return family.window(w, h, title_height, tray, TRAY)


def finish(c, shape):
    return family.finish(c, shape, KEY, KEY_STANDIN)


def put_small_keys(c, number, faces):
    (mx, my), (cx, cy) = SMALL_KEYS[number]
    blit(c, faces[138], mx, my)
    blit(c, faces[137], cx, cy)


def caption_tab(c, x0, y0, x1, y1):
    shape = cv.box(x0, y0, x1, y1, 7)
    c.fill(shape, cv.vramp(y0, y1, (206, 226, 250), (184, 210, 242)))
    c.fill(cv.box(x0 + 3, y0 + 6, x0 + 6, y1 - 6, 1.5), (40, 120, 210))


def socket(c, x, y, w=105, h=48, margin=6):
    """A recess of flat colour SOCKET that the large keys (their corners are SOCKET) sit in."""
    shape = cv.box(x - margin, y - margin, x + w + margin, y + h + margin, 16)
    c.fill(cv.offset(shape, 0, 1), (255, 255, 255), opacity=0.7)
    c.fill(shape, SOCKET)
    c.fill(cv.intersect(shape, cv.box(x - margin, y - margin, x + w + margin, y - margin + 4)),
           cv.vramp(y - margin, y - margin + 4, (90, 110, 140, 0.45), (90, 110, 140, 0.0)))
    c.fill(cv.outline(cv.box(x - margin + 0.5, y - margin + 0.5, x + w + margin - 0.5, y + h + margin - 0.5, 15.5), 1.0),
           (140, 160, 190))


# ---- button faces -------------------------------------------------------------------------

def large_key(pressed):
    w, h = 105, 48
    c = cv.Canvas(w, h, SOCKET)
    body = cv.box(2, 1 + pressed, w - 2, h - 3 + pressed, 13)
    if not pressed:
        shadow(c, body, 0, 2, 2.5, 0.45)
        c.fill(body, cv.vramp(1, h - 3, (0.0, (236, 247, 255)), (0.5, (196, 228, 252)), (1.0, (150, 204, 244))))
        gloss = cv.intersect(cv.box(4, 3, w - 4, h / 2 - 1, 11), body)
        c.fill(gloss, cv.vramp(3, h / 2, (255, 255, 255, 0.75), (255, 255, 255, 0.15)))
    else:
        c.fill(body, cv.vramp(2, h - 2, (0.0, (132, 186, 232)), (0.6, (164, 208, 244)), (1.0, (190, 224, 250))))
        inner = cv.intersect(body, cv.box(0, 0, w, 10))
        c.fill(inner, cv.vramp(2, 10, (20, 60, 110, 0.35), (20, 60, 110, 0.0)))
    c.fill(cv.outline(cv.box(2.5, 1.5 + pressed, w - 2.5, h - 3.5 + pressed, 12.5), 1.1), (52, 108, 170))
    return c


def small_key(w, h, glyph, lit):
    c = cv.Canvas(w, h, TRAY)
    body = cv.box(1, 1, w - 1, h - 1, 5)
    ramps = {
        None: ((92, 106, 128), (54, 64, 82), (38, 46, 60)),
        "red": ((255, 138, 120), (226, 62, 50), (168, 24, 20)),
        "blue": ((150, 214, 255), (54, 146, 236), (24, 92, 190)),
    }[lit]
    c.fill(body, cv.vramp(1, h - 1, *ramps))
    c.fill(cv.intersect(body, cv.box(0, 0, w, h * 0.45)), (255, 255, 255), opacity=0.16)
    c.fill(cv.outline(cv.box(1.5, 1.5, w - 1.5, h - 1.5, 4.5), 1.0), (8, 14, 26), opacity=0.9)
    cx, cy = w / 2, h / 2
    if glyph == "cross":
        a = 4.6
        mark = cv.strokes([((cx - a, cy - a), (cx + a, cy + a)), ((cx + a, cy - a), (cx - a, cy + a))], 2.6)
    else:
        mark = cv.strokes([((cx - 5, cy + 4), (cx + 5, cy + 4))], 2.8)
    c.fill(cv.offset(mark, 0, 1), (0, 0, 0), opacity=0.45, soft=1.0)
    c.fill(mark, (246, 250, 255))
    return c


# The buttons load their faces with LR_LOADMAP3DCOLORS, which may swap these exact greys for the
# system's 3D colours; the faces avoid them.
MAPPED_GREYS = ((128, 128, 128), (192, 192, 192), (223, 223, 223))


def faces():
    keys = {
        134: large_key(0),
        136: large_key(1),
        137: small_key(39, 25, "cross", None),
        139: small_key(39, 25, "cross", "red"),
        138: small_key(27, 24, "bar", None),
        140: small_key(27, 24, "bar", "blue"),
    }
    for face in keys.values():
        face.replace_color(KEY, KEY_STANDIN)
        for grey in MAPPED_GREYS:
            face.replace_color(grey, (grey[0] + 1, grey[1], grey[2]))
    return keys


# ---- window pictures ----------------------------------------------------------------------

def repair_background(keys):
    w, h = 490, 440
    c, shape = window(w, h, 40, tray=(398, 5, 481, 38))
    put_small_keys(c, 129, keys)
    panel(c, 18, 54, 472, 168)
    caption_tab(c, 26, 60, 150, 89)
    panel(c, 18, 178, 472, 262)
    caption_tab(c, 26, 184, 150, 213)
    # Progress groove: the bar control lies in it at 24..466 x 278..302.
    groove = cv.box(20, 274, 470, 306, 9)
    c.fill(cv.offset(groove, 0, 1), (255, 255, 255), opacity=0.8)
    c.fill(groove, cv.vramp(274, 306, (150, 170, 196), (204, 218, 236)))
    c.fill(cv.outline(cv.box(20.5, 274.5, 469.5, 305.5, 8.5), 1.0), (110, 134, 166))
    # Thin rule under the status line.
    c.fill(cv.box(60, 344, 430, 345), cv.Ramp((60, 0), (430, 0), [(0, (150, 176, 210, 0.0)), (0.5, (150, 176, 210, 1.0)),
                                                                   (1, (150, 176, 210, 0.0))]))
    socket(c, 110, 362)
    socket(c, 275, 362)
    return finish(c, shape)


def licence_background(keys):
    w, h = 490, 446
    c, shape = window(w, h, 50, tray=(390, 14, 471, 50))
    put_small_keys(c, 141, keys)
    x0, y0, x1, y1 = 14, 56, 476, 356
    blue = cv.box(x0, y0, x1, y1, 12)
    shadow(c, blue, 0, 3, 6, 0.35)
    c.fill(blue, cv.vramp(y0, y1, (0.0, (58, 124, 198)), (0.12, (34, 92, 168)), (1.0, (16, 52, 112))))
    c.fill(cv.intersect(blue, cv.box(x0, y0, x1, y0 + 22)), cv.vramp(y0, y0 + 22, (255, 255, 255, 0.2), (255, 255, 255, 0.0)))
    c.fill(cv.outline(cv.box(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 11.5), 1.0), (10, 34, 80))
    socket(c, 99, 366)
    socket(c, 288, 366)
    return finish(c, shape)


def drive_and_stethoscope(c):
    angle = -16
    cx, cy = 250, 286
    rot = lambda s: cv.rotate(s, cx, cy, angle)  # noqa: E731
    body = rot(cv.box(190, 250, 366, 322, 18))
    plug = rot(cv.box(130, 262, 196, 310, 3))
    ring = rot(cv.circle(344, 286, 8))
    shadow(c, cv.union(body, plug), 6, 12, 12, 0.5, (2, 10, 30))
    c.fill(plug, cv.vramp(250, 320, (236, 240, 246), (168, 178, 192), (222, 228, 236), (140, 150, 166)))
    c.fill(cv.outline(plug, 1.0), (70, 82, 100))
    for hx in (146, 170):
        hole = rot(cv.box(hx, 274, hx + 12, 284, 1.5))
        c.fill(hole, (44, 54, 72))
    shell = cv.subtract(body, ring)
    c.fill(shell, cv.vramp(232, 340, (0.0, (236, 242, 250)), (0.55, (196, 208, 226)), (1.0, (150, 166, 192))))
    c.fill(cv.outline(shell, 1.2), (72, 92, 122))
    label = rot(cv.box(214, 266, 318, 306, 8))
    c.fill(label, cv.vramp(262, 312, (64, 150, 232), (24, 88, 184)))
    text = rot(strokefont.shape("USB", 236, 295, 19, 3.6))
    c.fill(text, (255, 255, 255))
    return body


def stethoscope(c):
    # Metal ear tubes come down from the two tips and join; the rubber tube winds to the chest
    # piece that rests on the drive.
    left_tip, right_tip = (330, 132), (410, 128)
    join = (372, 210)
    metal = cv.union(
        cv.strokes(cv.segments(cv.bezier(left_tip, (326, 168), (350, 196), join, 12)), 5),
        cv.strokes(cv.segments(cv.bezier(right_tip, (416, 168), (394, 196), join, 12)), 5))
    tube_points = cv.bezier(join, (376, 262), (430, 300), (414, 352), 16) + \
        cv.bezier((414, 352), (400, 396), (330, 404), (300, 356), 16)[1:]
    tube = cv.strokes(cv.segments(tube_points), 9)
    piece_centre = (300, 334)
    piece = cv.circle(piece_centre[0], piece_centre[1], 30)
    shadow(c, cv.union(metal, tube, piece), 5, 9, 8, 0.45, (2, 10, 30))
    c.fill(metal, cv.Ramp((320, 0), (420, 0), [(0, (150, 162, 180)), (0.5, (240, 244, 250)), (1, (130, 142, 160))]))
    c.fill(cv.outline(metal, 0.8), (60, 70, 90), opacity=0.7)
    for tip in (left_tip, right_tip):
        bud = cv.circle(tip[0], tip[1], 7)
        c.fill(bud, cv.vramp(tip[1] - 7, tip[1] + 7, (90, 100, 120), (30, 36, 48)))
    c.fill(cv.circle(join[0], join[1], 7), cv.vramp(join[1] - 7, join[1] + 7, (230, 236, 244), (140, 150, 168)))
    c.fill(tube, (38, 44, 58))
    highlight = cv.strokes(cv.segments([(x - 1.5, y - 1.5) for x, y in tube_points]), 2.2)
    c.fill(highlight, (140, 160, 190), opacity=0.55)
    px, py = piece_centre
    c.fill(piece, cv.vramp(py - 30, py + 30, (246, 248, 252), (150, 162, 180), (210, 218, 230)))
    c.fill(cv.outline(piece, 1.2), (60, 70, 90))
    c.fill(cv.circle(px, py, 22), cv.Radial((px - 6, py - 8), 30, [(0, (255, 255, 255)), (1, (170, 184, 206))]))
    c.fill(cv.outline(cv.circle(px, py, 22), 1.5), (110, 122, 144))
    c.fill(cv.circle(px - 7, py - 9, 6), (255, 255, 255), opacity=0.6, soft=4)


def splash_base():
    w, h = 490, 440
    c, shape = window(w, h, 32)
    header = cv.box(10, 36, 480, 102, 9)
    shadow(c, header, 0, 2, 4, 0.3)
    c.fill(header, cv.vramp(36, 102, (36, 72, 132), (16, 38, 80)))
    c.fill(cv.outline(cv.box(10.5, 36.5, 479.5, 101.5, 8.5), 1.0), (8, 24, 56))
    plate = cv.box(48, 52, 206, 98, 8)
    c.fill(plate, cv.vramp(52, 98, (250, 252, 255), (214, 230, 248)))
    c.fill(cv.outline(cv.box(48.5, 52.5, 205.5, 97.5, 7.5), 1.0), (120, 160, 210))
    grid_box = cv.box(10, 108, 480, 430, 10)
    shadow(c, grid_box, 0, 2, 4, 0.3)
    c.fill(grid_box, cv.vramp(108, 430, (44, 112, 196), (24, 70, 146), (12, 40, 98)))
    for gx in range(28, 480, 22):
        c.fill(cv.intersect(cv.box(gx, 110, gx + 1, 428), grid_box), (140, 200, 255), opacity=0.22)
    for gy in range(124, 430, 22):
        c.fill(cv.intersect(cv.box(12, gy, 478, gy + 1), grid_box), (140, 200, 255), opacity=0.22)
    c.fill(cv.circle(250, 280, 120), (120, 190, 255), opacity=0.18, soft=90)
    c.fill(cv.outline(cv.box(10.5, 108.5, 479.5, 429.5, 9.5), 1.0), (8, 24, 56))
    body = drive_and_stethoscope(c)
    stethoscope(c)
    return c, shape, body


def glint(c, body, step):
    """A light streak across the drive's shell and a small star where it leaves the top edge."""
    angle = -16
    x = 212 + step * 44
    streak = cv.rotate(cv.box(x, 220, x + 12, 350), x + 6, 285, angle + 30)
    c.fill(cv.intersect(streak, body), (255, 255, 255), opacity=0.95, soft=5)
    sx, sy = x + 14, 256 - (x - 212) * math.tan(math.radians(16)) - 8
    star = cv.strokes([((sx - 13, sy), (sx + 13, sy)), ((sx, sy - 13), (sx, sy + 13))], 1.6)
    c.fill(cv.circle(sx, sy, 9), (220, 240, 255), opacity=0.6, soft=7)
    c.fill(star, (255, 255, 255), opacity=0.9, soft=1.2)


def result_background(keys, number):
    w, h = 490, 253
    c, shape = window(w, h, 50, tray=(389, 10, 470, 48))
    put_small_keys(c, number, keys)
    x0, y0, x1, y1 = 14, 62, 476, 238
    p = cv.box(x0, y0, x1, y1, 12)
    shadow(c, p, 0, 3, 5, 0.28)
    c.fill(p, cv.vramp(y0, y1, (232, 244, 254), (194, 222, 248)))
    c.fill(cv.outline(cv.box(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 11.5), 1.0), (124, 166, 214))
    sx, sy = 112, 150
    if number == 148:
        tri = cv.grow(cv.polygon([(sx, sy - 44), (sx + 50, sy + 40), (sx - 50, sy + 40)]), 7)
        shadow(c, tri, 2, 4, 5, 0.4)
        c.fill(tri, cv.vramp(sy - 52, sy + 48, (255, 226, 92), (250, 182, 30), (226, 132, 10)))
        c.fill(cv.outline(tri, 1.6), (140, 82, 0))
        inner = cv.grow(cv.polygon([(sx, sy - 34), (sx + 41, sy + 34), (sx - 41, sy + 34)]), 2)
        c.fill(cv.outline(inner, 1.2), (255, 246, 200), opacity=0.7)
        bar = cv.strokes([((sx, sy - 18), (sx, sy + 12))], 9)
        dot = cv.circle(sx, sy + 27, 5.2)
        c.fill(cv.union(bar, dot), (62, 40, 6))
    else:
        badge = cv.circle(sx, sy, 56)
        shadow(c, badge, 2, 4, 6, 0.4)
        c.fill(badge, cv.vramp(sy - 56, sy + 56, (255, 196, 96), (246, 140, 30), (214, 92, 8)))
        c.fill(cv.outline(cv.circle(sx, sy, 55.4), 1.4), (150, 64, 0))
        c.fill(cv.outline(cv.circle(sx, sy, 48), 2.0), (255, 232, 180), opacity=0.8)
        c.fill(cv.intersect(cv.circle(sx, sy - 22, 42), badge),
               cv.vramp(sy - 56, sy, (255, 255, 255, 0.55), (255, 255, 255, 0.05)))
        size, weight = 34, 7
        width = strokefont.width("OK", size, weight)
        ok = strokefont.shape("OK", sx - width / 2, sy + size / 2, size, weight)
        c.fill(cv.offset(ok, 1, 2), (120, 50, 0), opacity=0.6, soft=2)
        c.fill(ok, (255, 255, 255))
    return finish(c, shape)


def icon(size):
    color, alpha, s = family.stick_icon(size, (20, 70, 150),
                                        ((110, 190, 255), (40, 120, 220), (20, 70, 160)))
    arm = 4 * s
    cx, cy = 16 * s, 19 * s
    cross = cv.strokes([((cx - arm, cy), (cx + arm, cy)), ((cx, cy - arm), (cx, cy + arm))], 3 * s)
    color.fill(cross, (226, 50, 40))
    return color, alpha


def render_all():
    keys = faces()
    out = dict(keys)
    out[129] = repair_background(keys)
    out[141] = licence_background(keys)
    base, shape, body = splash_base()
    for step, number in enumerate((142, 143, 144, 145)):
        frame = base.copy()
        glint(frame, body, step)
        out[number] = finish(frame, shape)
    out[148] = result_background(keys, 148)
    out[149] = result_background(keys, 149)
    return out, [icon(32), icon(16)]


def main():
    return family.write_skin(__doc__, render_all)


if __name__ == "__main__":
    sys.exit(main())
