#!/usr/bin/env python3
"""Draws the program's smileys and writes them with names.txt.

Each smiley is an animation strip of square frames, as wide as the strip is
high, saved as a 16-bit BMP (RGB565, BI_BITFIELDS) in bin/, with its mask
(NAME_mask.bmp: the blue channel is the opacity, 0..31). The message text
shows frame after frame, the last one longest, so the last frame is the
smiley at rest and the ones before it are its little movement. Frames are
14 pixels square, about the height of a capital letter and a half of the
body text, and are smoothed by sampling each pixel several times. Each strip
is also drawn at twice and four times the size (NAME@2x.bmp, NAME@4x.bmp,
with their masks NAME@2x_mask.bmp, NAME@4x_mask.bmp), which screens of 192
and 384 dots per inch show pixel for pixel at the same place and size.

names.txt maps each picture to the codes that show it. Codes are matched
first by the picture's name in alphabetical order, then left to right, and
the first match wins; none of them may occur inside a link (so no ":/").

The faces are drawn from code so they can be reviewed and changed as text;
the bitmaps are kept beside this script, so the build needs no Python.
Usage: make_smileys.py [FOLDER]   (default: the script's folder)
"""
import math
import os
import struct
import sys

SIDE = 14
SAMPLES_AT = {1: 4, 2: 3, 4: 2}  # samples per pixel each way, by drawing scale
C = SIDE / 2

YELLOW = (255, 204, 51)
RIM = (222, 150, 20)
INK = (70, 42, 16)
RED = (222, 52, 64)
PINK = (246, 140, 140)
BLUE = (80, 160, 230)
WHITE = (255, 255, 255)
TONGUE = (232, 96, 110)
ANGRY = (246, 130, 60)
DEVIL = (168, 72, 200)
GOLD = (250, 196, 40)
HALO = (196, 140, 20)
SKIN = (250, 196, 120)


# ---- Shapes over frame coordinates (0..SIDE) ----

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def line(points, width):
    half = width / 2

    def near(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0 if length == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length))
            if (ax + t * dx - x) ** 2 + (ay + t * dy - y) ** 2 <= half * half:
                return True
        return False
    return near


def arc(cx, cy, r, start, end, width, steps=10):
    """A stroked arc; angles in degrees, 0 pointing right, 90 pointing down."""
    points = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
              for a in [start + (end - start) * i / steps for i in range(steps + 1)]]
    return line(points, width)


def polygon(points):
    def inside(x, y):
        hit = False
        for i in range(len(points)):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def clip(shape, keep):
    return lambda x, y: shape(x, y) and keep(x, y)


def moved(layers, dx, dy):
    return [((lambda s: lambda x, y: s(x - dx, y - dy))(s), c) for s, c in layers]


# ---- Face parts ----

def head(colour=YELLOW):
    return [(disc(C, C, 6.9), RIM), (disc(C, C, 6.1), colour)]


def eyes(kind="open", dy=0):
    y = 5.4 + dy
    if kind == "open":
        return [(ellipse(4.9, y, 0.9, 1.3), INK), (ellipse(9.1, y, 0.9, 1.3), INK)]
    if kind == "closed":
        return [(line([(3.9, y + 0.4), (5.9, y + 0.4)], 0.9), INK),
                (line([(8.1, y + 0.4), (10.1, y + 0.4)], 0.9), INK)]
    if kind == "wink":
        return [(ellipse(4.9, y, 0.9, 1.3), INK), (arc(9.1, y + 1.2, 1.2, 200, 340, 0.9), INK)]
    if kind == "happy":  # ^ ^
        return [(arc(4.9, y + 1.0, 1.3, 200, 340, 0.9), INK),
                (arc(9.1, y + 1.0, 1.3, 200, 340, 0.9), INK)]
    if kind == "laugh":  # > <
        return [(line([(3.8, y - 1.1), (5.8, y), (3.8, y + 1.1)], 0.9), INK),
                (line([(10.2, y - 1.1), (8.2, y), (10.2, y + 1.1)], 0.9), INK)]
    if kind == "angry":
        return [(ellipse(4.9, y + 0.4, 0.9, 1.0), INK), (ellipse(9.1, y + 0.4, 0.9, 1.0), INK),
                (line([(3.4, y - 1.8), (6.0, y - 0.7)], 0.9), INK),
                (line([(10.6, y - 1.8), (8.0, y - 0.7)], 0.9), INK)]
    if kind == "flat":  # - -
        return [(line([(3.6, y + 0.3), (6.2, y + 0.3)], 1.0), INK),
                (line([(7.8, y + 0.3), (10.4, y + 0.3)], 1.0), INK)]
    if kind == "wide":
        return [(ellipse(4.9, y, 1.1, 1.5), INK), (ellipse(9.1, y, 1.1, 1.5), INK),
                (disc(5.2, y - 0.5, 0.4), WHITE), (disc(9.4, y - 0.5, 0.4), WHITE)]
    raise ValueError(kind)


def mouth(kind, open_=0.0):
    if kind == "smile":
        return [(arc(C, 7.2, 3.4, 30, 150, 1.0), INK)]
    if kind == "sad":
        return [(arc(C, 12.0, 3.0, 215, 325, 1.0), INK)]
    if kind == "grin":
        return [(clip(disc(C, 7.6, 3.6 + open_), lambda x, y: y >= 8.0), INK),
                (clip(disc(C, 7.6, 2.8 + open_), lambda x, y: 8.3 <= y <= 9.2), WHITE)]
    if kind == "o":
        return [(ellipse(C, 10.0, 1.3 + open_, 1.5 + open_), INK)]
    if kind == "flat":
        return [(line([(4.8, 10.0), (9.2, 10.0)], 1.0), INK)]
    if kind == "wavy":
        return [(line([(4.2, 10.3), (5.6, 9.5), (7.0, 10.3), (8.4, 9.5), (9.8, 10.3)], 0.9), INK)]
    if kind == "kiss":
        return [(arc(7.4 + open_, 8.9, 0.9, 270, 450, 0.9), INK),
                (arc(7.4 + open_, 10.6, 0.9, 270, 450, 0.9), INK)]
    raise ValueError(kind)


def tongue(length):
    return mouth("smile") + [(clip(ellipse(8.2, 10.0 + length / 2, 1.4, 1.2 + length / 2),
                                   lambda x, y: y >= 9.8), TONGUE)]


def cheeks():
    return [(ellipse(3.4, 8.6, 1.2, 0.8), PINK), (ellipse(10.6, 8.6, 1.2, 0.8), PINK)]


def heart(cx, cy, s, colour=RED):
    lobes = [disc(cx - 0.5 * s, cy - 0.25 * s, 0.55 * s), disc(cx + 0.5 * s, cy - 0.25 * s, 0.55 * s)]
    point = polygon([(cx - 1.02 * s, cy - 0.05 * s), (cx + 1.02 * s, cy - 0.05 * s), (cx, cy + 1.05 * s)])
    return [(lambda x, y: any(l(x, y) for l in lobes) or point(x, y), colour)]


def face(eye="open", mouth_kind="smile", open_=0.0, colour=YELLOW, extra=()):
    return head(colour) + eyes(eye) + mouth(mouth_kind, open_) + list(extra)


# ---- The set: name -> (codes, frames); the last frame is the face at rest ----

def sunglasses(glint):
    lens = [(ellipse(4.6, 5.6, 2.2, 1.5), INK), (ellipse(9.4, 5.6, 2.2, 1.5), INK),
            (line([(1.2, 4.8), (12.8, 4.8)], 0.8), INK)]
    if glint:
        lens.append((line([(3.4 + glint, 6.2), (4.4 + glint, 5.0)], 0.5), WHITE))
    return head() + lens + mouth("smile")


def tear(y):
    return [(polygon([(3.6, y - 1.4), (2.6, y + 0.4), (4.6, y + 0.4)]), BLUE),
            (disc(3.6, y + 0.5, 1.0), BLUE)]


def horns():
    return [(polygon([(2.0, 0.4), (2.8, 4.0), (5.0, 2.2)]), DEVIL),
            (polygon([(12.0, 0.4), (11.2, 4.0), (9.0, 2.2)]), DEVIL)]


def halo(bright):
    outer, inner = ellipse(C, 1.5, 3.8, 1.4), ellipse(C, 1.5, 2.8, 0.6)
    return [(lambda x, y: outer(x, y) and not inner(x, y), GOLD if bright else HALO)]


def angel(bright):
    # The face sits a little lower to leave room for the halo.
    return moved(face("happy", "smile"), 0, 1.2) + halo(bright)


def thumb(dy):
    hand = [(polygon([(3.0, 6.6 + dy), (5.6, 6.6 + dy), (7.2, 1.6 + dy), (8.8, 2.0 + dy),
                      (8.4, 5.8 + dy), (11.8, 5.8 + dy), (12.2, 7.0 + dy), (11.4, 12.6 + dy),
                      (5.6, 12.6 + dy), (3.0, 12.2 + dy)]), SKIN),
            (line([(5.6, 6.8 + dy), (5.6, 12.4 + dy)], 0.7), RIM),
            (line([(8.6, 8.2 + dy), (11.6, 8.2 + dy)], 0.6), RIM),
            (line([(8.6, 10.3 + dy), (11.4, 10.3 + dy)], 0.6), RIM)]
    return [(polygon([(1.0, 6.0 + dy), (3.2, 6.0 + dy), (3.2, 13.0 + dy), (1.0, 13.0 + dy)]), BLUE)] + hand


def broken(gap):
    whole = heart(C, 6.2, 5.4)[0][0]
    crack = [(5.6, 1.0), (7.6, 4.6), (6.0, 7.0), (8.0, 9.8), (7.0, 14.0)]
    left = polygon([(0, 0)] + crack + [(0, 14)])
    return [(lambda x, y: whole(x + gap, y) and left(x + gap, y), RED),
            (lambda x, y: whole(x - gap, y) and not left(x - gap, y), RED)]


SMILEYS = {
    "angel": ("O:) O:-)", [angel(True), angel(False)]),
    "angry": (">:( >:-(", [face("angry", "sad", colour=ANGRY),
                           moved(face("angry", "sad", colour=ANGRY), 0.6, 0),
                           face("angry", "sad", colour=ANGRY)]),
    "blush": (":$ :-$", [face("happy", "smile", extra=cheeks()), face("happy", "smile"),
                         face("happy", "smile", extra=cheeks())]),
    "broken_heart": ("</3", [heart(C, 6.2, 5.4), broken(0.6), broken(1.0)]),
    "confused": (":-/", [face("open", "wavy"), moved(face("open", "wavy"), 0.5, 0),
                                face("open", "wavy")]),
    "cool": ("B-) 8-)", [sunglasses(0), sunglasses(2.0), sunglasses(5.0), sunglasses(0)]),
    "cry": (":'( :'-( ;(", [face("closed", "sad", extra=tear(8.2)),
                            face("closed", "sad", extra=tear(10.0)),
                            face("closed", "sad", extra=tear(11.8)),
                            face("closed", "sad")]),
    "devil": (">:) >:-)", [face("angry", "grin", extra=horns()),
                           face("angry", "grin", 0.4, extra=horns()),
                           face("angry", "grin", extra=horns())]),
    "grin": (":D :-D =D", [face("open", "grin", 0.5), face("open", "grin")]),
    "happy": ("^_^ ^^", [face("happy", "smile"), face("happy", "grin"), face("happy", "smile")]),
    "heart": ("<3", [heart(C, 6.8, 5.0), heart(C, 6.8, 5.8), heart(C, 6.8, 5.0)]),
    "kiss": (":* :-*", [face("closed", "kiss", 0.3) + heart(11.6, 3.4, 1.8),
                        face("closed", "kiss", 0.3) + heart(12.0, 2.4, 2.2),
                        face("open", "kiss")]),
    "laugh": ("xD XD", [face("laugh", "grin", 0.6), moved(face("laugh", "grin", 0.6), 0, -0.8),
                        face("laugh", "grin", 0.6)]),
    "like": ("(y) (Y)", [thumb(-0.8), thumb(0)]),
    "neutral": (":| :-|", [face("open", "flat"), face("closed", "flat"), face("open", "flat")]),
    "sad": (":( :-( =(", [face("open", "sad"), face("closed", "sad"), face("open", "sad")]),
    "smile": (":) :-) =)", [face("open", "smile"), face("closed", "smile"), face("open", "smile")]),
    "surprised": (":O :-O :o :-o", [face("wide", "o", 0.5), face("wide", "o", 0.2),
                                    face("wide", "o", 0.5)]),
    "tired": ("-_- |-)", [face("flat", "flat"), moved(face("flat", "flat"), 0, 0.5),
                          face("flat", "flat")]),
    "tongue": (":P :-P :p :-p", [head() + eyes("wink") + tongue(1.2), head() + eyes("open") + tongue(2.2),
                                 head() + eyes("open") + tongue(1.2)]),
    "wink": (";) ;-)", [face("wink", "smile"), face("open", "smile"), face("wink", "smile")]),
}


# ---- Rendering and files ----

def render(layers, scale=1):
    """The frame's pixels (colour or None) and opacities (0..31), drawn scale
    times the frame's size."""
    pixels, alpha = [], []
    samples = SAMPLES_AT[scale]
    step = 1 / (scale * samples)
    offsets = [(i + 0.5) * step for i in range(samples)]
    for py in range(SIDE * scale):
        for px in range(SIDE * scale):
            hits = []
            for oy in offsets:
                for ox in offsets:
                    for shape, colour in reversed(layers):
                        if shape(px / scale + ox, py / scale + oy):
                            hits.append(colour)
                            break
            covered = len(hits)
            total = samples * samples
            if covered:
                pixels.append(tuple(round(sum(h[i] for h in hits) / covered) for i in range(3)))
            else:
                pixels.append(None)
            alpha.append(round(31 * covered / total))
    return pixels, alpha


def pack565(c):
    return ((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3)


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


def write_strip(path, frames, scale):
    """PATH.bmp and PATH_mask.bmp: the frames side by side, drawn at scale."""
    side = SIDE * scale
    rendered = [render(f, scale) for f in frames]

    def pixel(x, y):
        colour = rendered[x // side][0][y * side + x % side]
        return pack565(colour) if colour else pack565((255, 0, 255))

    def mask(x, y):
        return rendered[x // side][1][y * side + x % side]

    write_bmp565(path + ".bmp", side * len(frames), side, pixel)
    write_bmp565(path + "_mask.bmp", side * len(frames), side, mask)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(os.path.join(folder, "bin"), exist_ok=True)
    for name, (_, frames) in SMILEYS.items():
        for scale, suffix in ((1, ""), (2, "@2x"), (4, "@4x")):
            write_strip(os.path.join(folder, "bin", name + suffix), frames, scale)
    with open(os.path.join(folder, "names.txt"), "w", newline="\n") as out:
        for name, (codes, _) in sorted(SMILEYS.items()):
            out.write(name + "=" + codes + "\n")


if __name__ == "__main__":
    main()
