#!/usr/bin/env python3
"""Draws the small button glyphs of the main window and the note view and
writes them as 24-bit BMP files into res/.

Every glyph is designed on a 16 x 16 grid and rendered at 16 pixels and at
32 pixels (the "_32" files, for 200 % screens). White is the transparent
colour of the buttons, so the glyphs are not antialiased: a pixel takes the
stroke colour when at least half of it is covered (4 x 4 samples) and stays
pure white otherwise. Antialiased edges would blend towards white and show
as a pale fringe on the orange header. The header glyphs are drawn in a
white that is one step off pure white, so they are not themselves
transparent; the note-view glyphs use dark colours for the light cards.

Usage: python3 tools/make_glyphs.py [output-folder]
The output is deterministic; the committed bitmaps are regenerated with it.
"""
import math
import os
import struct
import sys

SAMPLES = 4
WHITE = (255, 255, 255)
# Reads as white on the header; differs from the transparent colour.
STROKE_LIGHT = (252, 252, 252)
INK = (64, 64, 64)
GREEN = (0, 128, 0)
BLUE = (0, 90, 200)
BELL_GOLD = (176, 112, 0)


def segment_distance(x, y, ax, ay, bx, by):
    """Distance from (x, y) to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def in_box(x, y, x0, y0, x1, y1):
    return x0 <= x < x1 and y0 <= y < y1


def in_polygon(x, y, points):
    """Even-odd rule."""
    inside = False
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        if (ay > y) != (by > y):
            cross = ax + (y - ay) * (bx - ax) / (by - ay)
            if x < cross:
                inside = not inside
    return inside


def menu(x, y):
    """Three bars."""
    return any(in_box(x, y, 3, top, 13, top + 2) for top in (4, 7, 10))


def search(x, y):
    """A magnifier: a ring with a handle towards the bottom right."""
    r = math.hypot(x - 6.5, y - 6.5)
    if 2.9 <= r <= 4.6:
        return True
    return segment_distance(x, y, 9.8, 9.8, 13.2, 13.2) <= 1.15


def close(x, y):
    """A cross: the window goes away (to the dock line or the tray)."""
    d1 = segment_distance(x, y, 4.2, 4.2, 11.8, 11.8)
    d2 = segment_distance(x, y, 11.8, 4.2, 4.2, 11.8)
    return min(d1, d2) <= 0.9


def pin_upright(x, y):
    """A push pin standing in the board, needle down."""
    return (in_box(x, y, 5, 2, 11, 4)      # head
            or in_box(x, y, 6, 4, 10, 8)   # body
            or in_box(x, y, 4, 8, 12, 10)  # collar
            or in_box(x, y, 7.5, 10, 8.5, 15))  # needle


def pin_pinned(x, y):
    return pin_upright(x, y)


def pin_loose(x, y):
    """The same pin lying on its side, needle to the left."""
    return pin_upright(y, 16 - x)


def bell(x, y):
    """A bell with its clapper."""
    body = [(8, 2), (9.5, 2.6), (11, 4.5), (11.5, 8.5), (13.5, 11.5), (2.5, 11.5),
            (4.5, 8.5), (5, 4.5), (6.5, 2.6)]
    if in_polygon(x, y, body):
        return True
    if in_box(x, y, 7.5, 1, 8.5, 2.5):
        return True
    return math.hypot(x - 8, y - 13) <= 1.6 and y >= 11.5


def check(x, y):
    """A tick."""
    d1 = segment_distance(x, y, 3.0, 8.5, 6.5, 12.0)
    d2 = segment_distance(x, y, 6.5, 12.0, 13.0, 4.0)
    return min(d1, d2) <= 1.1


def ok_button(x, y):
    """A round button with a tick cut out of it."""
    if math.hypot(x - 8, y - 8) > 6.6:
        return False
    d1 = segment_distance(x, y, 4.8, 8.2, 7.2, 10.6)
    d2 = segment_distance(x, y, 7.2, 10.6, 11.4, 5.6)
    return min(d1, d2) > 0.85


def ok_button_colour(x, y):
    """The tick of the OK button is light, not transparent."""
    return GREEN if ok_button(x, y) else (
        STROKE_LIGHT if math.hypot(x - 8, y - 8) <= 6.6 else None)


def link(x, y):
    """Two chain links on a diagonal: a web address."""
    def ring(cx, cy):
        # A stadium along the diagonal, as a ring of width about 1.4.
        u = ((x - cx) - (y - cy)) / math.sqrt(2)
        v = ((x - cx) + (y - cy)) / math.sqrt(2)
        half = 1.6
        du = max(abs(u) - half, 0.0)
        d = math.hypot(du, v)
        return 1.0 <= d <= 2.3
    return ring(5.8, 10.2) or ring(10.2, 5.8)


def find_next(x, y):
    """A small magnifier and a play arrow beside it: find the next one."""
    r = math.hypot(x - 5.0, y - 5.0)
    if 2.2 <= r <= 3.8:
        return True
    if segment_distance(x, y, 7.6, 7.6, 8.6, 8.6) <= 0.9:
        return True
    return in_polygon(x, y, [(10.5, 8.5), (15.5, 12.0), (10.5, 15.5)])


def gear(x, y):
    """A cog wheel with eight teeth and a hole: the settings."""
    dx, dy = x - 8, y - 8
    r = math.hypot(dx, dy)
    if r < 2.0:
        return False
    if r <= 4.6:
        return True
    if r > 6.6:
        return False
    angle = math.atan2(dy, dx)
    sector = (angle / (2 * math.pi / 8)) % 1.0
    return sector < 0.42


def help_mark(x, y):
    """A question mark in a ring."""
    r = math.hypot(x - 8, y - 8)
    if 6.0 <= r <= 7.2:
        return True
    # The hook: an arc over the top, then down to the middle.
    hook = math.hypot(x - 8, y - 6.2)
    if 1.4 <= hook <= 2.7 and (y < 6.6 or x > 8):
        if not (y > 6.2 and x < 8):
            return True
    if segment_distance(x, y, 8.6, 8.3, 8, 9.6) <= 0.8:
        return True
    return in_box(x, y, 7.2, 10.8, 8.8, 12.4)


def single(shape, colour):
    return lambda x, y: colour if shape(x, y) else None


GLYPHS = {
    "BMP_MENUGLFOR": single(menu, STROKE_LIGHT),
    "BMP_SEARCH": single(search, STROKE_LIGHT),
    "BMP_CLOSE": single(close, STROKE_LIGHT),
    "BMP_PINA": single(pin_pinned, STROKE_LIGHT),
    "BMP_PINB": single(pin_loose, STROKE_LIGHT),
    "BMP_BELL": single(bell, BELL_GOLD),
    "BMP_CHECK": single(check, GREEN),
    "BMP_OKBTN": ok_button_colour,
    "BMP_URLA": single(link, BLUE),
    # The tray menu's pictures, dark on the light menu.
    "MENU_FIND": single(search, INK),
    "MENU_FINDNEXT": single(find_next, INK),
    "MENU_SETTINGS": single(gear, INK),
    "MENU_HELP": single(help_mark, BLUE),
}


def render(colour_of, size):
    """Rows of (r, g, b), top row first."""
    scale = 16.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            counts = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    c = colour_of(x, y)
                    if c is not None:
                        counts[c] = counts.get(c, 0) + 1
            best = max(counts.items(), key=lambda kv: kv[1], default=(None, 0))
            row.append(best[0] if best[1] * 2 >= SAMPLES * SAMPLES else WHITE)
        rows.append(row)
    return rows


def bmp_bytes(rows):
    """A bottom-up 24-bit BMP with rows padded to four bytes."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    for name, colour_of in GLYPHS.items():
        for size, suffix in ((16, ""), (32, "_32")):
            path = os.path.join(out, name + suffix + ".bmp")
            with open(path, "wb") as f:
                f.write(bmp_bytes(render(colour_of, size)))


if __name__ == "__main__":
    main()
