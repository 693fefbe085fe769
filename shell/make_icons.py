#!/usr/bin/env python3
"""Draws the program's icon, a small adding machine with its paper tape, and writes it as
.ico files of PNG images: the large icon and the small one, each at the sizes Windows asks
for at the usual display scalings.

Usage: make_icons.py <large.ico> <small.ico>
"""
import struct
import sys
import zlib

# The sizes Windows asks for at the usual display scalings; the package's test reads them here.
LARGE_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SMALL_SIZES = [16, 20, 24, 32]

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
    """Returns rows (top first) of RGBA pixels. The design is on a 16-unit grid, but each
    part is sized in whole pixels first and the parts are then laid side by side, so the
    keys and the tape's lines stay evenly spaced and sharp at sizes that are not a
    multiple of 16."""
    px = [[CLEAR] * size for _ in range(size)]
    unit = size / 16.0

    def n(units, least=1):
        return max(least, int(units * unit + 0.5))

    def fill(x, y, w, h, colour):
        for row in px[y:y + h]:
            row[x:x + w] = [colour] * w

    edge, key_w, key_gap, plus_w = n(0.5), n(1.8), n(0.7), n(2.3)
    key_h, row_gap = n(1.2), n(0.5)
    keys_w = 3 * (key_w + key_gap) + plus_w
    margin = min(n(1.5), (size - 2 * edge - keys_w) // 2)
    body_w = keys_w + 2 * (margin + edge)
    left = (size - body_w) // 2
    inner = left + edge + margin  # where the display and the keys start
    # From the bottom up: the edge, three rows of keys, the display, the edge.
    keys_top = size - edge - n(0.4, 0) - (3 * key_h + 2 * row_gap)
    display_h = n(2)
    display_top = keys_top - n(0.9) - display_h
    top = display_top - n(0.9) - edge

    # The paper tape rising out of the machine, its printed lines counted from the machine.
    tape_x, tape_w, line = n(5, 0), n(6), n(0.5)
    fill(tape_x, 0, tape_w, top, PAPER)
    for y in range(top - n(1) - line, 0, -n(2)):
        fill(tape_x + n(1), y, tape_w - 2 * n(1), line, INK)
    # The body with its edge, the display, three rows of keys and the tall plus key.
    fill(left, top, body_w, size - top, BODY_EDGE)
    fill(left + edge, top + edge, body_w - 2 * edge, size - top - 2 * edge, BODY)
    fill(inner, display_top, keys_w, display_h, DISPLAY)
    digits_w = n(3.5)
    fill(inner + keys_w - digits_w - n(0.5), display_top + n(0.5, 0), digits_w,
         max(1, display_h // 2), DIGITS)
    for row in range(3):
        for col in range(3):
            fill(inner + col * (key_w + key_gap), keys_top + row * (key_h + row_gap), key_w,
                 key_h, KEY)
    fill(inner + 3 * (key_w + key_gap), keys_top, plus_w, 3 * key_h + 2 * row_gap, KEY_PLUS)
    return px


def png(size):
    """The drawing as a 32-bit RGBA PNG (the form Windows reads in an icon). The drawing is
    flat colour, so each row is filtered the way that leaves it most zeros and the whole
    compresses to a few hundred bytes."""
    raw = b''
    previous = bytes(4 * size)
    for row in draw(size):
        line = bytes(c for pixel in row for c in pixel)
        sub = bytes((line[i] - (line[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(line)))
        up = bytes((a - b) & 0xFF for a, b in zip(line, previous))
        kind, data = min(enumerate([line, sub, up]),
                         key=lambda f: sum(min(b, 256 - b) for b in f[1]))
        raw += bytes([kind]) + data
        previous = line

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack(
            '>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_ico(path, sizes):
    images = [png(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, image in zip(sizes, images):
        # A size of 256 is written as 0; PNG images are 32 bits a pixel, with no palette.
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_ico(sys.argv[1], LARGE_SIZES)
    write_ico(sys.argv[2], SMALL_SIZES)
