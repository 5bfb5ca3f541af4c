"""The five 60x30 tile sets: floor pattern on the left, wall pattern on the right."""

import numpy as np

from .canvas import Canvas, height_normals, noise, rgbf, shade, smoothstep, sphere_normals, to_uint8

KEY_BLUE = (0, 0, 255)
FRAME_BLUE = (0, 0, 254)


def _cell_grid(ss=1):
    ys, xs = np.mgrid[0 : 30 * ss, 0 : 30 * ss].astype(np.float32)
    return (xs + 0.5) / ss, (ys + 0.5) / ss


def _reduce(rgb, ss):
    """Averages ss x ss blocks of an opaque high-resolution picture."""
    h, w = rgb.shape[0] // ss, rgb.shape[1] // ss
    return rgb.reshape(h, ss, w, ss, 3).mean(axis=(1, 3))


def _join(floor, wall):
    return np.concatenate([to_uint8(floor * 255.0), to_uint8(wall * 255.0)], axis=1)


def grating_floor():
    """Dark metal grating: 3 x 3 deep slots of 6 x 6 pixels in 4-pixel bars (2 at the cell edges,
    so bars stay 4 wide across cells). Kept dark so that walls, mines and the ship stand out."""
    hole = np.zeros((30, 30), bool)
    for a in (2, 12, 22):
        for b in (2, 12, 22):
            hole[a : a + 6, b : b + 6] = True
    grain = noise(30, 30, beta=1.2, seed=31)
    out = np.zeros((30, 30, 3), np.float32)
    out[:] = (0.9 + 0.1 * grain)[..., None] * rgbf((80, 86, 100))
    padded = np.pad(hole, 1)
    below = padded[2:, 1:-1]
    right = padded[1:-1, 2:]
    above = padded[:-2, 1:-1]
    left = padded[1:-1, :-2]
    # Bars are raised: their edges towards the upper left catch the light, the others fall into shadow.
    shadow = ~hole & (below | right)
    lit = ~hole & (above | left) & ~shadow
    out[shadow] *= 0.72
    out[lit] = np.minimum(out[lit] * 1.4, 1)
    # Rivets where the bars cross.
    for a in (10, 20):
        for b in (10, 20):
            out[a - 1, b - 1] = rgbf((150, 156, 170))
            out[a, b] = rgbf((52, 56, 66))
    # The slots: dark, a little lighter at their far (lower right) walls.
    yy, xx = np.mgrid[0:30, 0:30]
    depth = ((xx - 2) % 10 + (yy - 2) % 10) / 10.0
    slot = rgbf((22, 25, 34))[None, None, :] * (1.0 + 0.5 * depth[..., None])
    out[hole] = slot[hole]
    return out


def pyramid_wall():
    """A grey pyramid block, light on its upper left faces and dark on the lower right, in a blue frame."""
    ss = 8
    x, y = _cell_grid(ss)
    dx, dy = x - 15.0, y - 15.0
    out = np.zeros(x.shape + (3,), np.float32)
    top = (-dy >= np.abs(dx))
    bottom = (dy >= np.abs(dx))
    left = (-dx > np.abs(dy))
    right = (dx > np.abs(dy))
    out[top] = rgbf((214, 217, 224))
    out[left] = rgbf((186, 189, 197))
    out[right] = rgbf((118, 121, 130))
    out[bottom] = rgbf((92, 95, 104))
    cap = (np.abs(dx) < 2.5) & (np.abs(dy) < 2.5)
    out[cap] = rgbf((170, 173, 181))
    fine = noise(30 * ss, 30 * ss, beta=2.0, seed=33)
    out *= (0.94 + 0.08 * fine)[..., None]
    out = _reduce(out, ss)
    out[:2, :] = out[-2:, :] = rgbf(FRAME_BLUE)
    out[:, :2] = out[:, -2:] = rgbf(FRAME_BLUE)
    return out


def tileset0():
    return _join(grating_floor(), pyramid_wall())


def tileset1():
    """Floor of dark red and blue quarters, each with a soft lighter rounded square; wall of
    brighter blue with two recessed square blocks, so walls stand clear of the floor."""
    ss = 4
    x, y = _cell_grid(ss)
    qx, qy = (x >= 15), (y >= 15)
    red = qx == qy
    out = np.where(red[..., None], rgbf((66, 20, 34)), rgbf((20, 26, 70)))
    lx, ly = np.abs(np.mod(x, 15.0) - 7.5), np.abs(np.mod(y, 15.0) - 7.5)
    # A rounded square with soft edges in each quarter.
    r = (np.maximum(lx - 2.0, 0) ** 2 + np.maximum(ly - 2.0, 0) ** 2) ** 0.5
    shape = 1.0 - smoothstep(1.5, 4.0, r)
    light = np.where(red[..., None], rgbf((98, 34, 52)), rgbf((34, 44, 106)))
    out = out * (1 - shape[..., None]) + light * shape[..., None]
    floor = _reduce(out, ss)

    wall = np.zeros((30, 30, 3), np.float32)
    wall[:] = rgbf((36, 60, 160))
    wall[0, :] = wall[:, 0] = rgbf((84, 112, 220))
    wall[1, 1:] = wall[1:, 1] = rgbf((60, 88, 196))
    wall[-1, :] = wall[:, -1] = rgbf((14, 22, 70))
    for x0, y0 in ((4, 4), (15, 15)):
        x1, y1 = x0 + 11, y0 + 11
        wall[y0:y1, x0:x1] = rgbf((18, 30, 96))
        # Recessed: the upper and left inner edges lie in shadow, the lower and right catch light.
        wall[y0 : y0 + 2, x0:x1] = rgbf((8, 12, 48))
        wall[y0:y1, x0 : x0 + 2] = rgbf((8, 12, 48))
        wall[y1 - 1, x0 + 1 : x1] = rgbf((70, 100, 210))
        wall[y0 + 1 : y1, x1 - 1] = rgbf((70, 100, 210))
    return _join(floor, wall)


def tileset2():
    """Floor: gold and dark gold checker of four squares; wall: a violet mottled stone sphere on dark gold."""
    floor = np.zeros((30, 30, 3), np.float32)
    yy, xx = np.mgrid[0:30, 0:30]
    gold = ((xx >= 15) == (yy >= 15))
    floor[gold] = rgbf((172, 132, 40))
    floor[~gold] = rgbf((124, 90, 24))
    # A slight bevel on each square.
    lx, ly = xx % 15, yy % 15
    floor[(lx == 0) | (ly == 0)] *= 1.18
    floor[(lx == 14) | (ly == 14)] *= 0.78
    grain = noise(30, 30, beta=1.5, seed=41)
    floor = np.clip(floor * (0.92 + 0.12 * grain)[..., None], 0, 1)

    ss = 8
    x, y = _cell_grid(ss)
    wall = np.zeros(x.shape + (3,), np.float32)
    wall[:] = rgbf((94, 68, 16))
    normals, ball = sphere_normals(x, y, 15.0, 15.0, 13.0)
    patches = noise(64, 64, beta=3.0, seed=43, low=2.0 / 64)
    u = ((np.arcsin(np.clip(normals[..., 0], -1, 1)) / np.pi + 0.5) * 63.99).astype(int)
    v = ((np.arcsin(np.clip(normals[..., 1], -1, 1)) / np.pi + 0.5) * 63.99).astype(int)
    mottle = smoothstep(0.45, 0.7, patches[v, u])[..., None]
    base = rgbf((104, 56, 150)) * (1 - mottle) + rgbf((150, 110, 196)) * mottle
    lit = shade(normals, base, ambient=0.45, diffuse=0.65, specular=0.2, power=10)
    # A soft shadow of the sphere on the block.
    shadow = np.exp(-(((x - 17.0) ** 2 + (y - 17.5) ** 2) / (2 * 9.0**2)))
    wall *= (1 - 0.45 * shadow)[..., None]
    wall = np.where(ball[..., None] > 0, lit, wall)
    wall = _reduce(wall, ss)
    return _join(floor, wall)


def tileset3():
    """Floor: white and grey noise; wall: smooth grey stone with soft shading."""
    n1 = noise(30, 30, beta=1.0, seed=51)
    n2 = noise(30, 30, beta=2.4, seed=52)
    v = 0.70 + 0.2 * n1 + 0.1 * n2
    floor = np.stack([v * 0.97, v * 0.98, v], axis=-1)

    ss = 8
    x, y = _cell_grid(ss)
    # A rounded slab: flat in the middle, falling off towards its edges.
    ex = np.clip((np.abs(x - 15.0) - 7.0) / 7.5, 0, 1)
    ey = np.clip((np.abs(y - 15.0) - 7.0) / 7.5, 0, 1)
    e = np.sqrt(ex * ex + ey * ey)
    height = np.sqrt(np.clip(1 - e * e, 0, 1)) * 3.0
    normals = height_normals(height, ss)
    stone = noise(30 * ss, 30 * ss, beta=3.0, seed=53)
    base = (0.5 + 0.08 * stone)[..., None] * np.ones(3, np.float32) * rgbf((250, 250, 255))
    lit = shade(normals, base, ambient=0.62, diffuse=0.55, specular=0.15, power=8)
    gap = e >= 1.0
    lit[gap] = rgbf((84, 84, 90))
    wall = _reduce(lit, ss)
    return _join(floor, wall)


def tileset4():
    """Floor: flat blue; wall: grey bevelled square with a dark edge in a blue frame."""
    floor = np.zeros((30, 30, 3), np.float32)
    floor[:] = rgbf((9, 9, 222))
    wall = np.zeros((30, 30, 3), np.float32)
    wall[:] = rgbf(FRAME_BLUE)
    wall[2:28, 2:28] = rgbf((52, 54, 62))
    wall[3:27, 3:27] = rgbf((100, 102, 112))
    yy, xx = np.mgrid[0:30, 0:30]
    inner = (xx >= 3) & (xx < 27) & (yy >= 3) & (yy < 27)
    upper_left = inner & ((xx - 3) + (yy - 3) < 24) & ((xx < 7) | (yy < 7))
    lower_right = inner & ((xx >= 23) | (yy >= 23)) & ~upper_left
    wall[upper_left & ((xx < 7) | (yy < 7))] = rgbf((214, 216, 224))
    wall[lower_right] = rgbf((104, 106, 116))
    face = (xx >= 7) & (xx < 23) & (yy >= 7) & (yy < 23)
    wall[face] = rgbf((160, 162, 172))
    return _join(floor, wall)
