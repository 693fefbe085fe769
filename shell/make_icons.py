#!/usr/bin/env python3
"""Draws the program's icon, a small adding machine with its paper tape, and writes it as
.ico files: the large icon (32 and 48 pixels) and the small one (16 pixels).

Usage: make_icons.py <large.ico> <small.ico>
"""
import struct
import sys

BODY = (0x5A, 0x6E, 0x82, 0xFF)      # slate blue-grey (R, G, B, A)
BODY_EDGE = (0x2E, 0x3A, 0x46, 0xFF)
PAPER = (0xFA, 0xF8, 0xEE, 0xFF)
INK = (0x50, 0x50, 0x50, 0xFF)
DISPLAY = (0x1E, 0x32, 0x1E, 0xFF)
DIGITS = (0x7C, 0xF0, 0x7C, 0xFF)
KEY = (0xEC, 0xEC, 0xEC, 0xFF)
KEY_PLUS = (0xF0, 0x8C, 0x28, 0xFF)
CLEAR = (0, 0, 0, 0)


def draw(size):
    """Returns rows (top first) of RGBA pixels, drawn on a 16-unit grid."""
    px = [[CLEAR] * size for _ in range(size)]
    unit = size / 16.0

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(round(y0 * unit)), int(round(y1 * unit))):
            for x in range(int(round(x0 * unit)), int(round(x1 * unit))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    # The paper tape rising out of the machine, with printed lines.
    rect(5, 0, 11, 7, PAPER)
    for line in (1.5, 3.5, 5.5):
        rect(6, line, 10, line + 0.5 if size > 16 else line + 1, INK)
    # The body with its edge.
    rect(1, 6, 15, 16, BODY_EDGE)
    rect(1.5, 6.5, 14.5, 15.5, BODY)
    # The display.
    rect(3, 7.5, 13, 9.5, DISPLAY)
    rect(9, 8, 12.5, 9, DIGITS)
    # Three rows of keys; the tall plus key on the right.
    for row in range(3):
        for col in range(3):
            x = 3 + col * 2.5
            y = 10.5 + row * 1.7
            rect(x, y, x + 1.8, y + 1.2, KEY)
    rect(10.5, 10.5, 12.8, 14.6, KEY_PLUS)
    return px


def bitmap(size, palette):
    """A 16-colour icon image: the drawing has only opaque and clear pixels, so a palette
    and the transparency mask hold it exactly, in a sixth of the bytes of 32-bit pixels."""
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    colours += bytes(4 * (16 - len(palette)))
    pixels = b''
    mask = b''
    for row in reversed(rows):
        indexes = [palette.index(colour[:3]) if colour[3] else 0 for colour in row]
        packed = bytes(indexes[x] << 4 | indexes[x + 1] for x in range(0, size, 2))
        pixels += packed + bytes(-len(packed) % 4)
        bits = int(''.join('0' if colour[3] else '1' for colour in row), 2)
        mask_row = ((size + 31) // 32) * 4
        mask += (bits << (mask_row * 8 - size)).to_bytes(mask_row, 'big')
    return header + colours + pixels + mask


def palette_of(sizes):
    """The colours drawn, in the order first drawn; clear pixels take entry 0 (black)."""
    palette = [(0, 0, 0)]
    for size in sizes:
        for row in draw(size):
            for (r, g, b, a) in row:
                if a not in (0, 0xFF):
                    sys.exit('make_icons.py: only opaque or clear pixels fit a 16-colour icon')
                if a and (r, g, b) not in palette:
                    palette.append((r, g, b))
    if len(palette) > 16:
        sys.exit('make_icons.py: more than 16 colours')
    return palette


def write_ico(path, sizes):
    palette = palette_of(sizes)
    images = [bitmap(s, palette) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_ico(sys.argv[1], [32, 48])
    write_ico(sys.argv[2], [16])
