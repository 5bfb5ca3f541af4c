#!/usr/bin/python3
"""Contact sheet of all stored pictures at 1:1, each labelled with its list and index.

Reads assets/pictures/catalogue.tsv and the .pic blocks it names. Keyed pictures appear
twice: as stored, and over a grey-blue ground with their key removed the way the 16-bit
display removes it, so a dark fringe or a hole would show.
"""

import argparse
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from vkart import fonts, stored  # noqa: E402
from vkart.finish import rgb565  # noqa: E402

SHEET_WIDTH = 1340
GAP = 12
LABEL = 16
GROUND = (96, 120, 150)


def keyed_view(rgb, colour):
    key = np.array([colour & 255, (colour >> 8) & 255, (colour >> 16) & 255], np.uint8)
    out = rgb.copy()
    out[rgb565(rgb) == rgb565(key)] = GROUND
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("output", help="PNG file to write")
    parser.add_argument("--pictures", default=os.path.join(here, "..", "..", "assets", "pictures"))
    args = parser.parse_args()

    tiles = []
    with open(os.path.join(args.pictures, "catalogue.tsv")) as f:
        for line in f:
            lst, idx, name, _pw, _ph, transparent, colour = line.rstrip("\n").split("\t")
            with open(os.path.join(args.pictures, name), "rb") as pic:
                cls, bpp, rgb, _, _ = stored.read_block(pic.read())
            h, w = rgb.shape[:2]
            views = [rgb]
            if transparent == "1":
                views.append(keyed_view(rgb, int(colour)))
            elif lst == "WorldList":
                views.append(rgb)
            if lst == "WorldList":
                # Also a 4 x 3 patch of each pattern, to judge how the tiles join.
                shown = views[-1]
                for p in (0, 1):
                    cell = shown[:, p * 30 : p * 30 + 30]
                    views.append(np.tile(cell, (3, 4, 1)))
            width = sum(v.shape[1] for v in views) + 4 * (len(views) - 1)
            height = max(v.shape[0] for v in views)
            tiles.append((f"{lst} {idx}  {cls} {w}x{h} {bpp}bpp", views, width, height))

    # Shelf layout in catalogue order.
    x = y = GAP
    shelf = 0
    places = []
    for label, views, width, height in tiles:
        if x + width > SHEET_WIDTH - GAP and x > GAP:
            x, y = GAP, y + shelf + LABEL + GAP
            shelf = 0
        places.append((x, y))
        x += max(width, 7 * len(label)) + GAP
        shelf = max(shelf, height)
    total = y + shelf + LABEL + GAP

    sheet = Image.new("RGB", (SHEET_WIDTH, total), (48, 48, 52))
    draw = ImageDraw.Draw(sheet)
    face = ImageFont.truetype(fonts.sans(), 11)
    for (label, views, _w, _h), (px, py) in zip(tiles, places):
        draw.text((px, py), label, font=face, fill=(230, 230, 230))
        vx = px
        for v in views:
            sheet.paste(Image.fromarray(v), (vx, py + LABEL))
            vx += v.shape[1] + 4
    sheet.save(args.output)
    print(f"{args.output}: {sheet.size[0]}x{sheet.size[1]}")


if __name__ == "__main__":
    main()
