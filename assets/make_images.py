#!/usr/bin/env python3
"""Draws the program's window icon (velkor.ico: the small and large icons of
100 % to 200 % scaling, 16 to 64 pixels) and its About logo (logo.png: 128 x
128 RGBA) from a few shapes. Pure Python with the standard library, so running
it again gives the same files byte for byte.

The logo's PNG holds exactly IHDR, iCCP ("ICC Profile"), pHYs (2835 pixels per
metre), one IDAT and IEND: the layout the About window's decoder expects. The
build compiles logo.png into the program (assets/CMakeLists.txt).

Usage: python3 assets/make_images.py [OUTPUT_DIR]   (default: this folder)
"""
import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4  # sub-samples per pixel edge, for smooth shape borders

TOP_BLUE = (36, 104, 212)
BOTTOM_BLUE = (16, 52, 140)
WHITE = (255, 255, 255)
ORANGE = (255, 160, 32)


def rounded_square(u, v, inset, radius):
    """Inside test of a square from inset to 1 - inset with rounded corners."""
    lo, hi = inset + radius, 1.0 - inset - radius
    dx = max(lo - u, 0.0, u - hi)
    dy = max(lo - v, 0.0, v - hi)
    return dx * dx + dy * dy <= radius * radius and inset <= u <= 1 - inset and inset <= v <= 1 - inset


def disc(u, v, cx, cy, r):
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def segment(u, v, ax, ay, bx, by, half_width):
    """Inside test of a line from a to b with round ends."""
    px, py = u - ax, v - ay
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
    return (px - t * dx) ** 2 + (py - t * dy) ** 2 <= half_width * half_width


# A network split into sub-networks: one router node feeding three hosts.
ROOT = (0.5, 0.27)
LEAVES = [(0.22, 0.72), (0.5, 0.76), (0.78, 0.72)]


def sample(u, v):
    """Colour (r, g, b, a) of the picture at u, v in 0..1, top-left origin."""
    if not rounded_square(u, v, 0.04, 0.2):
        return (0, 0, 0, 0)
    shade = v
    colour = tuple(round(t + (b - t) * shade) for t, b in zip(TOP_BLUE, BOTTOM_BLUE))
    if disc(u, v, ROOT[0], ROOT[1], 0.13):
        colour = ORANGE if not disc(u, v, ROOT[0], ROOT[1], 0.065) else WHITE
    elif any(disc(u, v, x, y, 0.1) for x, y in LEAVES):
        colour = WHITE
    elif any(segment(u, v, ROOT[0], ROOT[1], x, y, 0.035) for x, y in LEAVES):
        colour = WHITE
    return colour + (255,)


def render(size):
    """Rows of straight-alpha RGBA pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha),))
        rows.append(row)
    return rows


# ---------------------------------------------------------------- icon file

def icon_image(rows):
    """One icon entry: a 32-bit DIB (double height) with its AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_icon(path, sizes):
    images = [icon_image(render(s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# ---------------------------------------------------------------- PNG logo

def s15(value):
    return struct.pack(">i", round(value * 65536))


def icc_profile():
    """A small ICC v2 display profile: sRGB primaries (D50) and gamma 2.2."""
    def text_desc(text):
        ascii_text = text.encode("ascii") + b"\0"
        return (b"desc" + bytes(4) + struct.pack(">I", len(ascii_text)) + ascii_text
                + struct.pack(">II", 0, 0) + struct.pack(">HB", 0, 0) + bytes(67))

    def xyz(x, y, z):
        return b"XYZ " + bytes(4) + s15(x) + s15(y) + s15(z)

    curve = b"curv" + bytes(4) + struct.pack(">IH", 1, 0x0233) + bytes(2)
    tags = [
        (b"desc", text_desc("Velkor sRGB")),
        (b"cprt", b"text" + bytes(4) + b"No copyright, use freely\0"),
        (b"wtpt", xyz(0.9642, 1.0, 0.8249)),
        (b"rXYZ", xyz(0.4361, 0.2225, 0.0139)),
        (b"gXYZ", xyz(0.3851, 0.7169, 0.0971)),
        (b"bXYZ", xyz(0.1431, 0.0606, 0.7141)),
        (b"rTRC", curve),
        (b"gTRC", curve),
        (b"bTRC", curve),
    ]
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    table = struct.pack(">I", len(tags))
    data = b""
    for signature, body in tags:
        body += bytes(-len(body) % 4)
        table += signature + struct.pack(">II", offset + len(data), len(body))
        data += body
    size = 128 + table_size + len(data)
    header = (struct.pack(">II", size, 0) + struct.pack(">I", 0x02100000) + b"mntr" + b"RGB "
              + b"XYZ " + struct.pack(">6H", 2026, 1, 1, 0, 0, 0) + b"acsp" + bytes(24)
              + struct.pack(">I", 0) + s15(0.9642) + s15(1.0) + s15(0.8249) + bytes(48))
    assert len(header) == 128
    return header + table + data


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, rows):
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"iCCP", b"ICC Profile\0\0" + zlib.compress(icc_profile(), 9))
    png += chunk(b"pHYs", struct.pack(">IIB", 2835, 2835, 1))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    # Small icons: 16, 20, 24, 32 pixels at 100, 125, 150, 200 %; large ones:
    # 32, 40, 48, 64. Each window takes the pair of its monitor's DPI.
    write_icon(os.path.join(out, "velkor.ico"), [16, 20, 24, 32, 40, 48, 64])
    write_png(os.path.join(out, "logo.png"), render(128))


if __name__ == "__main__":
    main()
