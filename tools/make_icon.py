#!/usr/bin/env python3
"""Draws res/kvader.ico: a small well of grey cells with a darker brick falling
inside, as a 32x32 and a 16x16 image in 16 colours. Run it again after changing
the picture; the icon file is kept in the repository."""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, LIGHT_GREY, DARK_GREY, WHITE = 0, 7, 8, 15

# The well in cells: '#' a fixed grey cell, 'B' the falling brick, '.' empty.
WELL = [
    "..BBB..",
    "...B...",
    ".......",
    ".......",
    "#......",
    "##..#.#",
    "###.###",
]


def draw(size):
    cell = size // 8  # 7 columns of cells plus the walls
    pixels = [[WHITE] * size for _ in range(size)]
    wall = (size - 7 * cell) // 2
    for y in range(size):
        for x in range(size):
            if x < wall or x >= size - wall or y >= size - wall:
                pixels[y][x] = DARK_GREY
    top = size - wall - 7 * cell
    for row, line in enumerate(WELL):
        for col, ch in enumerate(line):
            if ch == '.':
                continue
            colour = BLACK if ch == 'B' else LIGHT_GREY
            for dy in range(cell - (1 if cell > 2 else 0)):
                for dx in range(cell - (1 if cell > 2 else 0)):
                    pixels[top + row * cell + dy][wall + col * cell + dx] = colour
    return pixels


def bitmap(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(0, size, 2):
            row.append(pixels[y][x] << 4 | pixels[y][x + 1])
        while len(row) % 4:
            row.append(0)
        xor += row
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # every pixel opaque
    return header + palette + bytes(xor) + mask


def main(path):
    images = [bitmap(draw(32)), bitmap(draw(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/kvader.ico')
