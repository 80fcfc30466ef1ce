#!/usr/bin/env python3
"""Draws the program icon (a blue globe with a white switch arrow) at 16, 24,
32 and 48 pixels and writes res/proxyswitcher.ico as 32-bit BMP-in-ICO.

    python3 scripts/make_icon.py [output.ico]
"""
import math
import struct
import sys
from pathlib import Path

SIZES = (16, 24, 32, 48)


def pixel(size: int, x: int, y: int) -> tuple:
    """Colour (b, g, r, a) of one pixel, sampled 4x4 for smooth edges."""
    samples = []
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / size * 2 - 1
            v = (y + (sy + 0.5) / 4) / size * 2 - 1
            samples.append(shade(u, v))
    a = sum(s[3] for s in samples) / len(samples)
    if a == 0:
        return (0, 0, 0, 0)
    b = sum(s[0] * s[3] for s in samples) / (a * len(samples))
    g = sum(s[1] * s[3] for s in samples) / (a * len(samples))
    r = sum(s[2] * s[3] for s in samples) / (a * len(samples))
    return (round(b), round(g), round(r), round(a))


def shade(u: float, v: float) -> tuple:
    """u, v in -1..1 (v down). Globe of radius 0.92 with meridians and an arrow."""
    d = math.hypot(u, v)
    if d > 0.92:
        return (0, 0, 0, 0)
    if d > 0.84:
        return (120, 50, 10, 255)  # dark blue rim
    # the switch arrow: a bar from left to right with a head on the right
    if -0.12 <= v <= 0.12 and -0.62 <= u <= 0.2:
        return (255, 255, 255, 255)
    if 0.2 <= u <= 0.66 and abs(v) <= (0.66 - u) * 0.9:
        return (255, 255, 255, 255)
    # grid of the globe: equator-parallel lines and one meridian ellipse
    grid = abs(v - 0.45) < 0.05 or abs(v + 0.45) < 0.05 or abs(math.hypot(u / 0.45, v) - 0.88) < 0.1
    light = 0.75 + 0.25 * max(0.0, -(u + v) / 1.3)
    if grid:
        return (230, 170, 90, 255)
    return (round(215 * light), round(120 * light), round(30 * light), 255)


def image(size: int) -> bytes:
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # the alpha channel decides; AND mask all zero
    return header + b"".join(rows) + mask


def main() -> int:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "res/proxyswitcher.ico"
    images = [image(s) for s in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    entries = b""
    for size, data in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out.write_bytes(directory + entries + b"".join(images))
    return 0


if __name__ == "__main__":
    sys.exit(main())
