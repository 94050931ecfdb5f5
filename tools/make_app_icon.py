#!/usr/bin/env python3
"""Draws the program's icon: a feasible region with its optimal vertex and a level line, on a navy
rounded square. Writes app/icons/kelvano.svg and the PNG sizes the desktop and the window use.

Run once; the pictures are kept in app/icons. Plain Python, no imaging library (the sampling and
PNG writing of make_header_images.py).
"""
import os

from make_header_images import polygon, render, segment, write_png

# The design on a 48-unit square; every size is drawn from it.
NAVY = (0, 0, 128, 255)
REGION = (210, 222, 240, 255)
EDGE = (255, 255, 255, 255)
LEVEL = (235, 125, 20, 255)
REGION_POINTS = [(11, 37), (11, 20), (22, 11), (34, 17), (38, 37)]
LEVEL_LINE = (20, 3, 43, 26)
VERTEX = (34, 17)


def rounded_square(size, radius):
    def inside(x, y):
        cx = min(max(x, radius), size - radius)
        cy = min(max(y, radius), size - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def shapes(scale):
    s = lambda v: v * scale
    pts = [(s(x), s(y)) for x, y in REGION_POINTS]
    edges = [(segment(*pts[i], *pts[(i + 1) % len(pts)], s(1.6)), EDGE) for i in range(len(pts))]
    vertex = lambda x, y: (x - s(VERTEX[0])) ** 2 + (y - s(VERTEX[1])) ** 2 <= s(3.4) ** 2
    return ([(rounded_square(s(48), s(9)), NAVY), (polygon(pts), REGION)] + edges
            + [(segment(s(LEVEL_LINE[0]), s(LEVEL_LINE[1]), s(LEVEL_LINE[2]), s(LEVEL_LINE[3]), s(2.2)), LEVEL),
               (vertex, LEVEL)])


def svg():
    points = " ".join("%g,%g" % p for p in REGION_POINTS)
    x0, y0, x1, y1 = LEVEL_LINE
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">\n'
        '  <rect width="48" height="48" rx="9" fill="#000080"/>\n'
        '  <polygon points="%s" fill="#d2def0" stroke="#ffffff" stroke-width="1.6" stroke-linejoin="round"/>\n'
        '  <line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#eb7d14" stroke-width="2.2" stroke-linecap="round"/>\n'
        '  <circle cx="%g" cy="%g" r="3.4" fill="#eb7d14"/>\n'
        '</svg>\n' % (points, x0, y0, x1, y1, VERTEX[0], VERTEX[1]))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "icons")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "kelvano.svg"), "w") as f:
        f.write(svg())
    for size in (16, 32, 48, 64, 128, 256):
        write_png(os.path.join(out, "kelvano-%d.png" % size), size, render(size, shapes(size / 48.0)))


if __name__ == "__main__":
    main()
