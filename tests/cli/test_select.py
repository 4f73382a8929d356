"""`tilemont-cli select`: the wand's region around a pixel becomes an area's
outline. The outline in the written file, filled by the even-odd rule, is
checked pixel for pixel against a flood fill written here from scratch on
the picture as the template stores it (decoded by djpeg), with its own
L*a*b* conversion and speck removal."""

import json
import os
import subprocess
from collections import deque

from clitest import Suite, expect, expect_equal
from tlmformat import png_bytes, read_template, solid

suite = Suite()
cli = suite.cli

W, H = 64, 48


def room_pixel(x, y):
    """Greys only, so that the stored JPEG's colour subsampling changes
    nothing: a black ring around a white hole with a pixel meeting its
    corner diagonally, a block with a 2x2 hole, a separate block and a
    three-pixel speck."""
    black = (0, 0, 0)
    if 8 <= x < 40 and 8 <= y < 32 and not (12 <= x < 36 and 12 <= y < 28):
        return black
    if (x, y) == (40, 32):
        return black
    if 44 <= x < 60 and 8 <= y < 24 and not (50 <= x < 52 and 14 <= y < 16):
        return black
    if 20 <= x < 30 and 38 <= y < 46:
        return black
    if 2 <= x < 5 and y == 44:
        return black
    return (240, 240, 240)


def lab(rgb):
    def linear(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = map(linear, rgb)
    x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047
    y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b
    z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883

    def f(t):
        return t ** (1 / 3) if t > 216 / 24389 else (24389 / 27 * t + 16) / 116
    return 116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))


def difference(p, q):
    a, b = lab(p), lab(q)
    return (((a[0] - b[0]) / 2) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2) ** 0.5


def stored_picture(path):
    """The template's picture as decoded pixels, rows of (r, g, b)."""
    with open(path, "rb") as f:
        jpeg = read_template(f.read()).picture
    ppm = subprocess.run(["djpeg", "-pnm"], input=jpeg, capture_output=True, check=True).stdout
    parts = ppm.split(maxsplit=4)
    w, h = int(parts[1]), int(parts[2])
    body = parts[4]
    return [[tuple(body[3 * (y * w + x):3 * (y * w + x) + 3]) for x in range(w)] for y in range(h)]


def parts_of(mask, value, neighbours):
    seen = [[False] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            if mask[y][x] != value or seen[y][x]:
                continue
            part, todo = [], deque([(x, y)])
            seen[y][x] = True
            while todo:
                px, py = todo.popleft()
                part.append((px, py))
                for dx, dy in neighbours:
                    nx, ny = px + dx, py + dy
                    if 0 <= nx < W and 0 <= ny < H and not seen[ny][nx] and mask[ny][nx] == value:
                        seen[ny][nx] = True
                        todo.append((nx, ny))
            yield part


FOUR = [(1, 0), (-1, 0), (0, 1), (0, -1)]
EIGHT = FOUR + [(1, 1), (1, -1), (-1, 1), (-1, -1)]


def expected_region(pixels, at, tolerance, contiguous, speck=16):
    seed = pixels[at[1]][at[0]]
    near = [[difference(pixels[y][x], seed) for x in range(W)] for y in range(H)]
    # The premise: rounding cannot decide any pixel.
    expect(all(abs(d - tolerance / 2) > 1.5 for row in near for d in row), "a pixel lies on the tolerance's edge")
    mask = [[1 if d <= tolerance / 2 else 0 for d in row] for row in near]
    if contiguous:
        for part in parts_of(mask, 1, EIGHT):
            if at not in part:
                for x, y in part:
                    mask[y][x] = 0
    for part in list(parts_of(mask, 1, EIGHT)):
        if len(part) < speck and at not in part:
            for x, y in part:
                mask[y][x] = 0
    for part in list(parts_of(mask, 0, FOUR)):
        if len(part) < speck:
            for x, y in part:
                mask[y][x] = 1
    return mask


def even_odd(outline):
    """The outline filled at pixel centres by the even-odd rule."""
    mask = [[0] * W for _ in range(H)]
    for y in range(H):
        cy = y + 0.5
        xs = []
        for contour in outline:
            for (ax, ay), (bx, by) in zip(contour, contour[1:] + contour[:1]):
                if (ay <= cy) != (by <= cy):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
        xs.sort()
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(W):
                if a < x + 0.5 < b:
                    mask[y][x] = 1
    return mask


def make(stem, picture, areas):
    desc = {"areas": areas}
    os.makedirs(suite.path(stem), exist_ok=True)
    if picture is not None:
        suite.write(os.path.join(stem, "picture.png"), picture)
        desc["picture"] = "picture.png"
    suite.write(os.path.join(stem, "tile.png"), png_bytes(8, 8, solid((180, 120, 90))))
    src = suite.write(os.path.join(stem, "desc.json"), json.dumps(desc).encode())
    out = suite.path(os.path.join(stem, stem + ".tlm"))
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make %s (%s)" % (stem, res.describe()))
    return out


def read(path):
    with open(path, "rb") as f:
        return f.read()


FLOOR = {"name": "Floor", "texture": "tile.png", "outline": [[[0, 40], [63, 40], [63, 47], [0, 47]]]}
room = make("room", png_bytes(W, H, room_pixel), [FLOOR])
pixels = stored_picture(room)


def select_and_check(args, at, tolerance, contiguous):
    out = suite.path("selected-%d.tlm" % len(os.listdir(suite.tmp)))
    res = cli.run("select", room, "--at", "%d,%d" % at, "--out", out, *args)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    expect_equal(res.out.count("\n"), 1, "one line")
    report = json.loads(res.out)
    expect_equal(sorted(report), ["contours", "milliseconds", "pixels", "vertices"], "keys")
    written = read_template(read(out))
    want = expected_region(pixels, at, tolerance, contiguous)
    return report, written, want


@suite.case
def the_wand_outlines_exactly_the_region_it_counts():
    report, written, want = select_and_check(["--area", "Ring", "--tolerance", "40"], (9, 9), 40, True)
    floor, ring = written.areas
    expect_equal(ring.name, "Ring", "new area's name")
    expect_equal(ring.texture, b"", "new area has no texture")
    expect_equal(even_odd(ring.outline), want, "outline filled by the even-odd rule")
    expect_equal(report["pixels"], sum(map(sum, want)), "pixel count")
    # The ring with the pixel at its corner, and its hole.
    expect_equal(report["contours"], 2, "contours")
    expect_equal(len(ring.outline), 2, "contours in the file")
    expect_equal(report["vertices"], sum(map(len, ring.outline)), "vertices")
    expect(report["milliseconds"] >= 0, "time")
    expect_equal(floor.outline, [[(float(x), float(y)) for x, y in c] for c in FLOOR["outline"]], "other area")


@suite.case
def global_selection_replaces_an_outline_and_keeps_the_texture():
    before = read_template(read(room)).areas[0]
    report, written, want = select_and_check(["--area", "Floor", "--global", "--tolerance", "60"], (45, 9), 60,
                                             False)
    expect_equal(len(written.areas), 1, "no area added")
    floor = written.areas[0]
    expect_equal(even_odd(floor.outline), want, "outline filled by the even-odd rule")
    # Ring, corner pixel, filled block and separate block; the speck is gone.
    expect_equal(report["contours"], 4, "contours")
    expect_equal((floor.texture, floor.scale, floor.rotation), (before.texture, before.scale, before.rotation),
                 "texture and placement")


@suite.case
def bad_requests_are_refused_and_leave_the_template():
    before = read(room)
    usage = [
        [room],
        [room, "--area", "Floor"],
        [room, "--at", "1,1"],
        [room, "--area", "Floor", "--at", "1"],
        [room, "--area", "Floor", "--at", "a,b"],
        [room, "--area", "Floor", "--at", "1,1", "--tolerance", "256"],
        [room, "--area", "Floor", "--at", "1,1", "--tolerance", "-1"],
        [room, "--area", "Floor", "--at", "1,1", "--method", "lasso"],
        [room, "--area", "Floor", "--at", "1,1", "--bogus"],
        [room, "--area", "", "--at", "1,1"],
    ]
    for args in usage:
        res = cli.run("select", *args)
        expect_equal(res.code, 2, "%r: exit (%s)" % (args[1:], res.describe()))
        expect(res.out == "" and res.err.strip(), "%r: stdout %r stderr %r" % (args[1:], res.out, res.err))
    for at in ("64,0", "0,48", "-1,5"):
        res = cli.run("select", room, "--area", "Floor", "--at", at)
        expect_equal(res.code, 1, "%s: exit (%s)" % (at, res.describe()))
        expect("outside the picture" in res.err, "%s: %r" % (at, res.err))
    bare = make("bare", None, [{"name": "A"}])
    res = cli.run("select", bare, "--area", "A", "--at", "0,0")
    expect_equal(res.code, 1, "no picture (%s)" % res.describe())
    expect("has no picture" in res.err, "no picture: %r" % res.err)
    res = cli.run("select", suite.path("missing.tlm"), "--area", "A", "--at", "0,0")
    expect_equal(res.code, 1, "missing file (%s)" % res.describe())
    expect_equal(read(room), before, "template after refusals")


@suite.case
def flat_and_tiny_pictures_take_everything():
    flat = make("flat", png_bytes(5, 3, solid((90, 30, 200))), [])
    res = cli.run("select", flat, "--area", "All", "--at", "4,2", "--tolerance", "0")
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    expect_equal(json.loads(res.out)["pixels"], 15, "pixels")
    expect_equal(read_template(read(flat)).areas[0].outline, [[(0.0, 0.0), (5.0, 0.0), (5.0, 3.0), (0.0, 3.0)]],
                 "outline written in place")
    one = make("one", png_bytes(1, 1, solid((1, 2, 3))), [])
    res = cli.run("select", one, "--area", "Dot", "--at", "0,0")
    expect_equal((res.code, json.loads(res.out)["pixels"]), (0, 1), "1 x 1 (%s)" % res.describe())


suite.finish()
