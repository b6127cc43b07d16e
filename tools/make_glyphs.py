#!/usr/bin/env python3
"""Draws the small button glyphs of the main window, the tray menu and the
note view and writes them as BMP files into res/.

The header glyphs and the menu pictures (tray menu, note view's context
menu) are 24-bit: each is designed on a 16 x 16
grid and rendered at 16 pixels and at 32 pixels (the "_32" files, for 200 %
screens). White is the transparent colour of the buttons, so the glyphs are
not antialiased: a pixel takes the stroke colour when at least half of it is
covered (4 x 4 samples) and stays pure white otherwise. Antialiased edges
would blend towards white and show as a pale fringe on the orange header.
The header glyphs are drawn in a white that is one step off pure white, so
they are not themselves transparent.

The note view recolours its glyphs as it draws them, so those are two-colour
bitmaps (1 bit per pixel): pixel value 0 is the stroke and takes palette
entry 0, the glyph colour; value 1 is the background (palette entry 1,
black), which the view leaves transparent. Each is designed on the grid of
the box it is drawn into (13 x 13 for the mark boxes, 16 x 16 for the
buttons) and rendered at 100 %, 150 % and 200 % ("_150" and "_200"). Stroke
widths are part of the design, so they grow with the size and the weight
stays the same. A pixel is stroke when at least half of it is covered
(8 x 8 samples); a 1-bit image has no antialiasing.

Usage: python3 tools/make_glyphs.py [output-folder]
The output is deterministic; the committed bitmaps are regenerated with it.
"""
import math
import os
import struct
import sys

SAMPLES = 4
MENU_GOLD = (176, 112, 0)
WHITE = (255, 255, 255)
# Reads as white on the header; differs from the transparent colour.
STROKE_LIGHT = (252, 252, 252)
INK = (64, 64, 64)
GREEN = (0, 128, 0)
BLUE = (0, 90, 200)
RED = (200, 0, 0)
BLACK = (0, 0, 0)


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


# The note view's glyphs. Bell and tick are designed on the 13 x 13 grid of
# a mark box, with a margin of one to two pixels; the link arrow and the
# OK button on a 16 x 16 grid.

def bell(x, y):
    """A bell with its clapper (13 x 13)."""
    body = [(6.5, 2.6), (8.0, 3.1), (9.0, 4.6), (9.3, 7.8), (11.4, 10.0), (1.6, 10.0),
            (3.7, 7.8), (4.0, 4.6), (5.0, 3.1)]
    if in_polygon(x, y, body):
        return True
    if in_box(x, y, 5.9, 1.6, 7.1, 3.0):  # the loop on top
        return True
    # The clapper below the rim.
    return math.hypot(x - 6.5, y - 10.2) <= 1.5 and y >= 10.0


def check(x, y):
    """A tick (13 x 13)."""
    d1 = segment_distance(x, y, 2.6, 6.6, 5.3, 9.3)
    d2 = segment_distance(x, y, 5.3, 9.3, 10.4, 3.6)
    return min(d1, d2) <= 1.0


def ok_tick(x, y):
    """A bold tick: save the note (16 x 16)."""
    d1 = segment_distance(x, y, 3.2, 8.4, 6.6, 11.8)
    d2 = segment_distance(x, y, 6.6, 11.8, 12.8, 4.2)
    return min(d1, d2) <= 1.25


def link_arrow(x, y):
    """An arrow leaving a box to the upper right: a web address (16 x 16)."""
    w = 0.55  # half the stroke width
    # The box, open at its upper right corner where the arrow leaves.
    lines = ((2.5, 4.5, 7.5, 4.5), (2.5, 4.5, 2.5, 13.5), (2.5, 13.5, 11.5, 13.5),
             (11.5, 9.5, 11.5, 13.5),
             # The shaft from inside the box out past the corner, and its head.
             (6.5, 9.5, 13.5, 2.5), (9.0, 2.5, 13.5, 2.5), (13.5, 2.5, 13.5, 7.0))
    return any(segment_distance(x, y, *line) <= w for line in lines)


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


def frame(x, y, x0, y0, x1, y1):
    """The one-pixel outline of the box x0..x1, y0..y1."""
    return in_box(x, y, x0, y0, x1, y1) and not in_box(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1)


def move_top(x, y):
    """An arrow pointing up to a bar: to the top of the list."""
    if in_box(x, y, 2, 1, 13, 3):
        return True
    # A head with 45-degree sides, then the shaft, about the middle of
    # pixel column 7.
    if 4 <= y < 9 and abs(x - 7.5) <= y - 4:
        return True
    return in_box(x, y, 6, 9, 9, 15)


def copy_sheets(x, y):
    """Two sheets, the front one with lines of text over the back one."""
    if in_box(x, y, 5, 4, 14, 15):
        return (frame(x, y, 5, 4, 14, 15) or in_box(x, y, 7, 7, 12, 8)
                or in_box(x, y, 7, 9, 12, 10) or in_box(x, y, 7, 11, 10, 12))
    return frame(x, y, 2, 1, 11, 12)


def delete_cross(x, y):
    """A bold cross with square ends."""
    if not in_box(x, y, 3, 3, 13, 13):
        return False
    return abs(x - y) <= 1.5 or abs(x + y - 16) <= 1.5


def printer(x, y):
    """A printer: a sheet going in at the top, the body with a light and a
    printed sheet coming out in front."""
    if in_box(x, y, 4, 9, 12, 15):  # the printed sheet hides the body
        return (frame(x, y, 4, 9, 12, 15) or in_box(x, y, 6, 11, 10, 12)
                or in_box(x, y, 6, 13, 9, 14))
    if in_box(x, y, 12, 7, 13, 8):  # the light
        return False
    if in_box(x, y, 1, 5, 15, 11):
        return not (in_box(x, y, 1, 5, 2, 6) or in_box(x, y, 14, 5, 15, 6))  # round corners
    return frame(x, y, 4, 1, 12, 6)


def stop_sound(x, y):
    """A red disc with a light square: stop the sound (the alert's picture
    over the bell while the reminder's sound plays)."""
    if in_box(x, y, 5.5, 5.5, 10.5, 10.5):
        return STROKE_LIGHT
    return RED if math.hypot(x - 8.0, y - 8.0) <= 7.2 else None


def single(shape, colour):
    return lambda x, y: colour if shape(x, y) else None


GLYPHS = {
    "BMP_MENUGLFOR": single(menu, STROKE_LIGHT),
    "BMP_SEARCH": single(search, STROKE_LIGHT),
    "BMP_CLOSE": single(close, STROKE_LIGHT),
    "BMP_PINA": single(pin_pinned, STROKE_LIGHT),
    "BMP_PINB": single(pin_loose, STROKE_LIGHT),
    # The tray menu's pictures, dark on the light menu.
    "MENU_FIND": single(search, INK),
    "MENU_FINDNEXT": single(find_next, INK),
    "MENU_SETTINGS": single(gear, INK),
    "MENU_HELP": single(help_mark, BLUE),
    # The note view's bell, drawn on its 13-pixel grid, for the menu's 16.
    "MENU_BELL": single(lambda x, y: bell(x * 13 / 16, y * 13 / 16), MENU_GOLD),
    # The note view's context menu.
    "MENU_MOVETOP": single(move_top, INK),
    "MENU_COPY": single(copy_sheets, INK),
    "MENU_DELETE": single(delete_cross, RED),
    "MENU_PRINT": single(printer, INK),
    # The reminder alert's pictures (drawn at 32 pixels, "_32").
    "ALERT_BELL": single(lambda x, y: bell(x * 13 / 16, y * 13 / 16), MENU_GOLD),
    "ALERT_STOP": stop_sound,
}


# The note view's two-colour glyphs: shape, design grid, glyph colour. The
# bell and the tick take their colour from the view, so theirs is black.
NOTE_GLYPHS = {
    "BMP_BELL": (bell, 13, BLACK),
    "BMP_CHECK": (check, 13, BLACK),
    "BMP_URLA": (link_arrow, 16, BLUE),
    "BMP_OKBTN": (ok_tick, 16, GREEN),
}
NOTE_SAMPLES = 8


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


def render_mask(shape, grid, size):
    """Rows of booleans (True = stroke), top row first."""
    scale = grid / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = 0
            for sy in range(NOTE_SAMPLES):
                for sx in range(NOTE_SAMPLES):
                    x = (px + (sx + 0.5) / NOTE_SAMPLES) * scale
                    y = (py + (sy + 0.5) / NOTE_SAMPLES) * scale
                    covered += shape(x, y)
            row.append(covered * 2 >= NOTE_SAMPLES * NOTE_SAMPLES)
        rows.append(row)
    return rows


def mono_bmp_bytes(rows, colour):
    """A bottom-up 1-bit BMP with a two-entry palette: entry 0 is the glyph
    colour and the stroke's pixel value, entry 1 (black) the background.
    Bit 7 of a byte is the leftmost pixel; rows are padded to four bytes."""
    height = len(rows)
    width = len(rows[0])
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for px, stroke in enumerate(row):
            if not stroke:
                line[px // 8] |= 0x80 >> (px % 8)
        pixels += line
    r, g, b = colour
    palette = bytes((b, g, r, 0)) + bytes((0, 0, 0, 0))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 3780, 3780, 2, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    for name, colour_of in GLYPHS.items():
        for size, suffix in ((16, ""), (32, "_32")):
            path = os.path.join(out, name + suffix + ".bmp")
            with open(path, "wb") as f:
                f.write(bmp_bytes(render(colour_of, size)))
    for name, (shape, grid, colour) in NOTE_GLYPHS.items():
        for size, suffix in ((grid, ""), ((grid * 3 + 1) // 2, "_150"), (grid * 2, "_200")):
            path = os.path.join(out, name + suffix + ".bmp")
            with open(path, "wb") as f:
                f.write(mono_bmp_bytes(render_mask(shape, grid, size), colour))


if __name__ == "__main__":
    main()
