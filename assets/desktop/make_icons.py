#!/usr/bin/env python3
"""Draws the program's desktop icon: the mark of the splash screen (a speech
bubble in the default skin's accent colour with the white quill across it),
as one SVG and as PNGs of 16, 32, 48, 64, 128 and 256 pixels for the icon
theme's fixed sizes.

The icon is described once, in a 64-unit square, as shapes that can both be
written as SVG elements and tested point by point; the PNGs are drawn from
the same shapes by sampling every pixel several times, so their edges are
smoothed into the alpha channel. The shapes and the colours come from the
skin's own picture script (assets/skins/default/make_pictures.py).

The SVG and PNGs are kept in the repository; the build does not run this
script. Usage: make_icons.py [OUTPUT_FOLDER]   (default: icons/ beside it)
"""
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
APP_ID = "org.quillmo.Quillmo"
DESIGN = 64
SIZES = (16, 32, 48, 64, 128, 256)


def load_skin_pictures():
    path = os.path.join(HERE, "..", "skins", "default", "make_pictures.py")
    found = importlib.util.spec_from_file_location("make_pictures", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


pictures = load_skin_pictures()


def number(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def point_list(points):
    return " ".join(number(x) + "," + number(y) for x, y in points)


def hex_colour(c):
    return "#%02x%02x%02x" % c


class Shape:
    """One filled or stroked shape: a predicate over design units and its SVG
    element (a format string taking the colour)."""

    def __init__(self, inside, svg):
        self.inside, self.svg = inside, svg


def rounded_box(x0, y0, x1, y1, r):
    return Shape(pictures.rrect(x0, y0, x1, y1, r),
                 '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="{}"/>' %
                 tuple(number(v) for v in (x0, y0, x1 - x0, y1 - y0, r)))


def polygon(points):
    return Shape(pictures.polygon(points), '<polygon points="%s" fill="{}"/>' % point_list(points))


def line(points, width):
    return Shape(pictures.stroke(points, width),
                 '<polyline points="%s" fill="none" stroke="{}" stroke-width="%s" '
                 'stroke-linecap="round" stroke-linejoin="round"/>' % (point_list(points), number(width)))


def icon_layers():
    """The icon, bottom layer first: (shape, colour) pairs."""
    c = pictures.LIGHT
    vane, shaft, width = pictures.quill_geometry(32, 28.5, 33)
    return [
        (rounded_box(4, 5, 60, 52, 15), c.fill),
        (polygon([(13, 46), (10, 61), (28, 49.5)]), c.fill),
        (polygon(vane), c.on_fill),
        (line(shaft, width), c.on_fill),
    ]


def svg(layers):
    body = "\n".join("  " + shape.svg.format(hex_colour(colour)) for shape, colour in layers)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            "%s\n</svg>\n" % (DESIGN, DESIGN, DESIGN, DESIGN, body))


def rgba_pixels(layers, size):
    """The icon at size pixels: straight (not premultiplied) RGBA, the
    coverage of the topmost shape at each sample making up the alpha."""
    scale = size / DESIGN
    samples = 6 if size <= 64 else 4 if size <= 128 else 3
    offsets = [(i + 0.5) / samples for i in range(samples)]
    total = samples * samples
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for oy in offsets:
                for ox in offsets:
                    x, y = (px + ox) / scale, (py + oy) / scale
                    for shape, colour in reversed(layers):
                        if shape.inside(x, y):
                            hits.append(colour)
                            break
            if not hits:
                row.append((0, 0, 0, 0))
                continue
            mean = tuple(round(sum(h[i] for h in hits) / len(hits)) for i in range(3))
            row.append(mean + (round(255 * len(hits) / total),))
        rows.append(row)
    return rows


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "icons")
    os.makedirs(out, exist_ok=True)
    layers = icon_layers()
    pictures.write_if_changed(os.path.join(out, APP_ID + ".svg"), svg(layers))
    for size in SIZES:
        pictures.write_if_changed(os.path.join(out, "%s-%d.png" % (APP_ID, size)),
                                  pictures.png_bytes(rgba_pixels(layers, size)))


if __name__ == "__main__":
    main()
