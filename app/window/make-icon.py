#!/usr/bin/env python3
"""Draws Trevolo's icon, 32 x 32 at 24 bits per pixel, into Trevolo.ico.

Three stacked pages with an arrow leaving the front one: many pages going
out at once. Run it again after changing the picture; the .ico is kept in
the repository so the build needs no Python.
"""
import struct
import sys

SIZE = 32
CLEAR = None
INK = (40, 40, 96)
PAPER = (255, 255, 255)
SHADE = (200, 208, 228)
ARROW = (224, 96, 16)
ARROW_EDGE = (150, 56, 0)

pixels = [[CLEAR] * SIZE for _ in range(SIZE)]


def rect(x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            pixels[y][x] = colour


def page(x0, y0, fill):
    # A page of 15 x 19 with a folded corner at the top right.
    x1, y1 = x0 + 14, y0 + 18
    rect(x0, y0, x1, y1, INK)
    rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)
    for i in range(4):
        for j in range(4 - i):
            pixels[y0 + i][x1 - j] = CLEAR
        pixels[y0 + i][x1 - (4 - i)] = INK
    rect(x1 - 4, y0 + 4, x1, y0 + 4, INK)
    rect(x1 - 4, y0, x1 - 4, y0 + 4, INK)


page(1, 1, SHADE)
page(5, 4, SHADE)
page(9, 7, PAPER)
for line in range(4):
    rect(12, 13 + 3 * line, 19 if line % 2 else 20, 13 + 3 * line, SHADE)

# Arrow pointing right, out of the front page.
for y in range(17, 32):
    for x in range(15, 32):
        inside_shaft = 22 <= y <= 26 and 15 <= x <= 23
        inside_head = x >= 23 and abs(y - 24) <= min(6, 30 - x)
        if inside_shaft or inside_head:
            pixels[y][x] = ARROW
for y in range(SIZE):
    for x in range(SIZE):
        if pixels[y][x] == ARROW:
            near = [pixels[y + dy][x + dx] if 0 <= y + dy < SIZE and 0 <= x + dx < SIZE else CLEAR
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
            if any(n != ARROW and n != ARROW_EDGE for n in near):
                pixels[y][x] = ARROW_EDGE

# Icon image: BITMAPINFOHEADER, colour rows bottom up (BGR), then the AND mask.
header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 24, 0, 0, 0, 0, 0, 0)
colour = bytearray()
mask = bytearray()
for y in reversed(range(SIZE)):
    bits = 0
    for x in range(SIZE):
        p = pixels[y][x]
        colour += bytes((0, 0, 0)) if p is CLEAR else bytes((p[2], p[1], p[0]))
        bits = (bits << 1) | (1 if p is CLEAR else 0)
    mask += struct.pack('>I', bits)
image = header + colour + mask
icon = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 24, len(image), 22) + image

out = sys.argv[1] if len(sys.argv) > 1 else 'Trevolo.ico'
with open(out, 'wb') as f:
    f.write(icon)
