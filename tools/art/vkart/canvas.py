"""Supersampled drawing: layers of colour and coverage, shapes, shading and noise.

Pictures are drawn at ss times their size and reduced by averaging. The colour of an
output pixel is the average over the covered samples only, so shapes blend with each
other inside a picture but never with the empty (key) background.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

LIGHT = np.array([-0.55, -0.75, 1.0])
LIGHT = LIGHT / np.linalg.norm(LIGHT)


def rgbf(colour):
    return np.asarray(colour, dtype=np.float32) / 255.0


class Canvas:
    def __init__(self, width, height, ss=1, background=None):
        self.w, self.h, self.ss = width, height, ss
        self.W, self.H = width * ss, height * ss
        self.rgb = np.zeros((self.H, self.W, 3), np.float32)
        self.alpha = np.zeros((self.H, self.W), np.float32)
        if background is not None:
            self.rgb[:] = rgbf(background)
            self.alpha[:] = 1.0

    def grid(self):
        """Sample centres in output pixel units: (x, y) arrays of the high-resolution size."""
        ys, xs = np.mgrid[0 : self.H, 0 : self.W].astype(np.float32)
        return (xs + 0.5) / self.ss, (ys + 0.5) / self.ss

    def paint(self, mask, colour, opacity=1.0):
        """Lays colour (a 0..255 triple or an HxWx3 array of 0..1 values) over the canvas where mask is set."""
        m = np.clip(mask, 0.0, 1.0).astype(np.float32) * opacity
        col = colour if isinstance(colour, np.ndarray) and colour.ndim == 3 else rgbf(colour)
        self.rgb = self.rgb * (1.0 - m[..., None]) + col * m[..., None]
        self.alpha = self.alpha + m * (1.0 - self.alpha)

    def add(self, mask, colour, strength=1.0):
        """Adds light (glow) without changing coverage."""
        col = colour if isinstance(colour, np.ndarray) and colour.ndim == 3 else rgbf(colour)
        self.rgb = np.clip(self.rgb + col * (mask * strength)[..., None], 0.0, 1.0)

    def polygon(self, points):
        img = Image.new("L", (self.W, self.H), 0)
        ImageDraw.Draw(img).polygon([(x * self.ss, y * self.ss) for x, y in points], fill=255)
        return np.asarray(img, np.float32) / 255.0

    def ellipse(self, cx, cy, rx, ry):
        x, y = self.grid()
        return (((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0).astype(np.float32)

    def rect(self, x0, y0, x1, y1):
        x, y = self.grid()
        return ((x >= x0) & (x < x1) & (y >= y0) & (y < y1)).astype(np.float32)

    def reduce(self):
        """Output colour (0..255 floats, HxWx3) and coverage (0..1, HxW)."""
        s = self.ss
        a = self.alpha.reshape(self.h, s, self.w, s)
        c = (self.rgb * self.alpha[..., None]).reshape(self.h, s, self.w, s, 3)
        cov = a.mean(axis=(1, 3))
        total = a.sum(axis=(1, 3))
        col = c.sum(axis=(1, 3)) / np.maximum(total, 1e-6)[..., None]
        return col * 255.0, cov


def shade(normals, base, ambient=0.35, diffuse=0.75, specular=0.5, power=24.0, light=LIGHT):
    """Lambert plus a Phong highlight for unit normals (HxWx3); base is HxWx3 in 0..1."""
    ndl = np.clip((normals * light).sum(axis=-1), 0.0, 1.0)
    view = np.array([0.0, 0.0, 1.0])
    refl = 2.0 * ndl[..., None] * normals - light
    spec = np.clip((refl * view).sum(axis=-1), 0.0, 1.0) ** power
    out = base * (ambient + diffuse * ndl)[..., None] + specular * spec[..., None]
    return np.clip(out, 0.0, 1.0)


def sphere_normals(x, y, cx, cy, r):
    """Unit normals of a sphere seen from the front, and its mask."""
    dx, dy = (x - cx) / r, (y - cy) / r
    d2 = dx * dx + dy * dy
    inside = d2 <= 1.0
    nz = np.sqrt(np.clip(1.0 - d2, 0.0, 1.0))
    return np.stack([dx, dy, nz], axis=-1), inside.astype(np.float32)


class HeightField:
    """A height field built from overlapping parts: each sample keeps the highest part laid on it."""

    def __init__(self, like):
        self.height = np.zeros_like(like)
        self.part = np.zeros(like.shape, np.int8)

    def lay(self, h, index):
        top = h > self.height
        self.height = np.where(top, h, self.height)
        self.part = np.where(top, index, self.part)


def height_normals(height, scale):
    """Normals of a height field (in output pixels) sampled at scale samples per pixel."""
    gy, gx = np.gradient(height * scale)
    n = np.stack([-gx, -gy, np.ones_like(height)], axis=-1)
    return n / np.linalg.norm(n, axis=-1, keepdims=True)


def noise(height, width, beta=2.0, seed=1, low=0.0):
    """Periodic fractal noise in 0..1: white noise filtered by 1/f^beta, so it tiles both ways."""
    rng = np.random.default_rng(seed)
    white = rng.standard_normal((height, width))
    fy = np.fft.fftfreq(height)[:, None]
    fx = np.fft.fftfreq(width)[None, :]
    f = np.sqrt(fx * fx + fy * fy)
    f[0, 0] = 1.0
    spectrum = np.fft.fft2(white) / f ** (beta / 2.0)
    spectrum[0, 0] = 0.0
    if low > 0.0:
        spectrum[f < low] = 0.0
    out = np.real(np.fft.ifft2(spectrum))
    out -= out.min()
    return out / max(out.max(), 1e-9)


def blur(array, radius):
    """Gaussian blur of a 2D 0..1 float array."""
    img = Image.fromarray(np.clip(array * 255.0, 0, 255).astype(np.uint8))
    return np.asarray(img.filter(ImageFilter.GaussianBlur(radius)), np.float32) / 255.0


def text_mask(width, height, pieces, ss=1):
    """Renders text pieces (x, y, text, font path, size) into a 0..1 mask of the given size."""
    img = Image.new("L", (width * ss, height * ss), 0)
    draw = ImageDraw.Draw(img)
    for x, y, text, path, size in pieces:
        draw.text((x * ss, y * ss), text, font=ImageFont.truetype(path, size * ss), fill=255)
    if ss > 1:
        img = img.resize((width, height), Image.LANCZOS)
    return np.asarray(img, np.float32) / 255.0


def to_uint8(col):
    return np.clip(np.rint(col), 0, 255).astype(np.uint8)


def erode(mask, pixels, ss):
    """Shrinks a high-resolution 0..1 mask by about `pixels` output pixels."""
    k = max(1, int(round(pixels * ss)))
    img = Image.fromarray((np.clip(mask, 0, 1) * 255).astype(np.uint8))
    img = img.filter(ImageFilter.MinFilter(2 * k + 1))
    return np.asarray(img, np.float32) / 255.0


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)
