#!/usr/bin/env python3
"""Draws the overlay's images: resources/bg.png (the skill panel's background)
and one icon per known combat art id, 5000.png to 9900.png (the id on a
coloured tile with transparent rounded corners). Standard library only.

usage: make_resources.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

SIZE = 128

# 5 x 7 digits, one string per row.
DIGITS = {
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
}


def write_png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a)"""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        out.write(chunk(b"IEND", b""))


def inside_rounded(x, y, size, radius):
    cx = min(max(x, radius), size - 1 - radius)
    cy = min(max(y, radius), size - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def hue_colour(index, count):
    """An evenly spread, legible tile colour for icon number `index`."""
    h = index / count * 6.0
    c, x = 150, int(150 * (1 - abs(h % 2 - 1)))
    r, g, b = [(c, x, 0), (x, c, 0), (0, c, x), (0, x, c), (x, 0, c), (c, 0, x)][int(h) % 6]
    return (r + 60, g + 60, b + 60)


def background(x, y):
    if not inside_rounded(x, y, SIZE, 18):
        return (0, 0, 0, 0)
    edge = min(x, y, SIZE - 1 - x, SIZE - 1 - y)
    if edge < 4:
        return (196, 164, 92, 255)  # a gold rim
    shade = 24 + (y * 24) // SIZE
    return (shade, shade, shade + 8, 255)


def icon(art_id, colour):
    text = str(art_id)
    scale = 4
    glyph_w, glyph_h, gap = 5 * scale, 7 * scale, scale
    text_w = len(text) * glyph_w + (len(text) - 1) * gap
    left, top = (SIZE - text_w) // 2, (SIZE - glyph_h) // 2

    def pixel(x, y):
        if not inside_rounded(x, y, SIZE, 24):
            return (0, 0, 0, 0)
        gx, gy = x - left, y - top
        if 0 <= gy < glyph_h and 0 <= gx < text_w:
            index, within = divmod(gx, glyph_w + gap)
            if within < glyph_w and DIGITS[text[index]][gy // scale][within // scale] == "1":
                return (250, 250, 250, 255)
        return colour + (255,)

    return pixel


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_png(os.path.join(folder, "bg.png"), SIZE, SIZE, background)
    ids = list(range(5000, 10000, 100))
    for index, art_id in enumerate(ids):
        write_png(os.path.join(folder, "%d.png" % art_id), SIZE, SIZE, icon(art_id, hue_colour(index, len(ids))))


if __name__ == "__main__":
    main()
