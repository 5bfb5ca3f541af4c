"""Full-size opaque pictures: the scrolling swirl backdrop and the title picture."""

import numpy as np

from . import fonts
from .canvas import Canvas, HeightField, blur, height_normals, noise, rgbf, shade, smoothstep, text_mask, to_uint8


def _sample_wrapped(field, u, v):
    """Bilinear lookup in a field that repeats left to right; rows are clamped."""
    h, w = field.shape
    u = np.mod(u, w)
    v = np.clip(v, 0, h - 1.001)
    x0 = np.floor(u).astype(int)
    y0 = np.floor(v).astype(int)
    fx, fy = u - x0, v - y0
    x1 = (x0 + 1) % w
    y1 = np.minimum(y0 + 1, h - 1)
    top = field[y0, x0] * (1 - fx) + field[y0, x1] * fx
    bottom = field[y1, x0] * (1 - fx) + field[y1, x1] * fx
    return top * (1 - fy) + bottom * fy


def backdrop():
    """630x450 blue-and-white swirl. It repeats seamlessly from its right edge to its left,
    since the game lays copies side by side and scrolls them."""
    w, h = 630, 450
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float64)
    u, v = xs.copy(), ys.copy()
    rng = np.random.default_rng(12)
    # Vortices twist the coordinates; offsets wrap horizontally so the twist repeats too.
    for _ in range(9):
        cx, cy = rng.uniform(0, w), rng.uniform(40, h - 40)
        radius = rng.uniform(70, 130)
        strength = rng.uniform(2.0, 3.6) * rng.choice([-1, 1])
        dx = np.mod(u - cx + w / 2, w) - w / 2
        dy = v - cy
        a = strength * np.exp(-(dx * dx + dy * dy) / (radius * radius))
        ca, sa = np.cos(a), np.sin(a)
        u, v = cx + dx * ca - dy * sa, cy + dx * sa + dy * ca
    wobble = noise(h, w, beta=3.2, seed=5)
    stripes = np.sin(2 * np.pi * v / 64.0 + 7.0 * _sample_wrapped(wobble, u, v))
    t = 0.5 + 0.5 * stripes
    deep, mid, white = rgbf((14, 42, 150)), rgbf((36, 104, 222)), rgbf((236, 244, 255))
    blue = deep * (1 - t[..., None]) + mid * t[..., None]
    shine = smoothstep(0.72, 0.97, t)[..., None]
    out = blue * (1 - shine) + white * shine
    grain = noise(h, w, beta=2.0, seed=8)
    out = out * (0.92 + 0.08 * grain[..., None])
    return to_uint8(out * 255.0)


def _front_ship(c):
    """Height field of the ship seen from the front, and the part each sample belongs to."""
    x, y = c.grid()
    field = HeightField(x)
    lay = field.lay

    cx = 320.0
    for s in (-1, 1):
        # Wings: thin plates seen edge-on, drooping towards the tips, ridged along the middle.
        wing = c.polygon([(cx + s * 70, 236), (cx + s * 256, 290), (cx + s * 256, 312), (cx + s * 70, 300)])
        ridge = blur(wing, 5 * c.ss)
        lay(wing * (10 + 24 * ridge), 1)
        # Tail fins rising from the hull behind the cockpit, leaning outwards.
        fin = c.polygon([(cx + s * 40, 208), (cx + s * 96, 122), (cx + s * 110, 126), (cx + s * 66, 214)])
        lay(fin * (30 + 16 * blur(fin, 3 * c.ss)), 1)
        # Engine pods at the wing tips: rings around a dark intake.
        ex, ey = cx + s * 258, 302.0
        r = np.sqrt((x - ex) ** 2 + (y - ey) ** 2)
        ring = (r < 36) & (r >= 21)
        tube = np.clip(1 - ((r - 28.5) / 7.5) ** 2, 0, 1)
        lay(np.where(ring, 40 + 14 * np.sqrt(tube), 0.0), 2)
        lay(np.where(r < 21, 30.0, 0.0), 5)

    # Hull: a big rounded body.
    d2 = ((x - cx) / 98.0) ** 2 + ((y - 268) / 92.0) ** 2
    lay(np.where(d2 < 1, 50 + 90 * np.sqrt(np.clip(1 - d2, 0, 1)), 0.0), 3)
    # Chin intake below the nose.
    d2 = ((x - cx) / 44.0) ** 2 + ((y - 318) / 15.0) ** 2
    lay(np.where(d2 < 1, 141.0, 0.0), 5)
    # Cockpit canopy on top of the hull.
    d2 = ((x - cx) / 60.0) ** 2 + ((y - 184) / 34.0) ** 2
    lay(np.where(d2 < 1, 120 + 40 * np.sqrt(np.clip(1 - d2, 0, 1)), 0.0), 4)
    return field.height, field.part


def title():
    """640x480: grey ship from the front with a glowing cockpit on a mottled dark blue,
    the name in glowing green letters across the top."""
    c = Canvas(640, 480, 2)
    x, y = c.grid()
    mottle = noise(c.H, c.W, beta=2.6, seed=21)
    fine = noise(c.H, c.W, beta=1.6, seed=22)
    m = (0.7 * mottle + 0.3 * fine)[..., None]
    sky = rgbf((0, 6, 34)) * (1 - m) + rgbf((14, 44, 118)) * m
    vignette = 1 - 0.45 * (((x - 320) / 380) ** 2 + ((y - 260) / 320) ** 2)
    c.paint(np.ones_like(x), np.clip(sky * vignette[..., None], 0, 1))
    # A sprinkle of faint stars.
    rng = np.random.default_rng(23)
    for _ in range(140):
        sx, sy = rng.uniform(0, 640), rng.uniform(0, 480)
        bright = rng.uniform(0.25, 0.8)
        star = np.exp(-(((x - sx) ** 2 + (y - sy) ** 2) / (2 * 0.45**2)))
        c.add(star, (200, 220, 255), bright)

    height, part = _front_ship(c)
    mask = (height > 0).astype(np.float32)
    normals = height_normals(height, c.ss)
    base = np.zeros(x.shape + (3,), np.float32)
    base[part == 1] = rgbf((150, 154, 166))
    base[part == 2] = rgbf((132, 136, 148))
    base[part == 3] = rgbf((176, 180, 190))
    base[part == 5] = rgbf((38, 40, 52))
    lit = shade(normals, base, ambient=0.42, diffuse=0.7, specular=0.35, power=16)
    # Panel lines on the hull.
    hull = part == 3
    lines = (np.abs(np.mod(x - 320 + 30, 60) - 30) < 0.8) & (y > 230)
    lit[hull & lines] *= 0.8

    # The canopy glows: bright in the middle, deep blue at its rim, with a glint.
    canopy = part == 4
    d = np.minimum(np.sqrt(((x - 320) / 60.0) ** 2 + ((y - 184) / 34.0) ** 2), 1.0)
    glass = rgbf((190, 236, 255)) * (1 - d[..., None]) ** 1.5 + rgbf((20, 96, 255)) * (1 - (1 - d[..., None]) ** 1.5)
    glint = np.exp(-(((x - 296) / 16.0) ** 2 + ((y - 168) / 6.0) ** 2))
    glass = np.clip(glass + glint[..., None] * 0.8, 0, 1)
    lit[canopy] = glass[canopy]
    c.paint(mask, lit)

    # Light spilling from the canopy and the engines.
    canopy_glow = blur(canopy.astype(np.float32), 18 * c.ss)
    c.add(canopy_glow, (60, 150, 255), 1.2)
    for s in (-1, 1):
        core = np.exp(-(((x - (320 + s * 258)) ** 2 + (y - 302) ** 2) / (2 * 9.0**2)))
        c.add(core, (120, 200, 255), 1.1)
        c.add(np.exp(-(((x - (320 + s * 258)) ** 2 + (y - 302) ** 2) / (2 * 30.0**2))), (30, 90, 255), 0.5)

    # The name: a wide soft green glow, a tighter one, and a slightly blurred bright core.
    face = fonts.sans_bold()
    size = 96
    from PIL import ImageFont

    width = ImageFont.truetype(face, size).getlength("Vorkalith")
    letters = text_mask(640, 480, [((640 - width) / 2, 14, "Vorkalith", face, size)], ss=2)
    up = np.kron(letters, np.ones((c.ss, c.ss), np.float32))
    c.add(blur(up, 16 * c.ss), (0, 255, 70), 1.6)
    c.add(blur(up, 5 * c.ss), (40, 255, 110), 1.2)
    c.paint(blur(up, 1.5 * c.ss), (200, 255, 200), 0.92)
    col, _ = c.reduce()
    return to_uint8(col)
