#!/usr/bin/env python3
"""Draws the program's icon, a tuning fork giving off sound, and writes
res/kestrune.ico: three 16-colour images (32x32, 16x16, 48x48).

Run it again after changing the drawing: python3 tools/make_icon.py
Standard library only, so it runs anywhere Python 3 does.
"""
import math
import os
import struct

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
NAVY, SILVER, GRAY, RED, BLUE, TEAL = 4, 7, 8, 9, 12, 6
TRANSPARENT = None
SIZES = (32, 16, 48)
SUBSAMPLES = 4


def fork_part(x, y):
    """Palette index of the drawing at (x, y) in 0..1 coordinates, or None."""
    # Two tines joined by a U-shaped bend, then the stem and its knob.
    cx, bend_y = 0.5, 0.52
    r = math.hypot(x - cx, y - bend_y)
    in_tine = 0.08 <= y <= bend_y and (0.29 <= x <= 0.40 or 0.60 <= x <= 0.71)
    in_bend = y > bend_y and 0.10 <= r <= 0.21
    in_stem = 0.445 <= x <= 0.555 and 0.70 <= y <= 0.90
    in_knob = math.hypot(x - cx, y - 0.90) <= 0.075
    if in_tine or in_bend or in_stem or in_knob:
        # A light edge on the left side of each part reads as polished metal.
        shade_left = (in_tine and (0.29 <= x <= 0.33 or 0.60 <= x <= 0.64)) or \
                     (in_stem and x <= 0.48)
        return SILVER if shade_left else NAVY
    return None


def wave_part(x, y, size):
    """Sound arcs on both sides of the tines; one arc only at the smallest size."""
    cx, cy = 0.5, 0.30
    r = math.hypot(x - cx, y - cy)
    angle = math.degrees(math.atan2(y - cy, abs(x - cx)))
    if abs(angle) > 32:
        return None
    arcs = ((0.42, 0.05),) if size <= 16 else ((0.34, 0.035), (0.46, 0.035))
    for radius, half_width in arcs:
        if abs(r - radius) <= half_width:
            return RED
    return None


def pixel_index(px, py, size):
    """Majority colour of the pixel's subsamples, or None when mostly empty."""
    counts = {}
    for sy in range(SUBSAMPLES):
        for sx in range(SUBSAMPLES):
            x = (px + (sx + 0.5) / SUBSAMPLES) / size
            y = (py + (sy + 0.5) / SUBSAMPLES) / size
            index = fork_part(x, y)
            if index is None:
                index = wave_part(x, y, size)
            counts[index] = counts.get(index, 0) + 1
    filled = sum(n for k, n in counts.items() if k is not None)
    if filled * 10 < SUBSAMPLES * SUBSAMPLES * 4:
        return None
    return max((n, k) for k, n in counts.items() if k is not None)[1]


def render(size):
    return [[pixel_index(px, py, size) for px in range(size)] for py in range(size)]


def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def dib(size, pixels):
    """One icon image: header, palette, 4-bit colour rows, 1-bit mask rows."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for py in reversed(range(size)):  # bottom-up rows
        row = pixels[py]
        line = bytearray(row_bytes(size * 4))
        bits = bytearray(row_bytes(size))
        for px, index in enumerate(row):
            value = 0 if index is None else index
            if px % 2 == 0:
                line[px // 2] |= value << 4
            else:
                line[px // 2] |= value
            if index is None:
                bits[px // 8] |= 0x80 >> (px % 8)
        colour += line
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def main():
    images = [dib(size, render(size)) for size in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, 'res', 'kestrune.ico'), 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
