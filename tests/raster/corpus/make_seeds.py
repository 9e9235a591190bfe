#!/usr/bin/env python3
"""Writes the small PNG files used as fuzzing seeds and as embedded test
resources. Run from this folder; the outputs are committed."""
import struct
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, depth, colour_type, rows, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# 2 x 2 RGBA: opaque red, half-transparent green, transparent blue, opaque white.
write("rgba-2x2.png", png(2, 2, 8, 6, [bytes([255, 0, 0, 255, 0, 255, 0, 128]),
                                       bytes([0, 0, 255, 0, 255, 255, 255, 255])]))
# 3 x 1 RGB.
write("rgb-3x1.png", png(3, 1, 8, 2, [bytes([10, 20, 30, 40, 50, 60, 70, 80, 90])]))
# 4 x 1 palette with transparency for the first entry only.
palette = chunk(b"PLTE", bytes([1, 2, 3, 4, 5, 6])) + chunk(b"tRNS", bytes([0]))
write("palette-trns-4x1.png", png(4, 1, 8, 3, [bytes([0, 1, 1, 0])], palette))
# 8 x 1 one-bit grey.
write("gray1-8x1.png", png(8, 1, 1, 0, [bytes([0b10110000])]))
# 2 x 1 sixteen-bit grey with alpha.
write("gray-alpha16-2x1.png", png(2, 1, 16, 4, [bytes([0x12, 0x34, 0xFF, 0xFF, 0xAB, 0xCD, 0x80, 0x00])]))
