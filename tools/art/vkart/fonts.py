"""Fonts with Cyrillic letters, found through fontconfig (fonts-dejavu-core, fonts-urw-base35)."""

import functools
import subprocess


@functools.lru_cache(maxsize=None)
def font(pattern):
    path = subprocess.run(["fc-match", "-f", "%{file}", pattern], check=True, capture_output=True, text=True).stdout
    if not path:
        raise RuntimeError("no font for " + pattern)
    return path


def sans():
    return font("DejaVu Sans:style=Book")


def sans_bold():
    return font("DejaVu Sans:style=Bold")


def soft_bold():
    """A rounded geometric face for the menu words."""
    return font("URW Gothic:style=Demi")
