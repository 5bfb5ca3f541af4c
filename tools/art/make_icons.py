#!/usr/bin/python3
"""Desktop icons of the game, rendered from its own stored ship picture (GraphicList 3).

The picture's black key becomes transparency, the way the 16-bit display removes it. Writes
vorkalith-<size>.png for each icon size, and vorkalith-64.rgba (raw RGBA rows) for the window.
"""

import argparse
import os
import sys

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from vkart import stored  # noqa: E402
from vkart.finish import rgb565  # noqa: E402

SIZES = (32, 48, 64, 128, 256)
WINDOW_SIZE = 64


def ship_rgba(pictures):
    with open(os.path.join(pictures, "GraphicList-3.pic"), "rb") as f:
        _cls, _bpp, rgb, _, _ = stored.read_block(f.read())
    alpha = np.where(rgb565(rgb) == 0, 0, 255).astype(np.uint8)
    return Image.fromarray(np.dstack([rgb, alpha]), "RGBA")


def icon(ship, size):
    # Whole-pixel enlargement first keeps the picture's crisp edges; a gentle final resample
    # fits it to the icon with a small margin.
    body = size - 2 * max(1, size // 16)
    factor = max(1, body // ship.width)
    big = ship.resize((ship.width * factor, ship.height * factor), Image.NEAREST)
    if big.width != body:
        big = big.resize((body, body), Image.LANCZOS)
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    out.paste(big, ((size - body) // 2, (size - body) // 2))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--pictures", default=os.path.join(here, "..", "..", "assets", "pictures"))
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "assets", "icons"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    ship = ship_rgba(args.pictures)
    for size in SIZES:
        image = icon(ship, size)
        image.save(os.path.join(args.out, "vorkalith-%d.png" % size), optimize=True)
        if size == WINDOW_SIZE:
            with open(os.path.join(args.out, "vorkalith-%d.rgba" % size), "wb") as f:
                f.write(image.tobytes())


if __name__ == "__main__":
    main()
