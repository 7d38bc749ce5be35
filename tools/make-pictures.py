#!/usr/bin/env python3
"""Draws the program's pictures into resources/pictures: icons of 16, 20, 24, 32 and 48 pixels
(Windows' small icons from 100 % to 200 %, its large ones at 100 % and 150 %) in 32 bits with
transparency, and 256 pixels (as PNG inside the icon) for the program's own icon, which
Explorer shows large and from which the other large sizes are scaled down.

Each picture is drawn once, as shapes on a square of 16 units (32 for the state icons), and
rendered at every size: each pixel is the share of a grid of samples that a shape covers.
Outlined shapes get a black contour measured in pixels, not in units: one pixel up to 24, then
a twenty-fourth of the size, so that small icons stay crisp and large ones keep their weight.

Plain Python 3: the ICO and PNG bytes are written by hand. The files are committed, so the
build does not need this script; run it again after changing a picture.
"""
import math
import os
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 48]
LARGEST = 256

# The colours of the pictures, from the 16-colour palette they were first drawn in.
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREEN = (0, 128, 0)
LIGHT_GREEN = (0, 255, 0)
RED = (255, 0, 0)
YELLOW = (255, 255, 0)
SILVER = (192, 192, 192)
GREY = (128, 128, 128)
NAVY = (0, 0, 128)


# ---------------------------------------------------------------- shapes

# A shape is a list of closed contours (lists of (x, y) points in design units), filled by the
# even-odd rule: a contour inside another makes a hole.


def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]


def polygon(*points):
    return [list(points)]


def circle(cx, cy, r, sides=48):
    return [[(cx + r * math.cos(2 * math.pi * i / sides), cy + r * math.sin(2 * math.pi * i / sides))
             for i in range(sides)]]


def stroke(points, width):
    """A line through `points`, `width` units thick, with mitred corners and square-cut ends."""
    half = width / 2

    def normal(a, b):
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy)
        return -dy / n, dx / n

    normals = [normal(points[i], points[i + 1]) for i in range(len(points) - 1)]
    left, right = [], []
    for i, p in enumerate(points):
        if i == 0:
            nx, ny = normals[0]
        elif i == len(points) - 1:
            nx, ny = normals[-1]
        else:
            (ax, ay), (bx, by) = normals[i - 1], normals[i]
            mx, my = ax + bx, ay + by
            scale = 1 / (1 + ax * bx + ay * by)  # the mitre's length
            nx, ny = mx * scale, my * scale
        left.append((p[0] + nx * half, p[1] + ny * half))
        right.append((p[0] - nx * half, p[1] - ny * half))
    return [left + right[::-1]]


def arc(cx, cy, r, start, end, steps=24):
    """Points on a circle from angle `start` to `end`, in degrees, clockwise on the screen."""
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


# ---------------------------------------------------------------- masks

# A mask is a grid of samples, kept as one sorted list of runs [a, b) of covered samples per row.


def fill(shapes, design, size, ss):
    """The samples that any of `shapes` covers, on a `size` x `size` icon with ss x ss samples
    per pixel."""
    n = size * ss
    k = n / design
    rows = []
    for j in range(n):
        y = (j + 0.5) / k
        runs = []
        for shape in shapes:
            xs = []
            for contour in shape:
                for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1]):
                    if (y0 <= y < y1) or (y1 <= y < y0):
                        xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for xa, xb in zip(xs[0::2], xs[1::2]):
                a = max(0, math.ceil(xa * k - 0.5))
                b = min(n, math.ceil(xb * k - 0.5))
                if a < b:
                    runs.append((a, b))
        rows.append(merge(runs))
    return rows


def merge(runs):
    out = []
    for a, b in sorted(runs):
        if out and a <= out[-1][1]:
            out[-1] = (out[-1][0], max(out[-1][1], b))
        else:
            out.append((a, b))
    return out


def intersect_runs(r1, r2):
    out, i, j = [], 0, 0
    while i < len(r1) and j < len(r2):
        a, b = max(r1[i][0], r2[j][0]), min(r1[i][1], r2[j][1])
        if a < b:
            out.append((a, b))
        if r1[i][1] < r2[j][1]:
            i += 1
        else:
            j += 1
    return out


def subtract_runs(r1, r2):
    out = []
    for a, b in r1:
        for c, d in r2:
            if d <= a or c >= b:
                continue
            if c > a:
                out.append((a, c))
            a = max(a, d)
            if a >= b:
                break
        if a < b:
            out.append((a, b))
    return out


def intersect(m1, m2):
    return [intersect_runs(a, b) for a, b in zip(m1, m2)]


def subtract(m1, m2):
    return [subtract_runs(a, b) for a, b in zip(m1, m2)]


def erode(mask, radius):
    """What is left of `mask` once a disc of `radius` samples is taken off all its edges."""
    n = len(mask)
    reach = int(radius)
    out = []
    for j in range(n):
        rows = None
        for dy in range(-reach, reach + 1):
            half = int(math.sqrt(radius * radius - dy * dy))
            row = mask[j + dy] if 0 <= j + dy < n else []
            shrunk = [(a + half, b - half) for a, b in row if b - a > 2 * half]
            rows = shrunk if rows is None else intersect_runs(rows, shrunk)
            if not rows:
                break
        out.append(rows or [])
    return out


# ---------------------------------------------------------------- pictures

class Picture:
    def __init__(self, design, draw):
        self.design = design  # the side of its square, in units
        self.draw = draw  # draw(canvas): paints the picture's layers on a Canvas


class Canvas:
    """One size of a picture: layers of colour painted in order, each over a mask."""

    def __init__(self, design, size, ss, contour):
        self.design, self.size, self.ss = design, size, ss
        self.contour = contour  # thickness of the black outlines, in pixels
        self.layers = []

    def mask(self, *shapes):
        return fill(list(shapes), self.design, self.size, self.ss)

    def paint(self, colour, mask):
        self.layers.append((colour, mask))

    def outlined(self, mask, colour):
        """`mask` in black, its inside in `colour`; returns the inside, for further shading."""
        inside = erode(mask, self.contour * self.ss)
        self.paint(BLACK, mask)
        self.paint(colour, inside)
        return inside

    def pixels(self):
        """Straight (not premultiplied) RGBA rows, top first, 0-255."""
        size, ss = self.size, self.ss
        rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
        for colour, mask in self.layers:
            for py in range(size):
                cover = [0] * size
                for row in mask[py * ss:(py + 1) * ss]:
                    for a, b in row:
                        for px in range(a // ss, (b - 1) // ss + 1):
                            cover[px] += min(b, (px + 1) * ss) - max(a, px * ss)
                for px in range(size):
                    if cover[px] == 0:
                        continue
                    src = cover[px] / (ss * ss)
                    p = rgba[py * size + px]
                    alpha = src + p[3] * (1 - src)
                    for c in range(3):
                        p[c] = (colour[c] * src + p[c] * p[3] * (1 - src)) / alpha
                    p[3] = alpha
        return [[tuple(int(round(v)) for v in p[:3]) + (int(round(p[3] * 255)),)
                 for p in rgba[y * size:(y + 1) * size]] for y in range(size)]


def render(picture, size, contour):
    # Finer sampling for the small sizes, where each pixel's share shows most.
    ss = 8 if size <= 48 else 4
    canvas = Canvas(picture.design, size, ss, contour)
    picture.draw(canvas)
    return canvas.pixels()


def state_icon(light, shade, flames):
    """The state icon: a wide arrow taking off, outlined in black, lit from the left."""
    def draw(c):
        arrow = c.mask(polygon((16, 2), (29.5, 16), (22, 16), (22, 29), (10, 29), (10, 16),
                               (2.5, 16)))
        inside = c.outlined(arrow, light)
        c.paint(shade, intersect(inside, c.mask(rect(17, 0, 32, 32))))
        if flames:
            tongues = [polygon((x - 1.8, 29), (x + 1.8, 29), (x, 32)) for x in (12.5, 16, 19.5)]
            c.paint(RED, c.mask(*tongues))
            c.paint(YELLOW, c.mask(*[polygon((x - 1.2, 29), (x + 1.2, 29), (x, 30.6))
                                     for x in (12.5, 16, 19.5)]))
    return Picture(32, draw)


def plain(colour, *shapes):
    return Picture(16, lambda c: c.paint(colour, c.mask(*shapes)))


def outlined(colour, *shapes):
    return Picture(16, lambda c: c.outlined(c.mask(*shapes), colour))


def folder(c):
    back = c.mask(polygon((0.5, 3), (6, 3), (7.5, 5), (14, 5), (14, 13.5), (0.5, 13.5)))
    c.outlined(back, YELLOW)
    c.paint(WHITE, c.mask(rect(1.8, 5, 2.8, 6), rect(1.8, 7, 2.8, 8), rect(1.8, 9, 2.8, 10)))
    c.outlined(c.mask(polygon((4, 7.5), (16, 7.5), (13, 13.5), (0.5, 13.5))), YELLOW)


def gear(c):
    teeth = [polygon(*[(8 + r * math.cos(math.radians(a + da)), 8 + r * math.sin(math.radians(a + da)))
                       for r, da in ((4, -17), (7.5, -11), (7.5, 11), (4, 17))])
             for a in range(0, 360, 45)]
    ring = circle(8, 8, 5.2)[0]
    hole = circle(8, 8, 2.3)[0]
    body = subtract(c.mask(*teeth, [ring]), c.mask([hole]))
    c.outlined(body, GREY)


def question(c):
    hook = arc(8, 4.8, 3.1, 180, 405, 20) + [(8, 10.8)]
    c.paint(NAVY, c.mask(stroke(hook, 2.8), rect(6.6, 11.8, 9.4, 14.4)))


PICTURES = {
    "IconeActive": state_icon(LIGHT_GREEN, GREEN, True),
    "IconeInactive": state_icon(SILVER, GREY, False),
    "GlyphOk": plain(GREEN, stroke([(1.5, 7.5), (5, 11.5), (14.5, 2.5)], 2.6)),
    "GlyphAnnuler": plain(RED, stroke([(2.5, 2.5), (13, 13)], 2.6),
                          stroke([(13, 2.5), (2.5, 13)], 2.6)),
    "GlyphActivation": outlined(LIGHT_GREEN, polygon((4, 1), (12, 8.5), (4, 16))),
    "GlyphParcourir": Picture(16, folder),
    "GlyphTest": outlined(YELLOW, polygon((9, 1), (14, 1), (9.5, 6), (13, 6), (13, 7), (4.5, 15),
                                          (6.5, 9), (3, 9), (3, 7))),
    "FlecheHaut": plain(BLACK, polygon((8, 2), (14, 9), (10, 9), (10, 14), (6, 14), (6, 9),
                                       (2, 9))),
    "FlecheBas": plain(BLACK, polygon((8, 14), (14, 7), (10, 7), (10, 2), (6, 2), (6, 7),
                                      (2, 7))),
    "Plus": outlined(LIGHT_GREEN, rect(6, 4, 10, 14), rect(3, 7, 13, 11)),
    "Moins": outlined(RED, rect(3, 7, 13, 11)),
    "MenuConfig": Picture(16, gear),
    "MenuAide": Picture(16, question),
}


# ---------------------------------------------------------------- files

def contour_for(size):
    """The outline's thickness: one pixel up to 24, then growing with the icon."""
    return max(1.0, size / 24)


def dib(pixels):
    """A 32-bit icon image: BGRA rows bottom-up, then the AND mask (1 where transparent)."""
    size = len(pixels)
    xor = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(pixels))
    stride = ((size + 31) // 32) * 4
    andmask = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask),
                         0, 0, 0, 0)
    return header + xor + andmask


def png(pixels):
    size = len(pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """`images`: (size, bytes) pairs; a size of 256 is written 0 in the directory."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return header + entries + data


def icon_file(name, picture):
    images = [(size, dib(render(picture, size, contour_for(size)))) for size in SIZES]
    if name == "IconeActive":
        images.append((LARGEST, png(render(picture, LARGEST, contour_for(LARGEST)))))
    return ico(images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "pictures")
    os.makedirs(folder, exist_ok=True)
    for name, picture in PICTURES.items():
        with open(os.path.join(folder, name + ".ico"), "wb") as f:
            f.write(icon_file(name, picture))


if __name__ == "__main__":
    main()
