#!/usr/bin/env python3
"""Draws Parlyte's icon, one 32 x 32 image in the 16 standard colours: a
sheet of paper with four lines of text in four colours, one per language."""
import struct
import sys

PALETTE = [  # the 16 colours of the standard VGA palette, as (red, green, blue)
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, GREY, WHITE = 0, 8, 15
LINE_COLOURS = [9, 12, 14, 10]  # blue, red, yellow, green

def pixel(x, y):
    """Colour index at (x, y), y from the top, or None where transparent."""
    if not (4 <= x <= 27 and 1 <= y <= 30):
        return None
    if x in (4, 27) or y in (1, 30):
        return BLACK
    if x >= 21 and y <= 7 and x - 21 < 7 - y + 1:  # the folded corner
        return GREY
    line = (y - 7) // 5
    if 0 <= line < 4 and (y - 7) % 5 < 3 and 8 <= x <= (23 - 3 * (line % 2)):
        return LINE_COLOURS[line]
    return WHITE

def icon_bytes():
    size = 32
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bitmaps are stored bottom-up
        indices = [pixel(x, y) for x in range(size)]
        xor_rows.append(bytes(((indices[x] or 0) << 4) | (indices[x + 1] or 0) for x in range(0, size, 2)))
        mask = 0
        for x in range(size):
            mask = (mask << 1) | (indices[x] is None)
        and_rows.append(struct.pack(">I", mask))
    image = (struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
             + colours + b"".join(xor_rows) + b"".join(and_rows))
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image

if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "parlyte.ico", "wb") as out:
        out.write(icon_bytes())
