#!/usr/bin/env python3
"""Converts 24-bit uncompressed BMP files (as the player writes them) to PNG,
with nothing but the standard library. Usage: bmp_to_png.py FILE.bmp...
Each FILE.bmp becomes FILE.png beside it and is removed."""
import os
import struct
import sys
import zlib


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits != 24 or compression != 0:
        raise ValueError(f"{path}: only uncompressed 24-bit BMP files")
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        source = y if top_down else height - 1 - y
        row = data[offset + source * stride : offset + source * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]  # BGR to RGB
        rows.append(bytes(rgb))
    return width, height, rows


def png_chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", header))
        f.write(png_chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(png_chunk(b"IEND", b""))


def main(paths):
    for path in paths:
        width, height, rows = read_bmp(path)
        write_png(os.path.splitext(path)[0] + ".png", width, height, rows)
        os.remove(path)


if __name__ == "__main__":
    main(sys.argv[1:])
