#!/usr/bin/env python3
"""Draws the wizard's decorative header pictures (ten 48x48 PNG files) and the 16x16 list icon.

Run once; the pictures are kept in wizard/images. Plain Python, no imaging library: every shape is
sampled 4x4 per pixel and written as an RGBA PNG.
"""
import math
import os
import struct
import zlib

SIZE = 48
SS = 4  # samples per pixel along each axis


def write_png(path, size, pixels):
    raw = b"".join(b"\x00" + bytes(v for px in pixels[y * size:(y + 1) * size] for v in px)
                   for y in range(size))

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def render(size, shapes):
    """shapes: list of (inside(x, y) -> bool, (r, g, b, a)); later shapes paint over earlier ones."""
    pixels = []
    n = SS * SS
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    x = px + (sx + 0.5) / SS
                    y = py + (sy + 0.5) / SS
                    col = (0, 0, 0, 0)
                    for inside, c in shapes:
                        if inside(x, y):
                            a = c[3] / 255.0
                            col = tuple(c[i] * a + col[i] * (1 - a) for i in range(3)) + (
                                255 * a + col[3] * (1 - a),)
                    # premultiplied accumulation
                    acc[0] += col[0] * col[3] / 255.0
                    acc[1] += col[1] * col[3] / 255.0
                    acc[2] += col[2] * col[3] / 255.0
                    acc[3] += col[3]
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [min(255, round(acc[i] / n * 255.0 / alpha)) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            pixels.append((rgb[0], rgb[1], rgb[2], round(alpha)))
    return pixels


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w / 2) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= (r + w / 2) ** 2


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def segment(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (w / 2) ** 2
    return inside


def ellipse_ring(cx, cy, rx, ry, w):
    def inside(x, y):
        d = math.sqrt(((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2)
        return abs(d - 1) * min(rx, ry) <= w / 2
    return inside


def arrow(x0, y0, x1, y1, w, head):
    ang = math.atan2(y1 - y0, x1 - x0)
    bx, by = x1 - head * math.cos(ang), y1 - head * math.sin(ang)
    left = (bx + head * 0.6 * math.sin(ang), by - head * 0.6 * math.cos(ang))
    right = (bx - head * 0.6 * math.sin(ang), by + head * 0.6 * math.cos(ang))
    shaft = segment(x0, y0, bx, by, w)
    tip = polygon([(x1, y1), left, right])
    return lambda x, y: shaft(x, y) or tip(x, y)


TEAL = (0, 128, 128, 255)
TEAL_LIGHT = (120, 200, 200, 255)
ORANGE = (235, 125, 20, 255)
BLUE = (40, 90, 170, 255)
BLUE_LIGHT = (170, 200, 240, 255)
GREY = (110, 110, 110, 255)
PALE = (235, 242, 248, 255)
WHITE = (255, 255, 255, 255)


def backdrop():
    return [(lambda x, y: (x - 24) ** 2 + (y - 24) ** 2 <= 23 ** 2, PALE)]


def axes():
    return [(arrow(8, 41, 8, 6, 1.6, 5), GREY), (arrow(7, 40, 42, 40, 1.6, 5), GREY)]


PICTURES = [
    # 1: a feasible region with its optimal vertex
    backdrop() + axes() + [(polygon([(9, 39), (9, 22), (20, 13), (34, 18), (38, 39)]), TEAL_LIGHT),
                           (disc(34, 18, 3.2), ORANGE)],
    # 2: level lines of the objective and the direction of growth
    backdrop() + axes() + [(segment(10, 34, 22, 12, 1.6), BLUE_LIGHT), (segment(14, 38, 30, 12, 1.6), BLUE_LIGHT),
                           (segment(20, 39, 38, 12, 1.6), BLUE), (arrow(22, 30, 36, 36, 2.2, 6), ORANGE)],
    # 3: a simplex table with its pivot cell
    [(rect(5, 7, 43, 41), WHITE)] + [(rect(5, 7 + 8.5 * i, 43, 7.8 + 8.5 * i), GREY) for i in range(5)]
    + [(rect(5 + 9.5 * i, 7, 5.8 + 9.5 * i, 41), GREY) for i in range(5)]
    + [(rect(24.6, 24.8, 33.6, 32.5), ORANGE), (rect(5.8, 7.8, 14.5, 15.5), TEAL_LIGHT)],
    # 4: integer lattice points and a cutting line
    backdrop() + axes() + [(disc(14 + 8 * i, 34 - 8 * j, 1.8), BLUE) for i in range(4) for j in range(4)]
    + [(segment(10, 16, 40, 34, 2), ORANGE)],
    # 5: contour ellipses of a quadratic function
    backdrop() + [(ellipse_ring(24, 24, 19, 12, 1.6), TEAL_LIGHT), (ellipse_ring(24, 24, 13, 8, 1.6), TEAL),
                  (ellipse_ring(24, 24, 6, 3.6, 1.6), BLUE), (disc(24, 24, 1.8), ORANGE)],
    # 6: a fraction: numerator over denominator
    [(rect(11, 9, 37, 18), TEAL), (rect(6, 22.5, 42, 25.5), GREY), (rect(11, 30, 37, 39), BLUE)],
    # 7: a stock bar cut into pieces
    [(rect(4, 8, 44, 16), GREY)] + [(rect(4 + 14 * i, 22, 16 + 14 * i, 30), c)
                                    for i, c in enumerate([TEAL, BLUE, ORANGE])]
    + [(rect(4, 34, 22, 42), TEAL_LIGHT), (rect(24, 34, 40, 42), BLUE_LIGHT)],
    # 8: the simplex path along the vertices
    backdrop() + [(polygon([(8, 40), (8, 20), (18, 9), (36, 12), (42, 30), (30, 40)]), BLUE_LIGHT),
                  (arrow(8, 40, 8, 22, 2.2, 5), ORANGE), (arrow(8, 20, 17, 10, 2.2, 5), ORANGE),
                  (arrow(18, 9, 34, 12, 2.2, 5), ORANGE), (disc(36, 12, 3), TEAL)],
    # 9: regression points around a line
    backdrop() + axes() + [(segment(9, 37, 41, 12, 1.8), ORANGE)]
    + [(disc(px, py, 2), BLUE) for px, py in [(13, 31), (18, 32), (22, 26), (27, 25), (31, 19), (36, 18)]],
    # 10: an optimum as the centre of a target
    [(disc(24, 24, 21), WHITE), (ring(24, 24, 19, 3), TEAL), (ring(24, 24, 12.5, 3), TEAL_LIGHT),
     (disc(24, 24, 6), ORANGE), (arrow(44, 4, 26, 22, 2.2, 7), BLUE)],
]


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wizard", "images")
    os.makedirs(out, exist_ok=True)
    for i, shapes in enumerate(PICTURES, start=1):
        write_png(os.path.join(out, "head%02d.png" % i), SIZE, render(SIZE, shapes))
    icon = [(rect(1, 2, 4, 5), TEAL), (rect(6, 3, 15, 4.2), GREY), (rect(1, 7, 4, 10), ORANGE),
            (rect(6, 8, 15, 9.2), GREY), (rect(1, 12, 4, 15), BLUE_LIGHT), (rect(6, 13, 15, 14.2), GREY)]
    write_png(os.path.join(out, "stages.png"), 16, render(16, icon))


if __name__ == "__main__":
    main()
