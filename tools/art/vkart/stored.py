"""Stored picture blocks: a class name byte string, then TDIB or TBitmap data.

A TDIB is a bare 40-byte bitmap header, a 256-entry colour table at 8 bits per pixel
and bottom-up rows padded to 4 bytes. A TBitmap is a 32-bit byte count followed by a
whole BMP file (14-byte file header, the same 40-byte header, 2834 pixels per metre).
"""

import struct

import numpy as np

PIXELS_PER_METRE = 2834


def _row_size(width, bpp):
    return (width * bpp // 8 + 3) & ~3


def _rows(pixels, bpp):
    """Bottom-up rows, each padded with zero bytes to a multiple of 4."""
    height, width = pixels.shape[:2]
    size = _row_size(width, bpp)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        if bpp == 24:
            row = pixels[y, :, ::-1].astype(np.uint8).tobytes()  # blue, green, red
        else:
            row = pixels[y].astype(np.uint8).tobytes()
        out += row + bytes(size - len(row))
    return bytes(out)


def _info_header(width, height, bpp, ppm):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, _row_size(width, bpp) * height, ppm, ppm, 0, 0)


def _name(cls):
    return bytes([len(cls)]) + cls.encode("ascii")


def tdib_24(rgb):
    """rgb: uint8 array (height, width, 3)."""
    h, w = rgb.shape[:2]
    return _name("TDIB") + _info_header(w, h, 24, 0) + _rows(rgb, 24)


def tdib_8(indices, palette):
    """indices: uint8 array (height, width); palette: 256 (r, g, b) entries."""
    assert len(palette) == 256
    h, w = indices.shape
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return _name("TDIB") + _info_header(w, h, 8, 0) + table + _rows(indices, 8)


def tbitmap_24(rgb):
    h, w = rgb.shape[:2]
    body = _info_header(w, h, 24, PIXELS_PER_METRE) + _rows(rgb, 24)
    bmp = b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, 54) + body
    return _name("TBitmap") + struct.pack("<I", len(bmp)) + bmp


def read_block(data):
    """Decodes a stored block into (class name, bits per pixel, rgb uint8 array, indices or None, palette or None)."""
    n = data[0]
    cls = data[1 : 1 + n].decode("ascii")
    pos = 1 + n
    if cls == "TBitmap":
        (count,) = struct.unpack_from("<I", data, pos)
        pos += 4
        if data[pos : pos + 2] != b"BM" or len(data) != pos + count:
            raise ValueError("bad TBitmap block")
        pos += 14
    elif cls != "TDIB":
        raise ValueError("unknown class " + cls)
    size, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, pos)
    if size != 40 or planes != 1 or comp != 0 or h <= 0:
        raise ValueError("unsupported header")
    pos += 40
    palette = None
    if bpp == 8:
        palette = [(data[pos + 4 * i + 2], data[pos + 4 * i + 1], data[pos + 4 * i]) for i in range(256)]
        pos += 1024
    rs = _row_size(w, bpp)
    if len(data) != pos + rs * h:
        raise ValueError("pixel rows do not match the header")
    rows = np.frombuffer(data, dtype=np.uint8, count=rs * h, offset=pos).reshape(h, rs)[::-1]
    if bpp == 24:
        rgb = rows[:, : w * 3].reshape(h, w, 3)[:, :, ::-1].copy()
        return cls, bpp, rgb, None, palette
    indices = rows[:, :w].copy()
    rgb = np.array(palette, dtype=np.uint8)[indices]
    return cls, bpp, rgb, indices, palette
