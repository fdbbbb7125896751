#!/usr/bin/env python3
"""Draws the program's bitmaps: the application icon at 16 and 32 pixels and
the about button's 16 x 16 image. Plain Python, no imaging library: the
shapes are the same as in tarelog.svg, rasterised on the pixel grid, and
written as PNG with zlib. Run from any folder; writes beside this file."""

import os
import struct
import zlib

WHITE = (255, 255, 255, 255)
PAPER = (250, 250, 245, 255)
FRAME = (40, 70, 140, 255)
GRID = (190, 200, 220, 255)
LINE = (200, 30, 30, 255)
MARK = (20, 20, 20, 255)
AVERAGE = (30, 140, 60, 255)
CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, size, fill=CLEAR):
        self.size = size
        self.pixels = [[fill] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def png(self):
        raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def app_icon(size):
    # The design lives on a 32-unit grid, as in tarelog.svg.
    s = size / 32.0

    def p(v):
        return int(round(v * s))

    c = Canvas(size)
    c.rect(p(2), p(2), p(30), p(30), FRAME)
    c.rect(p(3), p(3), p(29), p(29), PAPER)
    for gy in (10, 17, 24):
        c.line(p(5), p(gy), p(27), p(gy), GRID)
    weights = [(5, 9), (9, 12), (13, 10), (17, 16), (21, 15), (25, 21)]
    for (xa, ya), (xb, yb) in zip(weights, weights[1:]):
        c.line(p(xa), p(ya), p(xb), p(yb), LINE)
    if size >= 32:
        smooth = [(5, 11), (13, 12), (21, 16), (26, 19)]
        for (xa, ya), (xb, yb) in zip(smooth, smooth[1:]):
            c.line(p(xa), p(ya), p(xb), p(yb), AVERAGE)
    x, y = weights[-1]
    c.rect(p(x) - 1, p(y) - 1, p(x) + 2, p(y) + 2, MARK)
    return c


def about_image():
    # A round "i": the about box.
    c = Canvas(16)
    for y in range(16):
        for x in range(16):
            if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 7.2 ** 2:
                c.put(x, y, FRAME)
    c.rect(7, 3, 9, 5, WHITE)
    c.rect(7, 6, 9, 13, WHITE)
    c.rect(6, 6, 7, 7, WHITE)
    c.rect(6, 12, 10, 13, WHITE)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "tarelog-16.png": app_icon(16),
        "tarelog-32.png": app_icon(32),
        "tarelog-64.png": app_icon(64),
        "about-16.png": about_image(),
    }
    for name, canvas in outputs.items():
        with open(os.path.join(here, name), "wb") as out:
            out.write(canvas.png())


if __name__ == "__main__":
    main()
