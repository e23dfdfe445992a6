# tools/artwork/canvas.py
# A small anti-aliased rasteriser for the skin pictures: shapes are signed distance functions
# (negative inside, in pixels), paints give a colour per row or per pixel. Whole runs of pixels
# that lie clearly inside or outside a shape are filled with slice operations, so only the pixels
# near an edge cost Python work; that keeps all pictures within a few seconds.
import math
import struct

BLOCK = 8


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def rgba(color):
    return color if len(color) == 4 else (color[0], color[1], color[2], 1.0)


# ---- paints -------------------------------------------------------------------------------

class Solid:
    def __init__(self, color):
        self.color = rgba(color)

    def row(self, y):
        return self.color


class Ramp:
    """Colour stops along a line; vertical ramps are constant per row."""

    def __init__(self, p0, p1, stops):
        self.x0, self.y0 = p0
        dx, dy = p1[0] - p0[0], p1[1] - p0[1]
        length2 = dx * dx + dy * dy or 1.0
        self.ux, self.uy = dx / length2, dy / length2
        self.vertical = dx == 0
        self.stops = [(t, rgba(c)) for t, c in stops]

    def at_t(self, t):
        stops = self.stops
        if t <= stops[0][0]:
            return stops[0][1]
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                return mix(c0, c1, (t - t0) / ((t1 - t0) or 1.0))
        return stops[-1][1]

    def row(self, y):
        return self.at_t((y - self.y0) * self.uy) if self.vertical else None

    def at(self, x, y):
        return self.at_t((x - self.x0) * self.ux + (y - self.y0) * self.uy)


def vramp(y0, y1, *stops):
    """Vertical ramp from y0 to y1 through evenly or explicitly placed stops."""
    if not isinstance(stops[0][0], (int, float)) or len(stops[0]) > 2:
        n = len(stops) - 1
        stops = [(i / n, c) for i, c in enumerate(stops)]
    return Ramp((0, y0), (0, y1), stops)


class Radial:
    def __init__(self, centre, radius, stops):
        self.cx, self.cy = centre
        self.radius = radius
        self.ramp = Ramp((0, 0), (0, 1), stops)

    def row(self, y):
        return None

    def at(self, x, y):
        return self.ramp.at_t(math.hypot(x - self.cx, y - self.cy) / self.radius)


class Func:
    def __init__(self, function):
        self.at = function

    def row(self, y):
        return None


# ---- shapes (signed distance, pixels) -----------------------------------------------------

def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        if qx > 0 and qy > 0:
            return math.sqrt(qx * qx + qy * qy) - radius
        return (qx if qx > qy else qy) - radius
    sdf.bbox = (x0, y0, x1, y1)
    return sdf


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    sdf.bbox = (cx - r, cy - r, cx + r, cy + r)
    return sdf


def segments(points, closed=False):
    pts = list(points)
    if closed:
        pts.append(pts[0])
    return [(pts[i], pts[i + 1]) for i in range(len(pts) - 1)]


# Distances beyond this are reported as this much: enough for every blur and block test, and it
# lets long strokes look only at the segments near a point.
FAR = 18.0
CELL = 16


def strokes(segs, width):
    """Union of round-capped line segments of one width."""
    half = width / 2
    reach = half + FAR
    prepared, grid = [], {}
    for (ax, ay), (bx, by) in segs:
        dx, dy = bx - ax, by - ay
        seg = (ax, ay, dx, dy, 1.0 / (dx * dx + dy * dy or 1e-9))
        prepared.append(seg)
        for gx in range(int((min(ax, bx) - reach) // CELL), int((max(ax, bx) + reach) // CELL) + 1):
            for gy in range(int((min(ay, by) - reach) // CELL), int((max(ay, by) + reach) // CELL) + 1):
                grid.setdefault((gx, gy), []).append(seg)
    far2 = reach * reach

    def sdf(x, y):
        best = far2
        for ax, ay, dx, dy, inv in grid.get((int(x // CELL), int(y // CELL)), ()):
            px, py = x - ax, y - ay
            t = (px * dx + py * dy) * inv
            t = 0.0 if t < 0 else 1.0 if t > 1 else t
            ex, ey = px - dx * t, py - dy * t
            d = ex * ex + ey * ey
            if d < best:
                best = d
        return math.sqrt(best) - half
    xs = [p[0] for s in segs for p in s]
    ys = [p[1] for s in segs for p in s]
    sdf.bbox = (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half)
    return sdf


def polygon(points):
    pts = list(points)
    n = len(pts)

    def sdf(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = clamp((wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    sdf.bbox = (min(xs), min(ys), max(xs), max(ys))
    return sdf


def _bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)
    bb = shapes[0].bbox
    for s in shapes[1:]:
        bb = _bbox_union(bb, s.bbox)
    sdf.bbox = bb
    return sdf


def intersect(a, b):
    def sdf(x, y):
        return max(a(x, y), b(x, y))
    sdf.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))
    return sdf


def subtract(a, b):
    def sdf(x, y):
        return max(a(x, y), -b(x, y))
    sdf.bbox = a.bbox
    return sdf


def outline(shape, width):
    half = width / 2

    def sdf(x, y):
        return abs(shape(x, y)) - half
    bb = shape.bbox
    sdf.bbox = (bb[0] - half, bb[1] - half, bb[2] + half, bb[3] + half)
    return sdf


def offset(shape, dx, dy):
    def sdf(x, y):
        return shape(x - dx, y - dy)
    bb = shape.bbox
    sdf.bbox = (bb[0] + dx, bb[1] + dy, bb[2] + dx, bb[3] + dy)
    return sdf


def grow(shape, amount):
    def sdf(x, y):
        return shape(x, y) - amount
    bb = shape.bbox
    sdf.bbox = (bb[0] - amount, bb[1] - amount, bb[2] + amount, bb[3] + amount)
    return sdf


def rotate(shape, cx, cy, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sdf(x, y):
        px, py = x - cx, y - cy
        return shape(cx + px * c + py * s, cy - px * s + py * c)
    x0, y0, x1, y1 = shape.bbox
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    xs = [cx + (px - cx) * c - (py - cy) * s for px, py in corners]
    ys = [cy + (px - cx) * s + (py - cy) * c for px, py in corners]
    sdf.bbox = (min(xs), min(ys), max(xs), max(ys))
    return sdf


def halfplane_below(y_edge):
    """Everything below the line y = y_edge (for clipping gloss and bands)."""
    def sdf(x, y):
        return y_edge - y
    sdf.bbox = (-1e6, y_edge, 1e6, 1e6)
    return sdf


def halfplane_above(y_edge):
    def sdf(x, y):
        return y - y_edge
    sdf.bbox = (-1e6, -1e6, 1e6, y_edge)
    return sdf


def bezier(p0, p1, p2, p3, steps=24):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


# ---- the canvas ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, color=(0, 0, 0)):
        self.width, self.height = width, height
        n = width * height
        self.planes = [bytearray([int(color[i])]) * n for i in range(3)]
        self._tables = {}

    def _table(self, value, alpha255):
        key = (value, alpha255)
        table = self._tables.get(key)
        if table is None:
            a = alpha255 / 255.0
            table = bytes(int(v + (value - v) * a + 0.5) for v in range(256))
            self._tables[key] = table
        return table

    def _span(self, y, x0, x1, color, opacity):
        """Fill pixels x0..x1-1 of row y fully covered by a row-constant colour."""
        a255 = int(round(clamp(color[3] * opacity) * 255))
        if a255 == 0:
            return
        i, j = y * self.width + x0, y * self.width + x1
        for plane, value in zip(self.planes, color[:3]):
            v = int(round(clamp(value, 0, 255)))
            if a255 == 255:
                plane[i:j] = bytes((v,)) * (j - i)
            else:
                plane[i:j] = plane[i:j].translate(self._table(v, a255))

    def _pixel(self, index, color, a):
        if a <= 0:
            return
        if a > 1:
            a = 1.0
        for plane, value in zip(self.planes, color[:3]):
            old = plane[index]
            v = old + (value - old) * a + 0.5
            plane[index] = 0 if v < 0 else 255 if v > 255 else int(v)

    def fill(self, shape, paint, opacity=1.0, soft=0.0, bbox=None):
        """Paints `shape`; `soft` widens the edge into a blur of that radius (shadows, glows)."""
        if isinstance(paint, tuple):
            paint = Solid(paint)
        lo, hi = (-soft, soft) if soft > 0 else (-0.5, 0.5)
        bx0, by0, bx1, by1 = bbox or shape.bbox
        x0 = max(0, int(math.floor(bx0 - hi)))
        y0 = max(0, int(math.floor(by0 - hi)))
        x1 = min(self.width, int(math.ceil(bx1 + hi)) + 1)
        y1 = min(self.height, int(math.ceil(by1 + hi)) + 1)
        width = self.width
        for y in range(y0, y1):
            yc = y + 0.5
            row_color = paint.row(yc)
            x = x0
            while x < x1:
                bx = min(x + BLOCK, x1)
                half = (bx - x) / 2
                d = shape((x + bx) / 2, yc)
                if d - half >= hi:
                    x = bx
                    continue
                if d + half <= lo and row_color is not None:
                    self._span(y, x, bx, row_color, opacity)
                    x = bx
                    continue
                for px in range(x, bx):
                    xc = px + 0.5
                    dd = shape(xc, yc)
                    if dd >= hi:
                        continue
                    if soft > 0:
                        t = clamp((hi - dd) / (hi - lo))
                        cov = t * t * (3 - 2 * t)
                    else:
                        cov = 1.0 if dd <= lo else 0.5 - dd
                    color = row_color if row_color is not None else paint.at(xc, yc)
                    self._pixel(y * width + px, color, cov * opacity * color[3])
                x = bx

    def get(self, x, y):
        i = y * self.width + x
        return tuple(p[i] for p in self.planes)

    def copy(self):
        other = Canvas.__new__(Canvas)
        other.width, other.height = self.width, self.height
        other.planes = [bytearray(p) for p in self.planes]
        other._tables = self._tables
        return other

    def replace_color(self, old, new):
        """Moves every pixel of colour `old` to `new` (keeps the transparency key out of the art)."""
        r, g, b = self.planes
        count = 0
        i = g.find(old[1])
        while i >= 0:
            if r[i] == old[0] and b[i] == old[2]:
                r[i], g[i], b[i] = new
                count += 1
            i = g.find(old[1], i + 1)
        return count

    def cut_outside(self, shape, corner, key, rim):
        """Pixels outside the window shape become the colour key; the anti-aliased edge is blended
        with a dark rim colour instead of the key, which would leave a coloured fringe. Only the
        corner squares of size `corner` can lie outside a full-size rounded window."""
        r, g, b = self.planes
        w, h = self.width, self.height
        xs = list(range(0, min(corner, w))) + list(range(max(w - corner, corner), w))
        ys = list(range(0, min(corner, h))) + list(range(max(h - corner, corner), h))
        for y in ys:
            yc = y + 0.5
            for x in xs:
                d = shape(x + 0.5, yc)
                if d < -0.5:
                    continue
                i = y * w + x
                if d >= 0.5:
                    r[i], g[i], b[i] = key
                else:
                    self._pixel(i, rim, 0.5 + d)

    # ---- output -----------------------------------------------------------------------

    def bmp_bytes(self):
        """24-bit bottom-up BMP, rows padded to four bytes."""
        w, h = self.width, self.height
        stride = (w * 3 + 3) & ~3
        pad = bytes(stride - w * 3)
        rows = []
        r, g, b = self.planes
        for y in range(h - 1, -1, -1):
            row = bytearray(w * 3)
            s = slice(y * w, (y + 1) * w)
            row[0::3], row[1::3], row[2::3] = b[s], g[s], r[s]
            rows.append(bytes(row) + pad)
        pixels = b"".join(rows)
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        return header + info + pixels

    def ppm_bytes(self):
        w, h = self.width, self.height
        data = bytearray(w * h * 3)
        data[0::3], data[1::3], data[2::3] = self.planes
        return b"P6 %d %d 255\n" % (w, h) + bytes(data)


def from_pixels(width, height, pixel):
    """A canvas whose pixel (x, y), y from the top, is pixel(x, y) -> (r, g, b) in 0..255."""
    c = Canvas(width, height)
    r, g, b = c.planes
    i = 0
    for y in range(height):
        for x in range(width):
            r[i], g[i], b[i] = pixel(x, y)
            i += 1
    return c


def write_bmp(path, width, height, pixel):
    """A 24-bit BMP file of from_pixels(width, height, pixel)."""
    with open(path, "wb") as f:
        f.write(from_pixels(width, height, pixel).bmp_bytes())


def ico_bytes(images):
    """An .ico of 32-bit images, each given as (Canvas of colour, Canvas whose red plane is alpha)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for color, alpha in images:
        w, h = color.width, color.height
        r, g, b = color.planes
        a = alpha.planes[0]
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((w + 31) // 32) * 4
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(w):
                i = y * w + x
                xor += bytes((b[i], g[i], r[i], a[i]))
                if a[i] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)
