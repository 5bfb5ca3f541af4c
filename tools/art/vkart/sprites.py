"""Small keyed sprites: the pointer, the ship, the mine frames and the orbs."""

import numpy as np

from .canvas import Canvas, HeightField, erode, height_normals, noise, rgbf, shade, smoothstep, sphere_normals


def pointer():
    """Grey dart, point at the top-left corner, lit half and shaded half either side of its axis."""
    c = Canvas(30, 30, 8)
    outline = [(-0.6, -0.6), (22.5, 9.0), (12.6, 12.6), (9.0, 22.5)]
    dart = c.polygon(outline)
    c.paint(dart, (104, 106, 116))
    inner = erode(dart, 1.3, c.ss)
    x, y = c.grid()
    along = np.clip((x + y) / 30.0, 0.0, 1.0)
    lit = np.stack([0.90 - 0.10 * along] * 3, axis=-1) * rgbf((246, 246, 252))
    dim = np.stack([0.72 - 0.10 * along] * 3, axis=-1) * rgbf((226, 228, 236))
    upper = (y < x).astype(np.float32)
    c.paint(inner * upper, lit)
    c.paint(inner * (1.0 - upper), dim)
    # The hot spot pixel itself is always solid.
    c.paint(c.rect(0, 0, 1, 1), (150, 152, 160))
    return c


def _profile_width(y, nose, widest, tail, width):
    """Half-width of a body whose outline runs from a rounded nose to a blunt tail."""
    front = np.clip((y - nose) / (widest - nose), 0.0, 1.0)
    back = np.clip((tail - y) / (tail - widest), 0.0, 1.0)
    w = np.where(y < widest, width * np.sqrt(front * (2.0 - front)), width * (0.55 + 0.45 * np.sqrt(back)))
    return np.where((y < nose) | (y > tail), 0.0, w)


def ship_top(size=30, ss=8):
    """The ship from above, nose up: grey hull, swept wings, two engine pods and a blue cockpit."""
    k = size / 30.0
    c = Canvas(size, size, ss)
    px, py = c.grid()
    x, y = px / k, py / k
    cx = 15.0

    field = HeightField(x)
    lay = field.lay

    # Wings: a flat swept plate with a bevel along its edges.
    wing_pts = [
        (cx - 2.5, 10.5), (cx - 14.2, 20.8), (cx - 14.2, 24.2), (cx - 3.0, 22.5),
        (cx + 3.0, 22.5), (cx + 14.2, 24.2), (cx + 14.2, 20.8), (cx + 2.5, 10.5),
    ]
    wing = c.polygon([(u * k, v * k) for u, v in wing_pts])
    bevel = sum(erode(wing, d * k, ss) for d in (0.4, 0.8, 1.2)) / 3.0
    lay(wing * (0.35 + 0.5 * bevel), 1)

    # Rear stabilisers.
    for s in (-1, 1):
        fin = c.polygon([(u * k, v * k) for u, v in [(cx + s * 1.5, 23.0), (cx + s * 6.0, 28.6), (cx + s * 1.5, 27.8)]])
        lay(fin * (0.3 + 0.4 * erode(fin, 0.5 * k, ss)), 1)

    # Engine pods on the wings.
    for s in (-1, 1):
        ex = cx + s * 7.0
        w = _profile_width(y, 15.5, 19.0, 27.6, 1.9)
        d = np.abs(x - ex) / np.maximum(w, 1e-3)
        pod = (d < 1.0) & (w > 0)
        lay(np.where(pod, 1.0 + 0.9 * np.sqrt(np.clip(1 - d * d, 0, 1)), 0.0), 2)

    # Fuselage: a long rounded body.
    w = _profile_width(y, 1.6, 12.0, 28.4, 3.9)
    d = np.abs(x - cx) / np.maximum(w, 1e-3)
    body = (d < 1.0) & (w > 0)
    lay(np.where(body, 1.2 + 1.6 * np.sqrt(np.clip(1 - d * d, 0, 1)), 0.0), 3)

    # Cockpit canopy near the nose.
    cd = ((x - cx) / 2.1) ** 2 + ((y - 8.2) / 3.4) ** 2
    canopy = cd < 1.0
    lay(np.where(canopy, 2.9 + 0.8 * np.sqrt(np.clip(1 - cd, 0, 1)), 0.0), 4)

    height, part = field.height, field.part
    mask = (height > 0).astype(np.float32)
    normals = height_normals(height, ss * k)
    base = np.zeros(x.shape + (3,), np.float32)
    base[part == 1] = rgbf((150, 154, 164))
    base[part == 2] = rgbf((130, 134, 146))
    base[part == 3] = rgbf((188, 190, 198))
    base[part == 4] = rgbf((40, 125, 255))
    lit = shade(normals, base, ambient=0.5, diffuse=0.6, specular=0.35, power=20)
    glass = part == 4
    lit[glass] = shade(normals[glass], base[glass], ambient=0.6, diffuse=0.5, specular=0.9, power=40)
    # Engine exhausts glow blue at the back of the pods.
    for s in (-1, 1):
        glow = np.exp(-(((x - (cx + s * 7.0)) / 1.3) ** 2 + ((y - 27.2) / 0.9) ** 2))
        lit = np.clip(lit + (glow * (part == 2))[..., None] * rgbf((60, 150, 255)), 0, 1)
    c.paint(mask, lit)
    return c


def mine(frame):
    """Dark grey sphere with four red spikes, turned 15 degrees further per frame (six frames make a quarter turn)."""
    c = Canvas(30, 30, 8)
    x, y = c.grid()
    cx = cy = 15.0
    turn = np.radians(45.0 + 15.0 * frame)
    for i in range(4):
        a = turn + i * np.pi / 2
        ux, uy = np.cos(a), np.sin(a)
        vx, vy = -uy, ux
        half = 3.1
        tip = 14.3
        pts = [(cx + ux * 6.0 + vx * half, cy + uy * 6.0 + vy * half), (cx + ux * tip, cy + uy * tip),
               (cx + ux * 6.0 - vx * half, cy + uy * 6.0 - vy * half)]
        spike = c.polygon(pts)
        # A cone: across the spike the surface turns from one side to the other.
        along = (x - cx) * ux + (y - cy) * uy
        across = (x - cx) * vx + (y - cy) * vy
        width = np.maximum(half * (tip - along) / (tip - 6.0), 1e-3)
        s = np.clip(across / width, -1.0, 1.0)
        n = np.stack([vx * s, vy * s, np.sqrt(1 - s * s) + 0.25], axis=-1)
        n = n / np.linalg.norm(n, axis=-1, keepdims=True)
        red = shade(n, np.broadcast_to(rgbf((235, 30, 22)), n.shape), ambient=0.55, diffuse=0.5, specular=0.5)
        c.paint(spike, red)
    normals, ball = sphere_normals(x, y, cx, cy, 8.4)
    grey = np.broadcast_to(rgbf((112, 114, 122)), normals.shape)
    body = shade(normals, grey, ambient=0.62, diffuse=0.55, specular=0.55, power=18)
    # A darker ring around a small red eye.
    r = np.sqrt((x - cx) ** 2 + (y - cy) ** 2)
    body[(r > 3.2) & (r < 4.0)] *= 0.8
    eye = np.exp(-(((x - cx) ** 2 + (y - cy) ** 2) / 2.2))
    body = np.clip(body * (1 - 0.8 * eye[..., None]) + eye[..., None] * rgbf((255, 60, 40)), 0, 1)
    c.paint(ball, body)
    return c


ORB_COLOURS = [
    ("red", (225, 28, 28)),
    ("rose", (236, 74, 108)),
    ("pink", (255, 138, 188)),
    ("magenta", (222, 36, 205)),
    ("violet", (140, 58, 236)),
    ("blue", (45, 98, 246)),
]

_ORB_PATCHES = None


def orb(index):
    """A mottled sphere with lighter patches; every colour shares one pattern."""
    global _ORB_PATCHES
    c = Canvas(30, 30, 8)
    x, y = c.grid()
    if _ORB_PATCHES is None:
        _ORB_PATCHES = noise(64, 64, beta=3.2, seed=3, low=2.5 / 64)
    normals, ball = sphere_normals(x, y, 15.0, 15.0, 12.2)
    # Look the pattern up on the sphere's surface, so patches crowd together towards the rim.
    u = ((np.arcsin(np.clip(normals[..., 0], -1, 1)) / np.pi + 0.5) * 63.99).astype(int)
    v = ((np.arcsin(np.clip(normals[..., 1], -1, 1)) / np.pi + 0.5) * 63.99).astype(int)
    patches = smoothstep(0.5, 0.64, _ORB_PATCHES[v, u])
    colour = rgbf(ORB_COLOURS[index][1])
    base = colour * (1 - 0.45 * patches[..., None]) + 0.45 * patches[..., None]
    lit = shade(normals, base, ambient=0.55, diffuse=0.5, specular=0.65, power=28)
    c.paint(ball, lit)
    return c
