#!/usr/bin/env python3
"""Writes the test smileys: animation strips of square 16x16 frames as 16-bit
BMPs (RGB565, BI_BITFIELDS), each with its mask ("_mask": the blue channel is
the opacity, 0..31), and names.txt, which maps each picture to its codes.

The faces are drawn from code so they can be reviewed and changed as text.
The bitmaps are kept beside this script so the build needs no Python.

Usage: make_smileys.py [FOLDER]   (default: the script's folder)
"""
import os
import struct
import sys

SIDE = 16


def pack565(r, g, b):
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)


def write_bmp565(path, width, height, pixel):
    stride = (width * 2 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = b"".join(struct.pack("<H", pixel(x, y)) for x in range(width))
        rows.append(row + b"\x00" * (stride - len(row)))
    data = b"".join(rows)
    offset = 14 + 40 + 12
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 16, 3, len(data), 2835, 2835, 0, 0)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    with open(path, "wb") as out:
        out.write(header + info + masks + data)


def inside(x, y, r=7.5):
    dx, dy = x - 7.5, y - 7.5
    return dx * dx + dy * dy <= r * r


def face(frames, features):
    """features(frame, x, y) -> True where the frame draws a dark feature."""
    def pixel(x, y):
        k, fx = divmod(x, SIDE)
        if not inside(fx, y):
            return pack565(255, 0, 255)
        if features(k, fx, y):
            return pack565(64, 32, 0)
        return pack565(255, 208, 0)

    def mask(x, y):
        fx = x % SIDE
        if inside(fx, y, 6.5):
            return 31
        return 16 if inside(fx, y) else 0

    return SIDE * frames, pixel, mask


def eyes(k, x, y, wink=False):
    left = x in (4, 5) and y in (4, 5, 6)
    right = x in (10, 11) and (y == 6 if wink and k % 2 else y in (4, 5, 6))
    return left or right


def smile(k, x, y):
    mouth = y == 11 and 4 <= x <= 11 or y == 10 and x in (3, 12)
    return eyes(k, x, y, wink=False) or (mouth if k != 1 else (y == 11 and 5 <= x <= 10))


def wink(k, x, y):
    return eyes(k, x, y, wink=True) or (y == 11 and 5 <= x <= 10)


def sad(k, x, y):
    return eyes(k, x, y) or (y == 11 and 5 <= x <= 10) or (y == 12 and x in (4, 11))


SMILEYS = {
    # name: (frames, features, codes)
    "smile": (3, smile, ":) :-)"),
    "wink": (2, wink, ";) ;-)"),
    "sad": (1, sad, ":("),
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(os.path.join(folder, "bin"), exist_ok=True)
    for name, (frames, features, _) in SMILEYS.items():
        width, pixel, mask = face(frames, features)
        write_bmp565(os.path.join(folder, "bin", name + ".bmp"), width, SIDE, pixel)
        write_bmp565(os.path.join(folder, "bin", name + "_mask.bmp"), width, SIDE, mask)
    with open(os.path.join(folder, "names.txt"), "w", newline="\n") as out:
        for name, (_, _, codes) in sorted(SMILEYS.items()):
            out.write(name + "=" + codes + "\n")


if __name__ == "__main__":
    main()
