#!/usr/bin/env python3
"""Writes N oak plank photographs made from noise: long grain lines that
wander, a few knots, a tone per plank, so every variant is its own plank.
usage: make_oak_planks.py OUT_DIR [--count N] [--width PX] [--height PX]"""

import argparse
import math
import os
import random
import struct
import zlib


def png(width, height, rows):
    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))
    raw = b"".join(b"\0" + bytes(r) for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def plank(width, height, seed):
    rnd = random.Random(seed)
    tone = rnd.uniform(-18, 18)
    # Grain: a sum of a few slow waves across the plank, each line's
    # position drifting along it.
    waves = [(rnd.uniform(0.5, 3.0), rnd.uniform(0, 2 * math.pi), rnd.uniform(2, 9)) for _ in range(4)]
    lines = rnd.uniform(4, 8)
    # Streaks along the grain: a smoothed random tone per row.
    streak, level = [], 0.0
    for _ in range(height):
        level = 0.8 * level + rnd.uniform(-0.05, 0.05)
        streak.append(level)
    knots = [(rnd.uniform(0.1, 0.9) * width, rnd.uniform(0.2, 0.8) * height, rnd.uniform(0.02, 0.05) * height * 3)
             for _ in range(rnd.randint(0, 2))]
    rows = []
    for y in range(height):
        row = bytearray()
        fy = y / height
        for x in range(width):
            fx = x / width
            drift = sum(a * math.sin(2 * math.pi * f * fx + p) for f, p, a in waves) / height
            for kx, ky, kr in knots:
                d = math.hypot(x - kx, (y - ky) * 2.5)
                drift += kr * 3 / height * math.exp(-d / (kr * 4))
            g = math.sin(2 * math.pi * lines * (fy + drift))
            fine = math.sin(2 * math.pi * 31 * (fy + 0.5 * drift) + 3 * fx)
            v = 0.62 + 0.08 * g + 0.03 * fine + streak[y] + rnd.uniform(-0.015, 0.015)
            for kx, ky, kr in knots:
                d = math.hypot(x - kx, (y - ky) * 2.5)
                v -= 0.25 * math.exp(-(d / kr) ** 2)
            r = 196 * v + tone + 30
            row += bytes((max(0, min(255, int(r))), max(0, min(255, int(r * 0.74))), max(0, min(255, int(r * 0.46)))))
        rows.append(row)
    return png(width, height, rows)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=4)
    ap.add_argument("--width", type=int, default=900)
    ap.add_argument("--height", type=int, default=150)
    a = ap.parse_args()
    os.makedirs(a.out, exist_ok=True)
    for i in range(a.count):
        path = os.path.join(a.out, "oak-%d.png" % (i + 1))
        with open(path, "wb") as f:
            f.write(plank(a.width, a.height, 1000 + i))
        print(path)


if __name__ == "__main__":
    main()
