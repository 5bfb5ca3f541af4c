#!/usr/bin/python3
"""Renders every stored picture of the game into assets/pictures.

Writes one file per picture holding exactly its stored block (class name, then TDIB or
TBitmap data) and catalogue.tsv with one line per picture:
list, index, file, PatternWidth, PatternHeight, Transparent (0/1), TransparentColor.
Fails when a keyed picture has a dark fringe or a pixel that would turn into its key.

The pictures with words have a variant for each other language that has its words, made from the
same sources with the same size and layout, in a folder named after the language (en/), beside
the pictures of the stored form.
"""

import argparse
import os
import sys

import numpy as np

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from vkart import finish, panels, scenes, sprites, stored, tiles  # noqa: E402

BLACK = 0
BLUE = 0xFF0000  # colour values hold red in the low byte


def keyed_rgb(canvas):
    col, cov = canvas.reduce()
    return finish.black_keyed(col, cov)


# (list, index, stored class, bits per pixel, width, height, pattern w, pattern h, transparent, colour, make)
CATALOGUE = [
    ("GraphicList", 0, "TDIB", 24, 30, 30, 0, 0, 1, BLACK, lambda: keyed_rgb(sprites.pointer())),
    ("GraphicList", 1, "TDIB", 24, 130, 160, 0, 0, 0, BLACK, panels.menu),
    ("GraphicList", 2, "TDIB", 24, 130, 40, 0, 0, 0, BLACK, panels.highlight),
    ("GraphicList", 3, "TDIB", 8, 30, 30, 0, 0, 1, BLACK, lambda: keyed_rgb(sprites.ship_top())),
    ("GraphicList", 4, "TDIB", 24, 640, 30, 0, 0, 0, BLACK, panels.status_bar),
    ("GraphicList", 5, "TBitmap", 24, 10, 450, 0, 0, 0, BLACK, panels.gauge),
    ("GraphicList", 6, "TBitmap", 24, 640, 480, 0, 0, 0, BLACK, panels.about),
]
CATALOGUE += [
    ("FXList", f, "TDIB", 24, 30, 30, 0, 0, 1, BLACK, (lambda f=f: keyed_rgb(sprites.mine(f)))) for f in range(6)
]
CATALOGUE += [
    ("FXList", 6 + i, "TDIB", 8, 30, 30, 0, 0, 1, BLACK, (lambda i=i: keyed_rgb(sprites.orb(i)))) for i in range(6)
]
CATALOGUE += [
    ("FXList", 12, "TBitmap", 24, 630, 450, 0, 0, 0, BLACK, scenes.backdrop),
    ("FonList", 0, "TDIB", 24, 640, 480, 0, 0, 0, BLACK, scenes.title),
    ("WorldList", 0, "TBitmap", 24, 60, 30, 30, 30, 1, BLUE, tiles.tileset0),
    ("WorldList", 1, "TBitmap", 24, 60, 30, 30, 30, 0, 38306, tiles.tileset1),
    ("WorldList", 2, "TBitmap", 24, 60, 30, 30, 30, 0, 329105, tiles.tileset2),
    ("WorldList", 3, "TBitmap", 24, 60, 30, 30, 30, 0, 1937199, tiles.tileset3),
    ("WorldList", 4, "TBitmap", 24, 60, 30, 30, 30, 1, BLUE, tiles.tileset4),
]


# The pictures with words: (list, index, make(lang)); each is made again in every language of
# panels.MENU_WORDS but the stored form's own.
WITH_WORDS = [("GraphicList", 1, panels.menu), ("GraphicList", 6, panels.about)]
LANGUAGES = [lang for lang in panels.MENU_WORDS if lang != "ru"]


def encode(cls, bpp, rgb):
    if cls == "TBitmap":
        return stored.tbitmap_24(rgb)
    if bpp == 8:
        indices, palette = finish.indexed(rgb)
        return stored.tdib_8(indices, palette)
    return stored.tdib_24(rgb)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "..", "assets", "pictures"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    problems = []
    lines = []
    for lst, idx, cls, bpp, w, h, pw, ph, transparent, colour, make in CATALOGUE:
        name = f"{lst}-{idx}"
        rgb = make()
        if rgb.shape != (h, w, 3):
            problems.append(f"{name}: made {rgb.shape[1]}x{rgb.shape[0]}, catalogue says {w}x{h}")
            continue
        block = encode(cls, bpp, rgb)
        # Check what is stored, after the 8-bit colour table has been fitted.
        got_cls, got_bpp, got_rgb, _, _ = stored.read_block(block)
        assert (got_cls, got_bpp, got_rgb.shape) == (cls, bpp, (h, w, 3))
        if transparent and colour == BLACK:
            problems += finish.check_black_keyed(name, got_rgb)
        elif transparent:
            problems += finish.check_blue_keyed(name, got_rgb)
        with open(os.path.join(args.out, name + ".pic"), "wb") as f:
            f.write(block)
        lines.append(f"{lst}\t{idx}\t{name}.pic\t{pw}\t{ph}\t{transparent}\t{colour}\n")
        print(f"{name}.pic  {cls} {w}x{h}x{bpp}  {len(block)} bytes")
    with open(os.path.join(args.out, "catalogue.tsv"), "w") as f:
        f.writelines(lines)
    shapes = {(lst, idx): (cls, bpp, w, h) for lst, idx, cls, bpp, w, h, *_ in CATALOGUE}
    for lang in LANGUAGES:
        os.makedirs(os.path.join(args.out, lang), exist_ok=True)
        for lst, idx, make in WITH_WORDS:
            cls, bpp, w, h = shapes[(lst, idx)]
            rgb = make(lang)
            if rgb.shape != (h, w, 3):
                problems.append(f"{lang}/{lst}-{idx}: made {rgb.shape[1]}x{rgb.shape[0]}, catalogue says {w}x{h}")
                continue
            with open(os.path.join(args.out, lang, f"{lst}-{idx}.pic"), "wb") as f:
                f.write(encode(cls, bpp, rgb))
            print(f"{lang}/{lst}-{idx}.pic  {cls} {w}x{h}x{bpp}")
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
