"""Draws the desktop's icons of Hyper Jorv from the game's 32 x 32 window
icon, resources/hyperjorv.xpm: PNG images at the sizes of the hicolor theme
and a scalable SVG, written to resources/icons/ (or to the folder given as
the only argument). Needs nothing but Python.

The picture is two flagpoles with round-topped knobs on a base: the red flag
raised on the left pole, the white one lowered on the right. It is drawn
here as layers of rectangles whose edges are measured in the design's own
pixels plus whole numbers of three widths: the outline, the inside of a pole
or knob and the shaded edge of a flag. At 32 pixels these are 1, 2 and 2 and
the drawing must give the window icon's pixels exactly (the script stops
otherwise, so the icons cannot drift from the design); at 64, 128 and 256
every width grows by the same whole factor, so those are the design scaled up
pixel for pixel. At 16, 22, 24 and 48 the edges land on the nearest pixel and
each width is chosen for that size, so that every outline stays one crisp
pixel and no pole, knob or flag loses its colour, where scaling the pixels
would blur or drop them. The SVG is the same layers on a 32-unit grid, drawn
with crisp edges.
"""

import pathlib
import struct
import sys
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
DESIGN = ROOT / "resources" / "hyperjorv.xpm"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

# Widths in pixels at each size: outline, inside of a pole or knob, shaded
# edge of a flag. Whole factors of the design's 1, 2, 2 where the size is a
# whole multiple of 32; at 48 the outline stays one pixel, as it does in the
# design, and the insides take the room that half a design pixel more gives.
WIDTHS = {16: (1, 1, 1), 22: (1, 1, 1), 24: (1, 2, 1), 32: (1, 2, 2),
          48: (1, 3, 3), 64: (2, 4, 4), 128: (4, 8, 8), 256: (8, 16, 16)}


def edge(base, outline=0, inside=0, shade=0, mirrored=False):
    """An edge: `base` design pixels, plus widths added after rounding.
    A mirrored edge is rounded as its mirror image on the left half is, so
    that the right pole stands as far from the right side as the left one
    from the left side at every size."""
    return (base, outline, inside, shade, mirrored)


def layers():
    """The icon as (colour, left, top, right, bottom), painted in order;
    right and bottom are exclusive. Colours are the design's XPM keys."""
    out = []

    def pole(left, knob_top, base_top, mirrored=False):
        # A knob outlined in black on top of a pole whose black sides run
        # down to the base; the knob's bottom outline is the pole's top.
        knob_bottom = edge(knob_top, outline=2, inside=1)
        out.append(("k", left, edge(knob_top), shift(left, 2, inside=1), base_top))
        out.append(("y", shift(left, 1), edge(knob_top, outline=1),
                    shift(left, 1, inside=1), edge(knob_top, outline=1, inside=1)))
        out.append(("o", shift(left, 1), knob_bottom, shift(left, 1, inside=1), base_top))
        return knob_bottom

    def flag(colour, shade, left, top, right, bottom):
        # Outlined in black, the inside shaded along its right and bottom.
        out.append(("k", left, top, right, bottom))
        inner = (shift(left, 1), shift(top, 1), shift(right, -1), shift(bottom, -1))
        out.append((shade,) + inner)
        out.append((colour, inner[0], inner[1], shift(inner[2], 0, -1), shift(inner[3], 0, -1)))

    def shift(e, outline, shade=0, inside=0):
        return (e[0], e[1] + outline, e[2] + inside, e[3] + shade, e[4])

    base_top = edge(32, outline=-1)
    left_pole = edge(3)
    right_pole = edge(29, outline=-2, inside=-1, mirrored=True)
    # The flags share the outline of their poles: the red one hangs from the
    # left pole's right side, the white one from the right pole's left side.
    flag("r", "m", shift(left_pole, 1, inside=1), edge(0, outline=2, inside=1), edge(20), edge(15))
    flag("w", "s", edge(12), edge(18), shift(right_pole, 1), edge(29))
    pole(left_pole, 0, base_top)
    pole(right_pole, 5, base_top)
    out.append(("k", edge(2), base_top, edge(30, mirrored=True), edge(32)))
    return out


def place(e, size):
    base, outline, inside, shade, mirrored = e
    widths = WIDTHS[size]
    # Half a pixel rounds up on the left half and down on the right one.
    rounded = size - int((32 - base) * size / 32 + 0.5) if mirrored else int(base * size / 32 + 0.5)
    return rounded + outline * widths[0] + inside * widths[1] + shade * widths[2]


def draw(size):
    """The icon at `size` pixels as rows of XPM colour keys."""
    grid = [[" "] * size for _ in range(size)]
    for colour, *edges in layers():
        left, top, right, bottom = (place(e, size) for e in edges)
        for y in range(top, bottom):
            for x in range(left, right):
                grid[y][x] = colour
    return ["".join(row) for row in grid]


def read_design():
    """The XPM's colours (key to RGB hex, or None) and its rows of keys."""
    strings = []
    for line in DESIGN.read_text(encoding="ascii").splitlines():
        line = line.strip()
        if line.startswith('"'):
            strings.append(line[1:line.rindex('"')])
    width, height, count, per_pixel = map(int, strings[0].split())
    if per_pixel != 1:
        sys.exit(f"{DESIGN}: one character a pixel expected")
    colours = {}
    for entry in strings[1:1 + count]:
        value = entry[1:].split()[-1]
        colours[entry[0]] = None if value.lower() == "none" else value.lstrip("#")
    return colours, strings[1 + count:1 + count + height]


def png(rows, colours):
    """An 8-bit RGBA PNG without time stamps, so the same drawing gives the
    same bytes."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for key in row:
            rgb = colours[key]
            raw += bytes.fromhex(rgb) + b"\xff" if rgb else b"\0\0\0\0"
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def svg(colours):
    rects = []
    for colour, *edges in layers():
        left, top, right, bottom = (place(e, 32) for e in edges)
        rects.append(f'  <rect x="{left}" y="{top}" width="{right - left}" '
                     f'height="{bottom - top}" fill="#{colours[colour].lower()}"/>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 32 32" shape-rendering="crispEdges">\n'
            '  <title>Hyper Jorv</title>\n' + "\n".join(rects) + "\n</svg>\n")


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "resources" / "icons"
    colours, design = read_design()
    drawn = draw(32)
    if drawn != design:
        wrong = next(y for y in range(32) if drawn[y] != design[y])
        sys.exit(f"icons.py: the drawing differs from {DESIGN.name} in row {wrong}:\n"
                 f"  drawn  '{drawn[wrong]}'\n  design '{design[wrong]}'")
    out.mkdir(parents=True, exist_ok=True)
    for size in SIZES:
        (out / f"hyperjorv-{size}.png").write_bytes(png(draw(size), colours))
    (out / "hyperjorv.svg").write_text(svg(colours), encoding="utf-8")


if __name__ == "__main__":
    main()
