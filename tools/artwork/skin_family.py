# tools/artwork/skin_family.py
# What every skin of the product shares, so Sarrow's and Brimlet's windows look like one family:
# the window frame with its title band, the product's mark and name, shadows and panels, and the
# command line that writes a skin's pictures.
import argparse
import os
import subprocess

import canvas as cv
import strokefont

RIM = (10, 24, 46)
WINDOW_RADIUS = 14

TITLE_TOP = (78, 142, 212)
TITLE_MID = (36, 86, 156)
TITLE_LOW = (22, 58, 116)


def shadow(c, shape, dx=0, dy=3, blur=5, strength=0.35, color=(4, 16, 40)):
    c.fill(cv.offset(shape, dx, dy), color, opacity=strength, soft=blur)


def blit(dst, src, x, y):
    for row in range(src.height):
        d = (y + row) * dst.width + x
        s = row * src.width
        for dp, sp in zip(dst.planes, src.planes):
            dp[d:d + src.width] = sp[s:s + src.width]


def title_text(c, text, x, baseline, size, weight):
    shape = strokefont.shape(text, x, baseline, size, weight, slant=0.14)
    c.fill(cv.offset(shape, 1, 2), (4, 14, 36), opacity=0.55, soft=2.0)
    c.fill(shape, cv.vramp(baseline - size, baseline, (255, 255, 255), (214, 232, 252)))


def emblem(c, cx, cy, r):
    """The product's mark: a round light blue badge with a white cross."""
    disc = cv.circle(cx, cy, r)
    shadow(c, disc, 0, 1.5, 2.0, 0.5)
    c.fill(disc, cv.vramp(cy - r, cy + r, (150, 226, 255), (40, 150, 226), (24, 110, 196)))
    c.fill(cv.outline(disc, 1.2), (12, 52, 104), opacity=0.8)
    arm = r * 0.55
    cross = cv.strokes([((cx - arm, cy), (cx + arm, cy)), ((cx, cy - arm), (cx, cy + arm))], r * 0.42)
    c.fill(cross, (255, 255, 255))
    gloss = cv.intersect(cv.circle(cx, cy - r * 0.35, r * 0.72), disc)
    c.fill(gloss, (255, 255, 255), opacity=0.22)


def window(w, h, title_height, tray=None, tray_color=(18, 34, 62)):
    """Frame shared by every window picture: body, title band with the product name, tray for
    the small keys. Returns the canvas and the window's outline shape."""
    c = cv.Canvas(w, h, (232, 240, 249))
    shape = cv.box(0, 0, w, h, WINDOW_RADIUS)
    c.fill(cv.box(0, 0, w, h), cv.vramp(title_height, h, (236, 243, 251), (214, 227, 243)))
    band = cv.intersect(shape, cv.box(0, 0, w, title_height))
    c.fill(band, cv.vramp(0, title_height, (0.0, TITLE_TOP), (0.45, TITLE_MID), (1.0, TITLE_LOW)))
    # A soft sheen on the upper half of the band and a light line under it.
    c.fill(cv.intersect(band, cv.box(0, 0, w, title_height * 0.45)),
           cv.vramp(0, title_height * 0.45, (255, 255, 255, 0.22), (255, 255, 255, 0.04)))
    c.fill(cv.box(0, title_height, w, title_height + 3), cv.vramp(title_height, title_height + 3,
                                                                   (6, 20, 48, 0.45), (6, 20, 48, 0.0)))
    c.fill(cv.box(0, title_height - 1, w, title_height), (120, 176, 232), opacity=0.6)
    mark = title_height * 0.29
    emblem(c, 12 + mark + 2, title_height / 2 + 0.5, mark)
    size = max(11, round(title_height * 0.36))
    title_text(c, "Vexmend", 12 + 2 * mark + 12, title_height / 2 + size / 2 + 0.5, size, size * 0.2)
    if tray:
        x0, y0, x1, y1 = tray
        pit = cv.box(x0, y0, x1, y1, 7)
        c.fill(cv.offset(pit, 0, 1), (150, 196, 240), opacity=0.35)
        c.fill(pit, tray_color)
        c.fill(cv.outline(pit, 1), (6, 14, 30), opacity=0.6)
    c.fill(cv.outline(cv.box(0.5, 0.5, w - 0.5, h - 0.5, WINDOW_RADIUS - 0.5), 1.2), RIM)
    c.fill(cv.outline(cv.box(1.7, 1.7, w - 1.7, h - 1.7, WINDOW_RADIUS - 1.7), 1.0), (255, 255, 255), opacity=0.18)
    return c, shape


def finish(c, shape, key, key_standin):
    """Keeps the colour key out of the art, then makes everything outside the window the key."""
    c.replace_color(key, key_standin)
    c.cut_outside(shape, WINDOW_RADIUS + 2, key, RIM)
    return c


def panel(c, x0, y0, x1, y1, top=(252, 253, 255), bottom=(236, 243, 251), border=(146, 174, 208), radius=10):
    shape = cv.box(x0, y0, x1, y1, radius)
    shadow(c, shape, 0, 2.5, 5, 0.22)
    c.fill(shape, cv.vramp(y0, y1, top, bottom))
    c.fill(cv.outline(cv.box(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, radius - 0.5), 1.0), border)
    return shape



def stick_icon(size, edge, square_stops):
    """The family's program icon before its mark: a rounded square in the colours `square_stops`
    (top to bottom) with a sheen, and a USB stick on it, on `edge`. Returns the colour canvas, the
    alpha canvas (its red plane is the alpha) and the pixels per unit of the icon's 32-unit grid."""
    s = size / 32.0
    square = cv.box(1 * s, 1 * s, 31 * s, 31 * s, 7 * s)
    color = cv.Canvas(size, size, edge)
    alpha = cv.Canvas(size, size, (0, 0, 0))
    alpha.fill(square, (255, 255, 255))
    color.fill(square, cv.vramp(0, size, *square_stops))
    color.fill(cv.intersect(square, cv.box(0, 0, size, size * 0.45)), (255, 255, 255), opacity=0.18)
    plug = cv.box(12 * s, 4 * s, 20 * s, 11 * s, 1 * s)
    body = cv.box(9 * s, 10 * s, 23 * s, 28 * s, 3.5 * s)
    color.fill(plug, (214, 222, 234))
    if size >= 32:
        for hx in (13.5, 17.5):
            color.fill(cv.box(hx * s, 6 * s, (hx + 1.5) * s, 8 * s), (60, 72, 96))
    color.fill(body, cv.vramp(10 * s, 28 * s, (255, 255, 255), (206, 220, 238)))
    return color, alpha, s

def write_skin(description, render_all):
    """The command line of a skin script, --out DIR [--preview DIR]: writes the pictures that
    render_all() returns as bitmapNNN.bmp and its icons as icon128.ico, with PNG previews."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--out", required=True)
    parser.add_argument("--preview", help="folder for PNG previews (needs ImageMagick's convert)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    pictures, icons = render_all()
    for number, picture in pictures.items():
        with open(os.path.join(args.out, "bitmap%d.bmp" % number), "wb") as f:
            f.write(picture.bmp_bytes())
    with open(os.path.join(args.out, "icon128.ico"), "wb") as f:
        f.write(cv.ico_bytes(icons))
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
        for number in pictures:
            subprocess.run([convert, os.path.join(args.out, "bitmap%d.bmp" % number),
                            os.path.join(args.preview, "bitmap%d.png" % number)], check=True)
        subprocess.run([convert, os.path.join(args.out, "icon128.ico"),
                        os.path.join(args.preview, "icon128.png")], check=True)
    return 0
