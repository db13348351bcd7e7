#!/usr/bin/python3
"""Draws the program's three icons and writes them as .ico files.

Usage: tools/make-icons.py [OUT_DIR]      (default: src/resources)

  Velvetglide.ico       101: the colour application icon (white glyph on a blue tile)
  TrayGlyphWhite.ico    102: white glyph on transparent (dark taskbar)
  TrayGlyphBlack.ico    103: black glyph on transparent (light taskbar)

The glyph is a mouse wheel (a ribbed capsule) with the eased glide curve it
scrolls along. Each of the nine sizes is drawn at 8x and averaged down, with
strokes kept at least about a pixel and a half wide so 16 px stays legible.
Images are 32-bit BGRA DIBs with an AND mask; the 256 px image is PNG, as the
shell expects. The .ico files are committed: the build does not run this.
Needs Debian's python3-pil (tools/setup installs it); run with /usr/bin/python3.
"""

import io
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw

SIZES = [16, 20, 24, 32, 40, 48, 64, 128, 256]
SUPERSAMPLE = 8
TILE_TOP = (0x4A, 0xA0, 0xFF)
TILE_BOTTOM = (0x1C, 0x6A, 0xD6)


def ease_in_out(t):
    return t * t * (3 - 2 * t)


def glyph_mask(size, margin):
    """The glyph as an 8-bit coverage mask of size x size pixels."""
    s = size * SUPERSAMPLE
    big = Image.new("L", (s, s), 0)
    draw = ImageDraw.Draw(big)
    # Everything in units of the inner box; strokes get a floor in real pixels.
    box = s * (1 - 2 * margin)
    ox = oy = s * margin

    def u(v):
        return v * box

    stroke = max(u(0.11), 1.6 * SUPERSAMPLE)

    # The wheel: a capsule outline on the left with three ribs.
    wl, wt, wr, wb = ox + u(0.02), oy + u(0.04), ox + u(0.40), oy + u(0.96)
    radius = (wr - wl) / 2
    draw.rounded_rectangle((wl, wt, wr, wb), radius=radius, fill=255)
    inner = stroke
    draw.rounded_rectangle((wl + inner, wt + inner, wr - inner, wb - inner),
                           radius=max(radius - inner, 0), fill=0)
    rib_w = max(u(0.07), 1.3 * SUPERSAMPLE)
    cx = (wl + wr) / 2
    ribs = 3 if size >= 24 else 2
    span = (wb - wt) - 2 * radius
    for i in range(ribs):
        y = wt + radius + span * (i + 1) / (ribs + 1)
        draw.rounded_rectangle((cx - (wr - wl) * 0.3, y - rib_w / 2, cx + (wr - wl) * 0.3, y + rib_w / 2),
                               radius=rib_w / 2, fill=255)

    # The glide: the eased curve of one notch, flat at both ends, ending in a dot.
    x0, x1 = ox + u(0.52), ox + u(0.86)
    y0, y1 = oy + u(0.16), oy + u(0.84)
    r = stroke / 2
    steps = 96
    for i in range(steps + 1):
        t = i / steps
        x = x0 + (x1 - x0) * t
        y = y0 + (y1 - y0) * ease_in_out(t)
        draw.ellipse((x - r, y - r, x + r, y + r), fill=255)
    dot = max(u(0.085), 1.6 * SUPERSAMPLE)
    draw.ellipse((x1 - dot + u(0.04), y1 - dot, x1 + dot + u(0.04), y1 + dot), fill=255)
    return big.resize((size, size), Image.Resampling.BOX)


def mono_icon(size, rgb):
    mask = glyph_mask(size, 0.06 if size >= 24 else 0.02)
    image = Image.new("RGBA", (size, size), rgb + (0,))
    image.putalpha(mask)
    return image


def colour_icon(size):
    s = size * SUPERSAMPLE
    gradient = Image.new("RGB", (1, s))
    for y in range(s):
        t = y / max(s - 1, 1)
        gradient.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM)))
    gradient = gradient.resize((s, s))
    tile = Image.new("L", (s, s), 0)
    inset = 0 if size <= 20 else s * 0.03
    ImageDraw.Draw(tile).rounded_rectangle((inset, inset, s - 1 - inset, s - 1 - inset), radius=s * 0.22, fill=255)
    tile = tile.resize((size, size), Image.Resampling.BOX)
    image = gradient.resize((size, size), Image.Resampling.BOX).convert("RGBA")
    image.putalpha(tile)
    white = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    glyph = glyph_mask(size, 0.20 if size >= 24 else 0.14)
    white.putalpha(ImageChops.multiply(glyph, tile))
    return Image.alpha_composite(image, white)


def dib(image):
    """A 32-bit icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    w, h = image.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        row_mask = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = image.getpixel((x, y))
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + pixels + mask


def write_ico(path, images):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for image in images:
        w, h = image.size
        if w >= 256:
            out = io.BytesIO()
            image.save(out, "PNG")
            blob = out.getvalue()
        else:
            blob = dib(image)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        f.write(b"".join(entries))
        f.write(b"".join(blobs))


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "resources")
    os.makedirs(out_dir, exist_ok=True)
    icons = {
        "Velvetglide.ico": [colour_icon(n) for n in SIZES],
        "TrayGlyphWhite.ico": [mono_icon(n, (255, 255, 255)) for n in SIZES],
        "TrayGlyphBlack.ico": [mono_icon(n, (0, 0, 0)) for n in SIZES],
    }
    for name, images in icons.items():
        write_ico(os.path.join(out_dir, name), images)
        print(os.path.normpath(os.path.join(out_dir, name)))


if __name__ == "__main__":
    main()
