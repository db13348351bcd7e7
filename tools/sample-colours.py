#!/usr/bin/python3
"""Colour samples of a settings-window screenshot against the window's palette.

Reads the pixel at fixed points of the client area (given in 96-DPI units and
scaled to the screenshot's DPI, as the window scales its layout), compares each
with its palette colour from src/ui/settings/Palette.h, prints a table and exits
with 1 if a sample differs by more than a few steps per channel (anti-aliasing,
GDI+ half-pixel offsets).

    sample-colours.py IMAGE --page N --dpi 96 --client X,Y

--client is the client area's top-left corner inside IMAGE (the screenshots
include the frame Wine draws).
"""
import argparse
import pathlib
import re
import sys

from PIL import Image

ROOT = pathlib.Path(__file__).resolve().parent.parent
PALETTE = ROOT / "src/ui/settings/Palette.h"
TOLERANCE = 6

# Tabs are 108 wide from x = 28 on the strip's middle line, y = 99.
def tab_point(tab):
    return (33 + 108 * tab, 99)  # left of the caption


# (name, palette entry, 96-DPI client point or a function of the page, pages where it shows).
# The points sit in flat areas: away from text, rounded corners and outlines.
SAMPLES = [
    ("window background", "WindowBackground", (12, 300), range(5)),
    ("card", "Card", (570, 250), range(5)),
    ("tab strip", "Card", lambda page: tab_point(4 if page != 4 else 0), range(5)),  # a tab not selected
    ("selected tab", "Accent", tab_point, range(5)),
    ("slider fill", "Accent", (90, 221), [0, 1]),  # speed row, left of the thumb
    ("primary button", "Accent", lambda page: (294, 502) if page == 2 else (386, 502), [2, 3]),  # "Добавить"
]


def palette_colours():
    pattern = re.compile(r"inline constexpr std::uint32_t (\w+) = 0x([0-9A-Fa-f]{6});")
    return {name: int(value, 16) for name, value in pattern.findall(PALETTE.read_text(encoding="utf-8"))}


def scaled(value, dpi):
    # MulDiv(value, dpi, 96): halves away from zero, as the window rounds its layout.
    return (2 * value * dpi + 96) // 192


def hex_colour(rgb):
    return "#%02X%02X%02X" % rgb


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("image")
    parser.add_argument("--page", type=int, required=True)
    parser.add_argument("--dpi", type=int, default=96)
    parser.add_argument("--client", default="0,0")
    args = parser.parse_args()

    colours = palette_colours()
    left, top = (int(v) for v in args.client.split(","))
    image = Image.open(args.image).convert("RGB")
    print(f"{pathlib.Path(args.image).name} (page {args.page}, {args.dpi} DPI)")
    print(f"  {'sample':<18} {'client point':>12}  {'palette':<8} {'screen':<8}")
    differing = 0
    for name, entry, where, pages in SAMPLES:
        if args.page not in pages:
            continue
        x, y = where(args.page) if callable(where) else where
        expected = colours[entry]
        want = ((expected >> 16) & 0xFF, (expected >> 8) & 0xFF, expected & 0xFF)
        client = (scaled(x, args.dpi), scaled(y, args.dpi))
        got = image.getpixel((left + client[0], top + client[1]))
        ok = all(abs(a - b) <= TOLERANCE for a, b in zip(got, want))
        differing += not ok
        print(f"  {name:<18} {client[0]:>6},{client[1]:<5}  {hex_colour(want):<8} {hex_colour(got):<8} "
              f"{'ok' if ok else 'DIFFERS'}")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
