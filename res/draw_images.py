#!/usr/bin/env python3
"""Draws Tovik's icon (tovik.ico, 32 x 32, 24-bit) and its hand cursor
(hand.cur, 32 x 32 monochrome, hot spot at the fingertip 6, 0).

The binaries are committed beside this script; run it again after changing a
picture:  python3 res/draw_images.py
Only the standard library is needed.
"""
import os
import struct

SIZE = 32
HERE = os.path.dirname(os.path.abspath(__file__))

# ---- the icon ---------------------------------------------------------------
# A blue tile with a white sheet on it; the sheet lists three names, each led
# by an orange number block: a numbered batch of files.

BLUE = (0x2B, 0x57, 0x97)
BLUE_EDGE = (0x1A, 0x3A, 0x6B)
WHITE = (0xFF, 0xFF, 0xFF)
FOLD = (0xC8, 0xD4, 0xE6)
LINE = (0x8A, 0x99, 0xB0)
ORANGE = (0xF0, 0x8C, 0x1E)


def draw_icon():
    """Returns rows top to bottom of (r, g, b) or None for transparent."""
    pixels = [[None] * SIZE for _ in range(SIZE)]

    def inside_tile(x, y):
        # A rounded square from 1 to 30 with corners of radius 4.
        if not (1 <= x <= 30 and 1 <= y <= 30):
            return False
        for cx, cy in ((5, 5), (26, 5), (5, 26), (26, 26)):
            in_corner_x = (x < 5) if cx == 5 else (x > 26)
            in_corner_y = (y < 5) if cy == 5 else (y > 26)
            if in_corner_x and in_corner_y:
                return (x - cx) ** 2 + (y - cy) ** 2 <= 16
        return True

    for y in range(SIZE):
        for x in range(SIZE):
            if inside_tile(x, y):
                edge = not all(inside_tile(x + dx, y + dy)
                               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                pixels[y][x] = BLUE_EDGE if edge else BLUE

    # The sheet, 18 wide and 22 high, with a folded top-right corner.
    left, top, right, bottom = 7, 5, 24, 26
    fold = 5
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - (right - fold) > y - top:
                continue  # cut away by the fold
            pixels[y][x] = WHITE
    for i in range(fold + 1):  # the folded flap
        for x in range(right - fold, right - fold + i + 1):
            pixels[top + i][x] = FOLD

    # Three numbered names.
    for row in range(3):
        y = 10 + row * 5
        for dy in range(3):
            for dx in range(3):
                pixels[y + dy][9 + dx] = ORANGE
            for x in range(14, 22 - (2 if row == 1 else 0)):
                if dy == 1:
                    pixels[y + dy][x] = LINE
    return pixels


def icon_file(pixels):
    # BITMAPINFOHEADER with double height (colour image + AND mask), rows
    # bottom up; 24-bit rows of 96 bytes and mask rows of 4 bytes need no
    # padding.
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            pixel = pixels[y][x]
            if pixel is None:
                colour += b'\0\0\0'
                bits |= 1 << (31 - x)
            else:
                r, g, b = pixel
                colour += bytes((b, g, r))
        mask += struct.pack('>I', bits)
    image = header + bytes(colour) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


# ---- the cursor -------------------------------------------------------------
# A pointing hand: X is the black outline, o the white inside, . transparent.
# The tip of the index finger is the hot spot (6, 0).

HAND = """
......XX........................
.....XooX.......................
.....XooX.......................
.....XooX.......................
.....XooX.......................
.....XooXXX.....................
.....XooXooXXX..................
.....XooXooXooXX................
.....XooXooXooXoX...............
.XX..XooXooXooXooX..............
XooX.XoooooooooooX..............
XoooXXoooooooooooX..............
.XooXXoooooooooooX..............
..XooXoooooooooooX..............
..XoooooooooooooX...............
...XooooooooooooX...............
...XoooooooooooX................
....XooooooooooX................
....XoooooooooX.................
.....XooooooooX.................
.....XooooooooX.................
.....XXXXXXXXXX.................
"""
HOT_SPOT = (6, 0)


def cursor_file():
    rows = [line for line in HAND.strip().splitlines()]
    assert all(len(line) == SIZE for line in rows), 'every row is 32 wide'
    rows += ['.' * SIZE] * (SIZE - len(rows))
    assert rows[HOT_SPOT[1]][HOT_SPOT[0]] == 'X', 'the hot spot lies on the fingertip'
    # Monochrome: the XOR bit is 1 for white; the AND bit is 1 where the
    # screen shows through.
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))
    xor = bytearray()
    mask = bytearray()
    for line in reversed(rows):
        xor_bits = and_bits = 0
        for x, c in enumerate(line):
            if c == 'o':
                xor_bits |= 1 << (31 - x)
            elif c == '.':
                and_bits |= 1 << (31 - x)
        xor += struct.pack('>I', xor_bits)
        mask += struct.pack('>I', and_bits)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    with open(os.path.join(HERE, 'tovik.ico'), 'wb') as f:
        f.write(icon_file(draw_icon()))
    with open(os.path.join(HERE, 'hand.cur'), 'wb') as f:
        f.write(cursor_file())


if __name__ == '__main__':
    main()
