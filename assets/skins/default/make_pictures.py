#!/usr/bin/env python3
"""Draws the pictures of the shipped skins and writes them as PNGs: the
default skin's into default/, the dark skin's into dark/ (the same pictures
in another palette) and the splash skin's into splash/.

Every picture is described once, in design pixels, as a stack of shapes
(rounded boxes, circles, strokes, polygons) and rendered three times: at 1x
as NAME.png, and at twice and four times the size as NAME@2x.png and
NAME@4x.png for screens of 192 and 384 dots per inch. Edges are smoothed by
sampling each pixel several times.

Skins draw in 16 bits, with magenta (255, 0, 255) as the transparent key
colour, so a smoothed edge cannot fade into an unknown background. A picture
therefore says what it is drawn over:
  - "under": a known colour (a bubble on the chat's page, an icon on the
    header): edges are mixed with it and the picture is opaque;
  - "key": corners become the key colour; edge pixels that are mostly
    covered are mixed with "under" (the colour the picture usually lies on);
  - "glass": for cards over an unknown, dimmed screen, drawn with the skin's
    half shade ("alpha" 128): half-covered edge pixels are stored at half
    brightness with the opaque flag clear, so they add to half of what lies
    below; the shadow is black with the flag clear, which halves it.
Colours are rounded to what RGB565 keeps, and the lowest green bit (the
opaque flag of the shading blits) is set on every solid pixel.

The PNGs are kept in the repository; the build does not run this script.
Usage: make_pictures.py [SKINS]   (default: the folder of the skin folders)
"""
import math
import os
import struct
import sys
import zlib

KEY = (255, 0, 255)

class Palette:
    """The colours of one skin, by role, shared with make_skin.py. The skin's
    pictures are named PREFIX_..., as every shipped skin's pictures share one
    folder."""
    def __init__(self, name, **roles):
        self.name = name
        self.prefix = name + "_"
        self.__dict__.update(roles)


# The calm light theme: white pages, one blue accent.
LIGHT = Palette(
    "default",
    page=(255, 255, 255),        # form backgrounds, rows and bars
    card=(255, 255, 255),        # menus and dialogs over the dimmed screen
    ink=(28, 32, 40),
    muted=(120, 128, 140),
    line=(222, 226, 232),
    disabled=(172, 178, 188),
    red=(208, 52, 52),
    red_disabled=(232, 172, 172),
    accent=(36, 116, 196),       # accent text, links and ticks on the page
    fill=(36, 116, 196),         # accent surfaces that carry white text or icons
    fill_pressed=(24, 88, 160),
    on_fill=(255, 255, 255),
    tint=(212, 230, 250),
    header=(36, 116, 196),
    header_pressed=(24, 88, 160),
    header_ink=(255, 255, 255),
    header_sub=(204, 224, 246),
    bubble_in=(236, 239, 243),
    bubble_out=(212, 230, 250),
    field=(241, 243, 246),
    field_line=(214, 219, 226),
    day_pill=(228, 233, 239),
    day_pressed=(222, 226, 232),
    avatar=(214, 228, 246),
    avatar_figure=(120, 160, 212),
    thumb=(176, 184, 194),
    check_line=(168, 176, 188),
    pressed_row=(230, 239, 250),
    selected_row=(240, 245, 252),
    ruler_pressed=(236, 241, 248),
    copy_bar=(244, 247, 251),
)

# The dark theme: slate greys rather than black, a lighter accent for text on
# them and a deeper one under white text, both readable. The surfaces are
# colours RGB565 keeps exactly (a dark grey rounded there turns green or
# blue), so the pictures' edges mixed with them meet the skin's colour
# elements without a seam.
DARK = Palette(
    "dark",
    page=(33, 36, 41),
    card=(41, 44, 49),
    ink=(231, 231, 239),
    muted=(148, 158, 165),
    line=(49, 52, 57),
    disabled=(99, 109, 115),
    red=(239, 109, 107),
    red_disabled=(132, 77, 74),
    accent=(107, 174, 247),
    fill=(49, 117, 189),
    fill_pressed=(33, 93, 156),
    on_fill=(255, 255, 255),
    tint=(33, 69, 107),
    header=(41, 44, 49),
    header_pressed=(57, 60, 66),
    header_ink=(239, 239, 247),
    header_sub=(156, 166, 181),
    bubble_in=(49, 52, 57),
    bubble_out=(33, 69, 107),
    field=(41, 44, 49),
    field_line=(66, 69, 74),
    day_pill=(41, 44, 49),
    day_pressed=(57, 60, 66),
    avatar=(49, 69, 82),
    avatar_figure=(115, 142, 181),
    thumb=(90, 101, 107),
    check_line=(107, 117, 123),
    pressed_row=(41, 52, 66),
    selected_row=(41, 44, 49),
    ruler_pressed=(41, 44, 49),
    copy_bar=(41, 44, 49),
)

PALETTES = (LIGHT, DARK)


def rgb565(c, opaque=True):
    """The nearest colour that survives RGB565, with the opaque flag set or clear."""
    c = [min(255, max(0, int(round(v)))) for v in c]
    r5, g6, b5 = c[0] >> 3, c[1] >> 2, c[2] >> 3
    g6 = (g6 | 1) if opaque else (g6 & ~1)
    r, g, b = (r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2)
    if (r, g, b) == KEY:  # never let a colour turn transparent by rounding
        g = 4
    return (r, g, b)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ---- Shapes: predicates over design coordinates ----

def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x >= x1 or y < y0 or y >= y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rrect4(x0, y0, x1, y1, radii):
    """A box with its own radius per corner: top-left, top-right, bottom-right, bottom-left."""
    tl, tr, br, bl = radii

    def inside(x, y):
        if x < x0 or x >= x1 or y < y0 or y >= y1:
            return False
        for r, cx, cy, left, top in ((tl, x0 + tl, y0 + tl, True, True),
                                     (tr, x1 - tr, y0 + tr, False, True),
                                     (br, x1 - br, y1 - br, False, False),
                                     (bl, x0 + bl, y1 - bl, True, False)):
            in_x = x < cx if left else x > cx
            in_y = y < cy if top else y > cy
            if in_x and in_y and (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                return False
        return True
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def stroke(points, width):
    """A polyline with round joins and caps."""
    half = width / 2
    segments = list(zip(points, points[1:]))

    def near(x, y, a, b):
        ax, ay = a
        bx, by = b
        dx, dy = bx - ax, by - ay
        length = dx * dx + dy * dy
        t = 0 if length == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half * half
    return lambda x, y: any(near(x, y, a, b) for a, b in segments)


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


SHADOW = "shadow"  # a layer colour: translucent black (glass pictures only)


# ---- Rendering ----

class Picture:
    def __init__(self, name, width, height, layers, mode="under", under=(255, 255, 255)):
        self.name, self.width, self.height = name, width, height
        self.layers, self.mode, self.under = layers, mode, under

    def pixels(self, scale):
        samples = {1: 5, 2: 3, 4: 2}[scale]
        step = 1 / (scale * samples)
        offsets = [(i + 0.5) * step for i in range(samples)]
        total = samples * samples
        rows = []
        for py in range(self.height * scale):
            row = []
            for px in range(self.width * scale):
                x0, y0 = px / scale, py / scale
                colours = []
                shadow = 0
                for oy in offsets:
                    for ox in offsets:
                        hit = None
                        for shape, colour in reversed(self.layers):
                            if shape(x0 + ox, y0 + oy):
                                hit = colour
                                break
                        if hit == SHADOW:
                            shadow += 1
                        elif hit is not None:
                            colours.append(hit)
                row.append(self.resolve(colours, shadow, total))
            rows.append(row)
        return rows

    def resolve(self, colours, shadow, total):
        covered = len(colours)
        if covered:
            mean = tuple(sum(c[i] for c in colours) / covered for i in range(3))
        if self.mode == "under":
            if not covered:
                return rgb565(self.under)
            return rgb565(mix(self.under, mean, covered / total))
        if self.mode == "key":
            if covered * 2 < total:
                return KEY
            return rgb565(mix(self.under, mean, covered / total))
        # glass
        if covered * 4 >= total * 3:
            return rgb565(mean)
        if covered * 4 >= total:
            return rgb565(tuple(c / 2 for c in mean), opaque=False)
        if shadow * 2 >= total:
            return (0, 0, 0)
        return KEY


def png_bytes(rows):
    """A PNG of rows of RGB (or, with four channels, RGBA) pixel tuples."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    colour_type = 6 if len(rows[0][0]) == 4 else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def write_if_changed(path, data):
    """Writes only what changed, so the build recompiles only those."""
    if isinstance(data, str):
        data = data.encode("utf-8")
    if os.path.exists(path):
        with open(path, "rb") as old:
            if old.read() == data:
                return
    with open(path, "wb") as out:
        out.write(data)


def write_png(path, rows):
    write_if_changed(path, png_bytes(rows))


# ---- Icons (drawn in a box of the given size, centred) ----

def back_arrow(s, colour):
    c = s / 2
    return [(stroke([(c + 6, c), (c - 6, c)], 2.2), colour),
            (stroke([(c - 1, c - 5.5), (c - 6.5, c), (c - 1, c + 5.5)], 2.2), colour)]


def menu_dots(s, colour):
    c = s / 2
    return [(union(circle(c, c - 6, 1.9), circle(c, c, 1.9), circle(c, c + 6, 1.9)), colour)]


def plus(s, colour, arm=6.5, width=2.2):
    c = s / 2
    return [(union(stroke([(c - arm, c), (c + arm, c)], width),
                   stroke([(c, c - arm), (c, c + arm)], width)), colour)]


def pencil(s, colour):
    c = s / 2
    # A slanted pencil: the body, its tip, and a line it writes.
    body = stroke([(c + 5, c - 6), (c - 3, c + 2)], 3.6)
    tip = polygon([(c - 4.6, c + 0.6), (c - 1.4, c + 3.8), (c - 6.2, c + 5.4)])
    return [(union(body, tip), colour)]


def send_arrow(s, colour):
    c = s / 2
    wing = polygon([(c - 7, c - 7), (c + 8, c), (c - 7, c + 7), (c - 4.5, c)])
    return [(wing, colour)]


def tick(cx, cy, size, width):
    return stroke([(cx - size * 0.5, cy), (cx - size * 0.15, cy + size * 0.35),
                   (cx + size * 0.5, cy - size * 0.35)], width)


def person(cx, cy, r, colour, within):
    """Head and shoulders, cut off by the shape they lie in."""
    head = circle(cx, cy - r * 0.22, r * 0.36)
    shoulders = ellipse(cx, cy + r * 0.78, r * 0.68, r * 0.52)
    return [(lambda x, y: within(x, y) and (head(x, y) or shoulders(x, y)), colour)]


def quill_geometry(cx, cy, size):
    """The program's mark: a feather laid across, its shaft ending in a nib.
    Returns the vane's outline, the shaft's two ends and the shaft's width
    (the desktop icon draws the same mark)."""
    vane = [(cx + size * 0.45, cy - size * 0.45), (cx + size * 0.10, cy - size * 0.32),
            (cx - size * 0.20, cy + size * 0.02), (cx - size * 0.28, cy + size * 0.22),
            (cx - size * 0.05, cy + size * 0.10), (cx + size * 0.28, cy - size * 0.12)]
    shaft = [(cx + size * 0.40, cy - size * 0.40), (cx - size * 0.38, cy + size * 0.38)]
    return vane, shaft, size * 0.06


def quill(cx, cy, size, colour):
    vane, shaft, width = quill_geometry(cx, cy, size)
    return [(union(polygon(vane), stroke(shaft, width)), colour)]


# ---- The catalogue ----

def header_button(c, name, icon, pressed):
    s = 32
    layers = []
    if pressed:
        layers.append((circle(16, 16, 15), c.header_pressed))
    layers += icon(s, c.header_ink)
    return Picture(c.prefix + name, s, s, layers, "under", c.header)


def box(name, size, radius, fill, border=None, *, under, mode="under", width=None, height=None):
    w = width or size
    h = height or size
    layers = []
    if border:
        layers.append((rrect(0, 0, w, h, radius), border))
        layers.append((rrect(1, 1, w - 1, h - 1, radius - 1), fill))
    else:
        layers.append((rrect(0, 0, w, h, radius), fill))
    return Picture(name, w, h, layers, mode, under)


def state_icons(c, prefix, bubble):
    """The message state pictures, page by page: 0 read, 1 unread, 2 sent,
    3 waiting, 4 draft, 5 delivered, 6 not delivered."""
    s = 12
    m = 6
    shapes = [
        [],
        [(circle(m, m, 3.2), c.accent)],
        [(tick(m, m, 7, 1.5), c.muted)],
        [(ring(m, m, 3.9, 5.2), c.muted),
         (stroke([(m, m - 2.8), (m, m), (m + 2.2, m + 1.2)], 1.2), c.muted)],
        pencil_small(m, c.muted),
        [(tick(m - 1.6, m, 6.4, 1.4), c.accent), (tick(m + 1.8, m, 6.4, 1.4), c.accent)],
        [(circle(m, m, 5.4), c.red), (stroke([(m, m - 2.8), (m, m + 0.6)], 1.5), c.on_fill),
         (circle(m, m + 2.9, 0.9), c.on_fill)],
    ]
    return [Picture("%s%d" % (prefix, i), s, s, layers, "under", bubble)
            for i, layers in enumerate(shapes)]


def pencil_small(m, colour):
    body = stroke([(m + 3.6, m - 3.6), (m - 1.6, m + 1.6)], 2.4)
    tip = polygon([(m - 2.6, m + 0.6), (m - 0.6, m + 2.6), (m - 3.8, m + 3.8)])
    return [(union(body, tip), colour)]


def card(name, fill, size=40, radius=12):
    """A card with a soft edge and a shadow, for overlays over the dimmed screen."""
    return Picture(name, size, size,
                   [(rrect(1, 2, size - 1, size, radius), SHADOW),
                    (rrect(1, 1, size - 1, size - 2, radius), fill)],
                   "glass")


def catalogue(c):
    """The pictures of the skin coloured by palette c."""
    p = c.prefix
    arrow = shift(send_arrow(34, c.on_fill), 1, 0)
    pictures = [
        header_button(c, "hdr_back", back_arrow, False),
        header_button(c, "hdr_back_pressed", back_arrow, True),
        header_button(c, "hdr_menu", menu_dots, False),
        header_button(c, "hdr_menu_pressed", menu_dots, True),
        header_button(c, "hdr_new", pencil, False),
        header_button(c, "hdr_new_pressed", pencil, True),
        # The bottom bar: the writing field and the round send button.
        box(p + "field", 28, 12, c.field, c.field_line, under=c.page),
        Picture(p + "send", 34, 34, [(circle(17, 17, 16), c.fill)] + arrow, under=c.page),
        Picture(p + "send_pressed", 34, 34, [(circle(17, 17, 16), c.fill_pressed)] + arrow,
                under=c.page),
        Picture(p + "add", 34, 34, [(circle(17, 17, 16), c.fill)] + plus(34, c.on_fill),
                under=c.page),
        Picture(p + "add_pressed", 34, 34,
                [(circle(17, 17, 16), c.fill_pressed)] + plus(34, c.on_fill), under=c.page),
        # Buttons with a word on them, on cards and in the filter's field.
        box(p + "btn_accent", 24, 11, c.fill, under=c.card),
        box(p + "btn_accent_pressed", 24, 11, c.fill_pressed, under=c.card),
        box(p + "btn_light", 24, 11, c.field, c.field_line, under=c.card),
        box(p + "btn_light_pressed", 24, 11, c.line, c.field_line, under=c.card),
        # The chat list.
        Picture(p + "avatar", 36, 36,
                [(circle(18, 18, 18), c.avatar)] +
                person(18, 19, 17.5, c.avatar_figure, circle(18, 18, 17.4)),
                "key", c.page),
        box(p + "unread", 18, 8, c.fill, mode="key", under=c.page),
        # A chat's bubbles, the day heading and the scroll thumb.
        Picture(p + "bubble_in", 24, 24, [(rrect4(0, 0, 24, 24, (10, 10, 10, 4)), c.bubble_in)],
                under=c.page),
        Picture(p + "bubble_out", 24, 24,
                [(rrect4(0, 0, 24, 24, (10, 10, 4, 10)), c.bubble_out)], under=c.page),
        box(p + "day", 18, 9, c.day_pill, under=c.page),
        box(p + "thumb", 4, 2, c.thumb, mode="key", width=4, height=12, under=c.page),
        # The contacts picker.
        box(p + "check_off", 18, 5, c.page, c.check_line, under=c.page),
        Picture(p + "check_on", 18, 18, [(rrect(0, 0, 18, 18, 5), c.fill),
                                         (tick(9, 9, 10, 2.0), c.on_fill)], under=c.page),
        Picture(p + "active", 18, 18, [(circle(9, 9, 8), c.tint),
                                       (circle(9, 9, 4), c.accent)], under=c.page),
        box(p + "hint", 56, 14, c.fill, mode="key", under=c.page),
        # Menus and overlays.
        card(p + "card", c.card),
        Picture(p + "check", 16, 16, [(tick(8, 8, 10, 2.0), c.accent)], under=c.card),
        # The button of a message's day, pressed.
        box(p + "day_pressed", 18, 9, c.day_pressed, under=c.page),
    ]
    pictures += state_icons(c, p + "state_in_", c.bubble_in)
    pictures += state_icons(c, p + "state_out_", c.bubble_out)
    return pictures


def splash_catalogue():
    c = LIGHT
    return [
        Picture("splash_logo", 72, 72,
                [(rrect4(2, 2, 70, 62, (18, 18, 18, 18)), c.fill),
                 (polygon([(14, 56), (12, 70), (30, 58)]), c.fill)] +
                quill(36, 32, 40, c.on_fill)),
    ]


def shift(layers, dx, dy):
    return [((lambda s: lambda x, y: s(x - dx, y - dy))(shape), colour) for shape, colour in layers]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    skins = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    work = [(catalogue(c), os.path.join(skins, c.name)) for c in PALETTES]
    work.append((splash_catalogue(), os.path.join(skins, "splash")))
    for pictures, out in work:
        os.makedirs(out, exist_ok=True)
        for picture in pictures:
            for scale, suffix in ((1, ""), (2, "@2x"), (4, "@4x")):
                write_png(os.path.join(out, picture.name + suffix + ".png"), picture.pixels(scale))


if __name__ == "__main__":
    main()
