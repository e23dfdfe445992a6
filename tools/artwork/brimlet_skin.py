#!/usr/bin/env python3
# tools/artwork/brimlet_skin.py --out DIR [--preview DIR]
# Draws Brimlet's skin: the window backgrounds, splash frames, button faces, progress channels
# and the program icon, as 24-bit BMP files (32-bit .ico), named after their resource numbers.
# The dialogs place their controls by pixel from each picture's size; the regions every picture
# is drawn for are listed in layout.md beside this script (and computed in `Layout` below).
import math
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import canvas as cv  # noqa: E402
import strokefont  # noqa: E402
import skin_family as family  # noqa: E402
from skin_family import RIM, blit, panel, shadow  # noqa: E402

# The windows and the text button are keyed on pure green; the small buttons on their own colour.
KEY = (0, 255, 0)
KEY_STANDIN = (0, 254, 0)
SMALL_KEY = (75, 100, 112)
SMALL_KEY_STANDIN = (76, 100, 112)

TRAY = (18, 34, 62)
# Flat recess colour under the text buttons: their anti-aliased rim is blended towards it.
SOCKET = (196, 211, 231)
GROOVE = (176, 192, 214)

SIZES = {
    "repair": (480, 420),
    "licence": (480, 440),
    "message": (480, 260),
    "splash": (480, 300),
    "text_button": (102, 38),
    "small_button": (46, 26),
    "scroll_button": (22, 22),
    "channel": (400, 22),
    "thumb": (18, 60),
    "dot": (8, 8),
}

SPLASH_CHINESE = (156, 157, 158, 160)
SPLASH_ENGLISH = (180, 181, 182, 183)


class Layout:
    """Where the dialogs put their controls for a picture of this size (the pixel rules of
    their WM_SIZE handlers), as (x, y, width, height)."""

    def __init__(self):
        bw, bh = SIZES["text_button"]
        sw, sh = SIZES["small_button"]
        cw, ch = SIZES["channel"]
        cx, cy = SIZES["repair"]
        d = (cx - 80) // 2
        self.repair = {
            "close": (cx - 65, 19, sw, sh),
            "minimise": (cx - 118, 19, sw, sh),
            "device_group": (30, 100, d, cy - 270),
            "option_group": (250, 100, d, cy - 270),
            "device_text": (50, 130, d - 40, cy - 300),
            "fast": (270, 130, 65, 17),
            "complete": (270, 170, 65, 17),
            "progress": (40, cy - 155, cw, ch),
            "ok": (100, cy - 98, bw, bh),
            "cancel": (cx - 203, cy - 98, bw, bh),
        }
        mx, my = SIZES["message"]
        self.message = {
            "close": (mx - 65, 16, sw, sh),
            "minimise": (mx - 118, 16, sw, sh),
            "text": (200, 100, mx - 220, my - 120),
            "picture": (16, 80, 170, my - 100),
        }
        w, h = SIZES["licence"]
        self.licence = {
            "minimise": (w - 118, 19, sw, sh),
            "close": (w - 65, 19, sw, sh),
            "ok": (100, h - 75, bw, bh),
            "cancel": (w - 200, h - 75, bw, bh),
            "text": (35, 93, w - 58, h - 185),
        }


LAYOUT = Layout()


def finish(c, shape):
    return family.finish(c, shape, KEY, KEY_STANDIN)


def cut_face(c, shape, key, standin, rim):
    """A button face: the key everywhere outside `shape`, and nowhere inside it."""
    c.replace_color(key, standin)
    c.cut_outside(shape, max(c.width, c.height), key, rim)
    return c


def socket(c, x, y, w, h, margin=5, radius=17):
    """The recess of flat colour SOCKET a text button sits in, with its shadow baked in (the
    button's own pixels around its shape are keyed out)."""
    shape = cv.box(x - margin, y - margin, x + w + margin, y + h + margin, radius)
    c.fill(cv.offset(shape, 0, 1), (255, 255, 255), opacity=0.8)
    c.fill(shape, SOCKET)
    c.fill(cv.intersect(shape, cv.box(x - margin, y - margin, x + w + margin, y - margin + 4)),
           cv.vramp(y - margin, y - margin + 4, (80, 100, 130, 0.4), (80, 100, 130, 0.0)))
    c.fill(cv.outline(cv.box(x - margin + 0.5, y - margin + 0.5, x + w + margin - 0.5, y + h + margin - 0.5,
                             radius - 0.5), 1.0), (138, 158, 188))
    button = cv.box(x + 1, y + 1, x + w - 1, y + h - 1, 13)
    c.fill(cv.offset(button, 0, 2), (20, 40, 80), opacity=0.3, soft=2.5)


def tray_for(close, minimise):
    x0 = minimise[0] - 6
    y0 = min(close[1], minimise[1]) - 6
    x1 = close[0] + close[2] + 6
    y1 = max(close[1] + close[3], minimise[1] + minimise[3]) + 6
    return (x0, y0, x1, y1)


# ---- button faces -------------------------------------------------------------------------

def text_button():
    """Face 163: the Repair/Close and OK/Cancel buttons write their captions over it in black,
    so it stays light; the same face serves for normal and hover."""
    w, h = SIZES["text_button"]
    c = cv.Canvas(w, h, SOCKET)
    body = cv.box(1, 1, w - 1, h - 1, 13)
    c.fill(body, cv.vramp(1, h - 1, (0.0, (246, 251, 255)), (0.48, (212, 234, 252)), (0.52, (196, 224, 250)),
                          (1.0, (164, 206, 244))))
    gloss = cv.intersect(cv.box(4, 3, w - 4, h / 2, 10), body)
    c.fill(gloss, cv.vramp(3, h / 2, (255, 255, 255, 0.8), (255, 255, 255, 0.2)))
    c.fill(cv.intersect(body, cv.box(0, h - 7, w, h)), cv.vramp(h - 7, h - 1, (255, 255, 255, 0.0),
                                                                 (255, 255, 255, 0.45)))
    c.fill(cv.outline(cv.box(1.5, 1.5, w - 1.5, h - 1.5, 12.5), 1.1), (52, 108, 170))
    return cut_face(c, body, KEY, KEY_STANDIN, (52, 108, 170))


def small_button(w, h, glyph, lit):
    """Close, minimise and the scroll buttons: dark keys on the title tray; lit red or blue."""
    c = cv.Canvas(w, h, TRAY)
    radius = 4
    body = cv.box(0, 0, w, h, radius)
    ramps = {
        None: ((96, 112, 136), (56, 68, 88), (36, 44, 60)),
        "red": ((255, 142, 124), (228, 64, 52), (166, 24, 20)),
        "blue": ((150, 214, 255), (54, 146, 236), (24, 92, 190)),
    }[lit]
    c.fill(body, cv.vramp(0, h, *ramps))
    c.fill(cv.intersect(body, cv.box(0, 0, w, h * 0.45)), (255, 255, 255), opacity=0.16)
    c.fill(cv.outline(cv.box(0.5, 0.5, w - 0.5, h - 0.5, radius - 0.5), 1.0), (8, 14, 26), opacity=0.9)
    c.fill(cv.outline(cv.box(1.5, 1.5, w - 1.5, h - 1.5, radius - 1.5), 1.0), (255, 255, 255), opacity=0.12)
    cx, cy = w / 2, h / 2
    if glyph == "cross":
        a = 4.8
        mark = cv.strokes([((cx - a, cy - a), (cx + a, cy + a)), ((cx + a, cy - a), (cx - a, cy + a))], 2.6)
    elif glyph == "bar":
        mark = cv.strokes([((cx - 5.5, cy + 4), (cx + 5.5, cy + 4))], 2.8)
    else:
        s = 1 if glyph == "down" else -1
        mark = cv.grow(cv.polygon([(cx - 5, cy - 2.5 * s), (cx + 5, cy - 2.5 * s), (cx, cy + 3 * s)]), 0.6)
    c.fill(cv.offset(mark, 0, 1), (0, 0, 0), opacity=0.45, soft=1.0)
    c.fill(mark, (246, 250, 255))
    return c, body


def small_faces():
    """Faces of the small buttons, and the same faces unkeyed for painting into the windows."""
    sw, sh = SIZES["small_button"]
    qw, qh = SIZES["scroll_button"]
    specs = {
        166: (sw, sh, "cross", None), 167: (sw, sh, "cross", "red"),
        178: (sw, sh, "bar", None), 179: (sw, sh, "bar", "blue"),
        175: (qw, qh, "up", None), 174: (qw, qh, "down", None),
    }
    keyed, plain = {}, {}
    for number, (w, h, glyph, lit) in specs.items():
        face, body = small_button(w, h, glyph, lit)
        plain[number] = face.copy()
        keyed[number] = cut_face(face, body, SMALL_KEY, SMALL_KEY_STANDIN, (8, 14, 26))
    return keyed, plain


def put_small_buttons(c, layout, plain):
    """The normal faces go into the window too, so its glyphs show before the buttons draw."""
    blit(c, plain[178], *layout["minimise"][:2])
    blit(c, plain[166], *layout["close"][:2])


# ---- progress channel, thumb, small picture -------------------------------------------------

def channel(active):
    """169 (the empty channel) and 170 (the part left of the position). The slider keys both on
    the colour of their pixel (0, 0), which is pure green outside the rounded ends."""
    w, h = SIZES["channel"]
    c = cv.Canvas(w, h, GROOVE)
    body = cv.box(0, 0, w, h, h / 2)
    if active:
        c.fill(body, cv.vramp(0, h, (0.0, (170, 246, 214)), (0.45, (52, 200, 156)), (0.55, (30, 176, 138)),
                              (1.0, (18, 128, 112))))
        stripes = cv.strokes([((x, h + 2), (x + 14, -2)) for x in range(-20, w + 20, 18)], 6)
        c.fill(cv.intersect(stripes, body), (255, 255, 255), opacity=0.13)
        c.fill(cv.intersect(body, cv.box(0, 0, w, h * 0.45)),
               cv.vramp(0, h * 0.45, (255, 255, 255, 0.55), (255, 255, 255, 0.12)))
        edge = (12, 96, 84)
    else:
        c.fill(body, cv.vramp(0, h, (150, 168, 192), (204, 216, 232), (228, 236, 246)))
        c.fill(cv.intersect(body, cv.box(0, 0, w, 6)), cv.vramp(0, 6, (40, 60, 96, 0.35), (40, 60, 96, 0.0)))
        edge = (104, 128, 162)
    c.fill(cv.outline(cv.box(0.5, 0.5, w - 0.5, h - 0.5, h / 2 - 0.5), 1.0), edge)
    return cut_face(c, body, KEY, KEY_STANDIN, edge)


def thumb():
    """176: a slider thumb (the licence dialog keeps it hidden)."""
    w, h = SIZES["thumb"]
    c = cv.Canvas(w, h, SOCKET)
    body = cv.box(1, 1, w - 1, h - 1, 7)
    c.fill(body, cv.Ramp((1, 0), (w - 1, 0), [(0, (120, 186, 246)), (0.45, (200, 232, 255)), (1, (50, 120, 206))]))
    for gy in (h / 2 - 6, h / 2, h / 2 + 6):
        c.fill(cv.strokes([((5, gy), (w - 5, gy))], 1.6), (30, 80, 150), opacity=0.8)
        c.fill(cv.strokes([((5, gy + 1.4), (w - 5, gy + 1.4))], 1.0), (255, 255, 255), opacity=0.6)
    c.fill(cv.outline(cv.box(1.5, 1.5, w - 1.5, h - 1.5, 6.5), 1.0), (30, 76, 140))
    return cut_face(c, body, KEY, KEY_STANDIN, (30, 76, 140))


def dot():
    """129: a small bullet (kept hidden by the repair dialog)."""
    w, h = SIZES["dot"]
    c = cv.Canvas(w, h, (236, 243, 251))
    disc = cv.circle(w / 2, h / 2, w / 2 - 0.6)
    c.fill(disc, cv.vramp(0, h, (120, 230, 200), (20, 150, 130)))
    c.fill(cv.circle(w / 2 - 1, h / 2 - 1.2, 1.3), (255, 255, 255), opacity=0.7)
    c.replace_color(KEY, KEY_STANDIN)
    return c


# ---- symbols ------------------------------------------------------------------------------

def badge(c, cx, cy, r, kind):
    """Round status badge: "ok" a green disc with a tick, "error" a red disc with a cross,
    "warning" an amber disc with an exclamation mark."""
    ramps = {
        "ok": ((150, 236, 150), (56, 184, 84), (22, 128, 52)),
        "error": ((255, 150, 136), (226, 58, 48), (160, 20, 20)),
        "warning": ((255, 226, 120), (248, 172, 30), (210, 120, 8)),
    }[kind]
    edge = {"ok": (14, 90, 36), "error": (120, 10, 10), "warning": (140, 80, 0)}[kind]
    disc = cv.circle(cx, cy, r)
    shadow(c, disc, r * 0.04, r * 0.08, r * 0.12 + 1, 0.4)
    c.fill(disc, cv.vramp(cy - r, cy + r, *ramps))
    c.fill(cv.outline(cv.circle(cx, cy, r - 0.6), 1.2 + r * 0.01), edge)
    if r >= 20:
        c.fill(cv.outline(cv.circle(cx, cy, r * 0.86), r * 0.035), (255, 255, 255), opacity=0.45)
    weight = r * 0.2
    if kind == "ok":
        mark = cv.strokes(cv.segments([(cx - r * 0.44, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.34),
                                       (cx + r * 0.46, cy - r * 0.32)]), weight)
    elif kind == "error":
        a = r * 0.36
        mark = cv.strokes([((cx - a, cy - a), (cx + a, cy + a)), ((cx + a, cy - a), (cx - a, cy + a))], weight)
    else:
        mark = cv.union(cv.strokes([((cx, cy - r * 0.5), (cx, cy + r * 0.12))], weight),
                        cv.circle(cx, cy + r * 0.42, weight * 0.62))
    c.fill(cv.offset(mark, r * 0.02, r * 0.05), (0, 0, 0), opacity=0.35, soft=max(1.0, r * 0.05))
    c.fill(mark, (255, 255, 255))
    gloss = cv.intersect(cv.circle(cx, cy - r * 0.42, r * 0.78), disc)
    c.fill(gloss, cv.vramp(cy - r, cy, (255, 255, 255, 0.5), (255, 255, 255, 0.06)))


def flash_drive(c, cx, cy, length, angle):
    """A USB flash drive centred on (cx, cy), `length` long, turned by `angle` degrees. Returns
    the shell's shape (for glints)."""
    s = length / 236.0
    rot = lambda shape: cv.rotate(shape, cx, cy, angle)  # noqa: E731
    x0 = cx - 118 * s
    body = rot(cv.box(x0 + 60 * s, cy - 36 * s, x0 + 236 * s, cy + 36 * s, 18 * s))
    plug = rot(cv.box(x0, cy - 24 * s, x0 + 66 * s, cy + 24 * s, 3 * s))
    ring = rot(cv.circle(x0 + 214 * s, cy, 8 * s))
    shadow(c, cv.union(body, plug), 4 * s, 10 * s, 10 * s, 0.5, (2, 10, 30))
    c.fill(plug, cv.vramp(cy - 40 * s, cy + 40 * s, (236, 240, 246), (168, 178, 192), (222, 228, 236),
                          (140, 150, 166)))
    c.fill(cv.outline(plug, max(0.8, s)), (70, 82, 100))
    for hx in (16, 40):
        c.fill(rot(cv.box(x0 + hx * s, cy - 12 * s, x0 + (hx + 12) * s, cy - 2 * s, 1.5 * s)), (44, 54, 72))
    shell = cv.subtract(body, ring)
    c.fill(shell, cv.vramp(cy - 54 * s, cy + 54 * s, (0.0, (238, 244, 250)), (0.55, (198, 210, 228)),
                           (1.0, (150, 166, 192))))
    c.fill(cv.outline(shell, max(0.9, 1.2 * s)), (72, 92, 122))
    label = rot(cv.box(x0 + 84 * s, cy - 20 * s, x0 + 188 * s, cy + 20 * s, 8 * s))
    c.fill(label, cv.vramp(cy - 24 * s, cy + 26 * s, (64, 150, 232), (24, 88, 184)))
    text = rot(strokefont.shape("USB", x0 + 106 * s, cy + 9 * s, 19 * s, 3.6 * s))
    c.fill(text, (255, 255, 255))
    return body


def wrench(c, cx, cy, length, angle, opacity=1.0, color=None):
    """An open-ended spanner: the repair mark."""
    rot = lambda shape: cv.rotate(shape, cx, cy, angle)  # noqa: E731
    half = length / 2
    handle = rot(cv.box(cx - half + length * 0.16, cy - length * 0.065, cx + half - length * 0.16,
                        cy + length * 0.065, length * 0.06))
    head_r = length * 0.17
    hx = cx + half - head_r
    head = rot(cv.circle(hx, cy, head_r))
    jaw = rot(cv.box(hx - head_r * 0.1, cy - head_r * 0.42, hx + head_r * 1.4, cy + head_r * 0.42))
    ring = rot(cv.circle(cx - half + head_r, cy, head_r))
    hole = rot(cv.circle(cx - half + head_r, cy, head_r * 0.5))
    tool = cv.subtract(cv.subtract(cv.union(handle, head, ring), jaw), hole)
    if color is not None:
        c.fill(tool, color, opacity=opacity)
        return
    shadow(c, tool, 1.5, 3, 3, 0.35 * opacity)
    c.fill(tool, cv.vramp(cy - half, cy + half, (246, 248, 252), (176, 188, 206), (226, 232, 242)), opacity=opacity)
    c.fill(cv.outline(tool, 1.0), (70, 84, 108), opacity=opacity)


# ---- window pictures ----------------------------------------------------------------------

def footer(c, shape, height=22):
    """A band in the title's colours closes the window under its buttons."""
    w, h = c.width, c.height
    band = cv.intersect(shape, cv.box(0, h - height, w, h))
    c.fill(band, cv.vramp(h - height, h, family.TITLE_MID, family.TITLE_LOW))
    c.fill(cv.box(0, h - height, w, h - height + 1), (120, 176, 232), opacity=0.6)
    c.fill(cv.box(0, h - height - 3, w, h - height), cv.vramp(h - height - 3, h - height, (6, 20, 48, 0.0),
                                                             (6, 20, 48, 0.25)))
    c.fill(cv.outline(cv.box(0.5, 0.5, w - 0.5, h - 0.5, family.WINDOW_RADIUS - 0.5), 1.2), RIM)


def repair_background(plain):
    w, h = SIZES["repair"]
    lay = LAYOUT.repair
    c, shape = family.window(w, h, 60, tray=tray_for(lay["close"], lay["minimise"]), tray_color=TRAY)
    put_small_buttons(c, lay, plain)
    # One card holds both groups and the progress groove.
    px, py, pw, ph = lay["progress"]
    card = (16, 80, w - 16, py + ph + 20)
    panel(c, *card)
    for name in ("device_group", "option_group"):
        x, y, gw, gh = lay[name]
        # A quiet tint inside the group frame (below its caption), the frame itself is the
        # system's.
        well = cv.box(x + 3, y + 12, x + gw - 3, y + gh - 3, 6)
        c.fill(well, cv.vramp(y + 12, y + gh, (242, 247, 253), (232, 240, 250)))
    # The option group's free right part carries a faint spanner.
    ox, oy, ow, oh = lay["option_group"]
    wrench(c, ox + ow - 52, oy + oh / 2 + 8, 74, -40, opacity=0.09, color=(30, 80, 150))
    groove = cv.box(px - 6, py - 6, px + pw + 6, py + ph + 6, ph / 2 + 6)
    c.fill(cv.offset(groove, 0, 1), (255, 255, 255), opacity=0.9)
    c.fill(groove, cv.vramp(py - 6, py + ph + 6, (196, 208, 226), (226, 234, 246)))
    c.fill(cv.outline(cv.box(px - 5.5, py - 5.5, px + pw + 5.5, py + ph + 5.5, ph / 2 + 5.5), 1.0), (150, 170, 200))
    c.fill(cv.box(px - 1, py - 1, px + pw + 1, py + ph + 1, ph / 2 + 1), GROOVE)
    for name in ("ok", "cancel"):
        socket(c, *lay[name])
    footer(c, shape)
    return finish(c, shape)


def licence_background(plain):
    w, h = SIZES["licence"]
    lay = LAYOUT.licence
    c, shape = family.window(w, h, 60, tray=tray_for(lay["close"], lay["minimise"]), tray_color=TRAY)
    put_small_buttons(c, lay, plain)
    tx, ty, tw, th = lay["text"]
    # A sheet of paper under the text box: flat and light where the text goes.
    sheet = (tx - 15, ty - 17, tx + tw + 5, ty + th + 8)
    x0, y0, x1, y1 = sheet
    paper = cv.box(x0, y0, x1, y1, 8)
    shadow(c, paper, 0, 3, 6, 0.3)
    c.fill(paper, cv.vramp(y0, y1, (255, 255, 255), (249, 251, 254)))
    c.fill(cv.intersect(paper, cv.box(x0, y0, x1, y0 + 6)), cv.Ramp((x0, 0), (x1, 0), [
        (0.0, (30, 176, 138)), (0.5, (40, 150, 226)), (1.0, (36, 86, 156))]))
    c.fill(cv.outline(cv.box(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 7.5), 1.0), (146, 174, 208))
    for name in ("ok", "cancel"):
        socket(c, *lay[name])
    footer(c, shape)
    return finish(c, shape)


def message_background(plain, error):
    w, h = SIZES["message"]
    lay = LAYOUT.message
    c, shape = family.window(w, h, 56, tray=tray_for(lay["close"], lay["minimise"]), tray_color=TRAY)
    put_small_buttons(c, lay, plain)
    panel(c, 16, 72, w - 16, h - 14)
    px, py, pw, ph = lay["picture"]
    cx, cy = px + pw / 2 + 6, py + ph / 2 + 2
    halo = (255, 210, 200) if error else (200, 240, 210)
    c.fill(cv.circle(cx, cy, 62), halo, opacity=0.55, soft=18)
    badge(c, cx, cy, 52, "error" if error else "ok")
    # A fine rule between the picture and the text.
    tx = lay["text"][0]
    c.fill(cv.box(tx - 12, py + 12, tx - 11, py + ph - 10), cv.vramp(py + 12, py + ph - 10, (
        150, 176, 210, 0.0), (150, 176, 210, 0.9), (150, 176, 210, 0.0)))
    return finish(c, shape)


def splash_frame(step, chinese):
    """Four frames: a faulty drive, the repair ring filling in two steps, the revived drive."""
    w, h = SIZES["splash"]
    c, shape = family.window(w, h, 36)
    stage = cv.box(10, 44, w - 10, h - 10, 10)
    shadow(c, stage, 0, 2, 4, 0.3)
    c.fill(stage, cv.vramp(44, h - 10, (40, 104, 188), (22, 64, 138), (12, 38, 94)))
    for gx in range(26, w - 10, 20):
        c.fill(cv.intersect(cv.box(gx, 46, gx + 1, h - 12), stage), (140, 200, 255), opacity=0.16)
    for gy in range(56, h - 10, 20):
        c.fill(cv.intersect(cv.box(12, gy, w - 12, gy + 1), stage), (140, 200, 255), opacity=0.16)
    rx, ry, radius, ring_width = 130, 167, 88, 13
    c.fill(cv.circle(rx, ry, radius + 10), (120, 190, 255), opacity=0.22, soft=40)
    track = cv.outline(cv.circle(rx, ry, radius), ring_width)
    c.fill(track, (8, 26, 64), opacity=0.85)
    c.fill(cv.outline(cv.circle(rx, ry, radius + ring_width / 2), 1.0), (120, 180, 240), opacity=0.5)
    c.fill(cv.outline(cv.circle(rx, ry, radius - ring_width / 2), 1.0), (120, 180, 240), opacity=0.35)
    fraction = step / 3.0
    if fraction > 0:
        steps = max(2, int(72 * fraction))
        points = [(rx + radius * math.sin(2 * math.pi * fraction * i / steps),
                   ry - radius * math.cos(2 * math.pi * fraction * i / steps)) for i in range(steps + 1)]
        arc = cv.strokes(cv.segments(points), ring_width - 4)
        done = step == 3
        c.fill(arc, cv.vramp(ry - radius, ry + radius, (150, 246, 200) if done else (120, 230, 255),
                             (30, 190, 130) if done else (40, 160, 236)))
        c.fill(cv.strokes(cv.segments([(x, y - 2) for x, y in points]), 2.2), (255, 255, 255), opacity=0.35)
        ex, ey = points[-1]
        if not done:
            c.fill(cv.circle(ex, ey, 12), (200, 240, 255), opacity=0.8, soft=9)
            c.fill(cv.circle(ex, ey, 4), (255, 255, 255))
    body = flash_drive(c, rx - 2, ry + 4, 136, -24)
    if step in (1, 2):
        # The scan: a light streak across the shell, further along in the second step.
        x = rx - 54 + step * 36
        streak = cv.rotate(cv.box(x, ry - 80, x + 10, ry + 80), x + 5, ry, 20)
        c.fill(cv.intersect(streak, body), (255, 255, 255), opacity=0.9, soft=5)
    kind = {0: "warning", 3: "ok"}.get(step)
    if kind:
        badge(c, rx + 52, ry + 46, 20, kind)
    # The name and what the tool is, right of the ring.
    tx0, tx1 = 236, w - 14
    size, weight = 28, 5.2
    name_width = strokefont.width("Vexmend", size, weight)
    name_x = (tx0 + tx1) / 2 - name_width / 2
    family.title_text(c, "Vexmend", name_x, 148, size, weight)
    if chinese:
        han = "\u4fee\u5fa9\u5de5\u5177"
        latin_w = strokefont.width("USB", 17, 2.8)
        han_w = strokefont.width(han, 22, 2.5)
        lx = (tx0 + tx1) / 2 - (latin_w + 9 + han_w) / 2
        tag = cv.union(strokefont.shape("USB", lx, 188, 17, 2.8),
                       strokefont.shape(han, lx + latin_w + 9, 190, 22, 2.5))
    else:
        text = "USB REPAIR TOOL"
        tw = strokefont.width(text, 15, 2.5)
        tag = strokefont.shape(text, (tx0 + tx1) / 2 - tw / 2, 187, 15, 2.5)
    c.fill(cv.offset(tag, 1, 1.5), (4, 14, 36), opacity=0.5, soft=1.5)
    c.fill(tag, (186, 226, 255))
    # Four dots count the frames.
    for i in range(4):
        dx = (tx0 + tx1) / 2 + (i - 1.5) * 24
        lit = i <= step
        d = cv.circle(dx, 230, 6)
        c.fill(d, (150, 246, 200) if lit and step == 3 else (140, 220, 255) if lit else (14, 36, 84))
        c.fill(cv.outline(d, 1.0), (200, 236, 255) if lit else (90, 140, 210), opacity=0.8)
    return finish(c, shape)


def icon(size):
    color, alpha, s = family.stick_icon(size, (16, 96, 120),
                                        ((110, 226, 222), (30, 156, 178), (16, 92, 140)))
    tick = cv.strokes(cv.segments([(11.6 * s, 19.4 * s), (14.8 * s, 22.8 * s), (20.6 * s, 15.2 * s)]), 3 * s)
    color.fill(tick, (22, 150, 80))
    return color, alpha


def render_all():
    keyed, plain = small_faces()
    out = dict(keyed)
    out[163] = text_button()
    out[169] = channel(False)
    out[170] = channel(True)
    out[176] = thumb()
    out[129] = dot()
    out[168] = repair_background(plain)
    out[162] = licence_background(plain)
    out[164] = message_background(plain, False)
    out[165] = message_background(plain, True)
    for step in range(4):
        out[SPLASH_CHINESE[step]] = splash_frame(step, True)
        out[SPLASH_ENGLISH[step]] = splash_frame(step, False)
    return out, [icon(32), icon(16)]


def main():
    return family.write_skin(__doc__, render_all)


if __name__ == "__main__":
    sys.exit(main())
