#!/usr/bin/env python3
"""Writes the test skin's pictures (small RGB PNGs) into this folder.

The pictures are drawn from code so that they can be reviewed and changed as
text; the PNGs are kept beside this script so the build needs no Python for
them. Magenta (255, 0, 255) is the transparent key colour of 16-bit skins.
Colours are chosen exactly representable in RGB565; the green channel's
lowest 565 bit is the "opaque" flag of the shading blits, so translucent
areas keep it clear and solid ones set it. Pictures meant for the shading
blits ("alpha" in the skin) store their translucent parts pre-darkened.

Usage: make_pictures.py [FOLDER]   (default: the script's folder)
"""
import os
import struct
import sys
import zlib

KEY = (255, 0, 255)


def rgb565(r, g, b, opaque=False):
    """The nearest colour that survives RGB565, with the opaque flag set or clear."""
    r5, g6, b5 = r >> 3, g >> 2, b >> 3
    g6 = (g6 | 1) if opaque else (g6 & ~1)
    widen5 = lambda v: (v << 3) | (v >> 2)
    widen6 = lambda v: (v << 2) | (v >> 4)
    return (widen5(r5), widen6(g6), widen5(b5))


def write_png(path, width, height, pixel):
    rows = b"".join(
        b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def rounded(size, corner, border, fill_top, fill_bottom, opaque):
    """A rounded box: key-coloured corners, a one-pixel border, a vertical gradient."""
    def pixel(x, y):
        # Distance from the nearest corner's centre decides the rounding.
        cx = corner - 0.5 if x < corner else (size - corner - 0.5 if x >= size - corner else x)
        cy = corner - 0.5 if y < corner else (size - corner - 0.5 if y >= size - corner else y)
        d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        if d > corner:
            return KEY
        if d > corner - 1.2 or x in (0, size - 1) or y in (0, size - 1):
            return rgb565(*border, opaque=True)
        f = y / (size - 1)
        mix = [round(a + (b - a) * f) for a, b in zip(fill_top, fill_bottom)]
        return rgb565(*mix, opaque=opaque)
    return pixel


def icon(x, y):
    """A 16 x 16 ring with a dot, on the key colour."""
    d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
    if 5.5 <= d < 7.5:
        return rgb565(200, 40, 40, opaque=False)
    if d < 2.5:
        return rgb565(40, 40, 200, opaque=True)
    return KEY


def avatar(x, y):
    """A 40 x 40 round portrait: a light head and shoulders on a calm blue disc."""
    d = ((x - 19.5) ** 2 + (y - 19.5) ** 2) ** 0.5
    if d > 19.5:
        return KEY
    head = ((x - 19.5) ** 2 + (y - 15.5) ** 2) ** 0.5 < 7
    shoulders = ((x - 19.5) ** 2 / 1.6 + (y - 38) ** 2) ** 0.5 < 14
    if head or shoulders:
        return rgb565(232, 238, 248, opaque=True)
    return rgb565(112, 144, 200, opaque=True)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(folder, "test_panel.png"), 24, 24,
              rounded(24, 6, (32, 64, 128), (200, 220, 248), (136, 168, 216), opaque=False))
    write_png(os.path.join(folder, "test_button.png"), 24, 24,
              rounded(24, 8, (24, 96, 40), (168, 232, 176), (88, 184, 104), opaque=True))
    write_png(os.path.join(folder, "test_button_pressed.png"), 24, 24,
              rounded(24, 8, (24, 96, 40), (56, 136, 72), (120, 200, 136), opaque=True))
    write_png(os.path.join(folder, "test_icon.png"), 16, 16, icon)
    write_png(os.path.join(folder, "test_avatar.png"), 40, 40, avatar)
    write_png(os.path.join(folder, "test_card.png"), 24, 24,
              rounded(24, 8, (200, 204, 212), (255, 255, 255), (244, 246, 250), opaque=True))
    # Drawn through the shading blits, which add the picture to a share of
    # what lies below: its translucent inside is stored pre-darkened to half
    # (every channel below 128), its border is opaque.
    write_png(os.path.join(folder, "test_glass.png"), 24, 24,
              rounded(24, 6, (240, 240, 255), (104, 120, 124), (48, 72, 112), opaque=False))


if __name__ == "__main__":
    main()
