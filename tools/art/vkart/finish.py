"""Turning drawn canvases into stored pixels, and the edge checks of keyed pictures."""

import numpy as np
from PIL import Image

from .canvas import to_uint8

# A pixel whose brightest channel is below this reads as black at the display's 16 bits
# and as a dark fringe against any background; keyed pictures keep their pixels above it.
DARK_LIMIT = 56
BLUE_KEY = (0, 0, 255)


def rgb565(rgb):
    rgb = rgb.astype(np.uint32)
    return ((rgb[..., 0] >> 3) << 11) | ((rgb[..., 1] >> 2) << 5) | (rgb[..., 2] >> 3)


def black_keyed(col, cov, threshold=0.5):
    """Pixels covered at least `threshold` keep their colour (lifted clear of black); the rest become the key."""
    opaque = cov >= threshold
    out = col.copy()
    peak = out.max(axis=2)
    lift = opaque & (peak < DARK_LIMIT)
    factor = DARK_LIMIT / np.maximum(peak, 1.0)
    out[lift] = out[lift] * factor[lift][:, None]
    out[lift & (peak < 1.0)] = DARK_LIMIT
    out[~opaque] = 0.0
    return to_uint8(out)


def edge_pixels(key_mask, border=True):
    """Pixels that are not key but touch a key pixel (8 neighbours) or, with border, the picture's edge."""
    h, w = key_mask.shape
    padded = np.pad(key_mask, 1, constant_values=border)
    near = np.zeros_like(key_mask)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            near |= padded[1 + dy : 1 + dy + h, 1 + dx : 1 + dx + w]
    return near & ~key_mask


def check_black_keyed(name, rgb):
    """Every edge pixel must be exactly black or clearly not dark, and no pixel may turn into the key at 16 bits."""
    key = (rgb == 0).all(axis=2)
    problems = []
    edge = edge_pixels(key)
    dark = edge & (rgb.max(axis=2) < DARK_LIMIT)
    if dark.any():
        problems.append(f"{name}: {int(dark.sum())} dark edge pixels")
    merged = ~key & (rgb565(rgb) == 0)
    if merged.any():
        problems.append(f"{name}: {int(merged.sum())} pixels become the key at 16 bits")
    if key.all() or not key.any():
        problems.append(f"{name}: picture is all key or has no key")
    return problems


def check_blue_keyed(name, rgb, allowed=((0, 0, 254),)):
    """Pixels next to key blue must be clearly unlike it; only the allowed colours may equal it at 16 bits."""
    key = (rgb == np.array(BLUE_KEY, np.uint8)).all(axis=2)
    allowed_mask = np.zeros_like(key)
    for c in allowed:
        allowed_mask |= (rgb == np.array(c, np.uint8)).all(axis=2)
    problems = []
    r, g, b = (rgb[..., i].astype(int) for i in range(3))
    bluish = (r < 48) & (g < 48) & (b > 200)
    edge = edge_pixels(key, border=False) & ~allowed_mask
    if (edge & bluish).any():
        problems.append(f"{name}: {int((edge & bluish).sum())} bluish pixels next to the key")
    merged = ~key & ~allowed_mask & (rgb565(rgb) == rgb565(np.array(BLUE_KEY, np.uint8)))
    if merged.any():
        problems.append(f"{name}: {int(merged.sum())} pixels become the key at 16 bits")
    return problems


def indexed(rgb):
    """A real 256-colour table for a black-keyed picture: entry 0 black, the rest fitted to the picture."""
    key = (rgb == 0).all(axis=2)
    pixels = rgb[~key].reshape(1, -1, 3)
    img = Image.fromarray(pixels, "RGB")
    q = img.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    flat = q.getpalette()[: 255 * 3]
    used = np.asarray(q, np.uint8).reshape(-1)
    present = set(np.unique(used).tolist())
    palette = [(0, 0, 0)]
    for i in range(255):
        c = [int(v) for v in flat[3 * i : 3 * i + 3]] + [0, 0, 0]
        c = c[:3]
        if i not in present:
            # Entries the quantiser left free get a grey ramp, so the whole table holds real colours.
            level = DARK_LIMIT + (i * (255 - DARK_LIMIT)) // 255
            c = [level, level, level]
        elif max(c) < DARK_LIMIT:
            c = [min(255, v * DARK_LIMIT // max(max(c), 1)) for v in c] if max(c) > 0 else [DARK_LIMIT] * 3
        palette.append(tuple(c))
    indices = np.zeros(key.shape, np.uint8)
    indices[~key] = used + 1
    return indices, palette
