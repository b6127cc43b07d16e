#!/usr/bin/env python3
"""Draws the program icon (a parchment card with a quotation mark and two
lines of text) and writes res/Vellumio.ico.

The shapes are described in a unit square and rendered with 4x4
supersampling at every size, so each image is drawn for its size rather than
scaled down from a big one. 16 to 64 pixels are stored as 32-bit bitmaps
(what Windows 7 and Wine read everywhere); 256 pixels as PNG, as the
Vista-and-later icon format allows.

Usage: python3 tools/make_icon.py [output.ico]
The output is deterministic; the committed icon is regenerated with it.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
SAMPLES = 4

PARCHMENT = (244, 230, 196)
PARCHMENT_SHADE = (226, 206, 160)
INK = (31, 92, 110)
LINE = (120, 132, 128)


def rounded_rect_distance(x, y, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def in_quote_comma(x, y, cx, cy, r):
    """One half of an opening quotation mark: a round head with a tail that
    sweeps up and to the right."""
    if math.hypot(x - cx, y - cy) <= r:
        return True
    return in_triangle(x, y, (cx - r, cy - 0.2 * r), (cx + 0.35 * r, cy - 0.9 * r),
                       (cx + 0.9 * r, cy - 2.3 * r))


def colour_at(x, y, size):
    """The colour (r, g, b, a) of the point (x, y) of the unit square."""
    d = rounded_rect_distance(x, y, 0.06, 0.10, 0.94, 0.90, 0.12)
    border = max(0.045, 1.3 / size)
    if d > 0:
        return (0, 0, 0, 0)
    if d > -border:
        return INK + (255,)
    r = 0.085
    for cx in (0.36, 0.58):
        if in_quote_comma(x, y, cx, 0.50, r):
            return INK + (255,)
    thickness = max(0.04, 1.2 / size)
    for y0, x1 in ((0.69, 0.80), (0.78, 0.64)):
        if abs(y - y0) < thickness / 2 and 0.20 <= x <= x1:
            return LINE + (255,)
    # A light fold in the upper-right corner.
    if x + (1.0 - y) > 1.62:
        return PARCHMENT_SHADE + (255,)
    return PARCHMENT + (255,)


def render(size):
    """Rows of premultiplied-then-averaged RGBA pixels, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    r, g, b, a = colour_at(x, y, size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha),))
        rows.append(row)
    return rows


def bmp_image(size, rows):
    """A BITMAPINFOHEADER, bottom-up 32-bit BGRA pixels and the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def png_image(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_ico(path):
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_image(size, rows) if size >= 256 else bmp_image(size, rows)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "res", "Vellumio.ico")
    write_ico(path)
    print("icon written to", path)


if __name__ == "__main__":
    main()
