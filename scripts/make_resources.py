#!/usr/bin/env python3
"""Draws the overlay's images: resources/bg.png (the skill panel's background)
and one icon per known combat art id, 5000.png to 9900.png (the id's digits,
two rows of two, white with a dark outline on a coloured tile with
transparent rounded corners). Standard library only.

usage: make_resources.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

SIZE = 128

# 3 x 5 digits, one string per row: bold blocks that stay apart when a tile
# is drawn 30 pixels wide.
DIGITS = {
    "0": ["111", "101", "101", "101", "111"],
    "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"],
    "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"],
    "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"],
    "7": ["111", "001", "001", "001", "001"],
    "8": ["111", "101", "111", "101", "111"],
    "9": ["111", "101", "111", "001", "111"],
}

# The id's four digits in two rows of two ("87" over "00" for 8700), each
# digit 3 cells of CELL_W by 5 cells of CELL_H texels, centred, with a dark
# outline; the tile's colour shows between them.
CELL_W, CELL_H = 16, 10
DIGIT_GAP = 14
OUTLINE = 3
INK = (255, 255, 255, 255)
OUTLINE_COLOUR = (16, 16, 20, 255)


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


def digit_origins():
    """Top left texel of the four digits, in reading order."""
    step_x = 3 * CELL_W + DIGIT_GAP
    step_y = 5 * CELL_H + DIGIT_GAP
    left = (SIZE - step_x - 3 * CELL_W) // 2
    top = (SIZE - step_y - 5 * CELL_H) // 2
    return [(left + col * step_x, top + row * step_y) for row in (0, 1) for col in (0, 1)]


def ink_mask(text):
    mask = [[False] * SIZE for _ in range(SIZE)]
    for char, (left, top) in zip(text, digit_origins()):
        for row, cells in enumerate(DIGITS[char]):
            for col, cell in enumerate(cells):
                if cell != "1":
                    continue
                for y in range(top + row * CELL_H, top + (row + 1) * CELL_H):
                    for x in range(left + col * CELL_W, left + (col + 1) * CELL_W):
                        mask[y][x] = True
    return mask


def grown(mask, by):
    """The mask grown by `by` texels in every direction (a square reach)."""
    rows = [[any(r[max(0, x - by):x + by + 1]) for x in range(SIZE)] for r in mask]
    return [[any(rows[yy][x] for yy in range(max(0, y - by), min(SIZE, y + by + 1)))
             for x in range(SIZE)] for y in range(SIZE)]


def icon(art_id, colour):
    text = "%04d" % art_id
    ink = ink_mask(text)
    outline = grown(ink, OUTLINE)

    def pixel(x, y):
        if not inside_rounded(x, y, SIZE, 16):
            return (0, 0, 0, 0)
        if ink[y][x]:
            return INK
        if outline[y][x]:
            return OUTLINE_COLOUR
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
