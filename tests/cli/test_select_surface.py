"""`tilemont-cli select --method surface`: the surface finder's region around
a click (and within a rough rectangle) becomes an area's outline. A drawn
room whose floor is known pixel for pixel: grey tiles with dark grout under a
plain wall, a box standing on the floor and a brighter patch of sunlight."""

import json
import os

from clitest import Suite, expect, expect_equal
from tlmformat import png_bytes, read_template, solid

suite = Suite()
cli = suite.cli

W, H = 240, 180
HORIZON = 70
BOX = (150, 95, 200, 140)  # x0, y0, x1, y1
SUN = (30, 120, 110, 170)


def is_floor(x, y):
    bx0, by0, bx1, by1 = BOX
    return y >= HORIZON and not (bx0 <= x < bx1 and by0 <= y < by1)


def room_pixel(x, y):
    if y < HORIZON - 4:
        return (200, 190, 160)  # warm paint
    if y < HORIZON:
        return (245, 245, 245)  # skirting
    if not is_floor(x, y):
        return (40, 70, 150)  # a blue box
    if x % 16 == 0 or y % 12 == 0:
        grey = 90  # grout
    else:
        grey = 150 + ((x // 16 * 7 + y // 12 * 3) % 5) * 6
    sx0, sy0, sx1, sy1 = SUN
    light = 1.5 if sx0 <= x < sx1 and sy0 <= y < sy1 else 1.0
    return tuple(min(255, int(grey * light)) for _ in range(3))


def even_odd(outline):
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


def iou(mask):
    both = sum(1 for y in range(H) for x in range(W) if mask[y][x] and is_floor(x, y))
    either = sum(1 for y in range(H) for x in range(W) if mask[y][x] or is_floor(x, y))
    return both / either


def make(stem):
    os.makedirs(suite.path(stem), exist_ok=True)
    suite.write(os.path.join(stem, "picture.png"), png_bytes(W, H, room_pixel))
    suite.write(os.path.join(stem, "tile.png"), png_bytes(8, 8, solid((180, 120, 90))))
    desc = {"picture": "picture.png",
            "areas": [{"name": "Floor", "texture": "tile.png", "outline": [[[0, 100], [50, 100], [50, 150]]]}]}
    src = suite.write(os.path.join(stem, "desc.json"), json.dumps(desc).encode())
    out = suite.path(os.path.join(stem, stem + ".tlm"))
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make (%s)" % res.describe())
    return out


room = make("room")


def read(path):
    with open(path, "rb") as f:
        return f.read()


@suite.case
def a_click_finds_the_floor_and_replaces_its_outline():
    before = read_template(read(room)).areas[0]
    out = suite.path("click.tlm")
    res = cli.run("select", room, "--area", "Floor", "--at", "60,150", "--method", "surface", "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    report = json.loads(res.out)
    floor = read_template(read(out)).areas[0]
    mask = even_odd(floor.outline)
    expect(iou(mask) >= 0.97, "IoU with the drawn floor %.4f" % iou(mask))
    expect_equal(report["pixels"], sum(map(sum, mask)), "pixel count")
    expect_equal(report["vertices"], sum(map(len, floor.outline)), "vertices")
    expect((floor.texture, floor.rotation) == (before.texture, before.rotation), "texture and placement kept")


@suite.case
def a_rough_rectangle_bounds_the_floor():
    out = suite.path("around.tlm")
    res = cli.run("select", room, "--area", "Ground", "--at", "60,150", "--method", "surface",
                  "--around", "0,60,240,120", "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    ground = read_template(read(out)).areas[1]
    expect_equal(ground.texture, b"", "new area has no texture")
    mask = even_odd(ground.outline)
    expect(iou(mask) >= 0.97, "IoU with the drawn floor %.4f" % iou(mask))
    # The rectangle is a limit: a narrower one cuts the floor off at its edge.
    res = cli.run("select", room, "--area", "Ground", "--at", "60,150", "--method", "surface",
                  "--around", "0,60,120,120", "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    mask = even_odd(read_template(read(out)).areas[1].outline)
    expect(not any(mask[y][x] for y in range(H) for x in range(121, W)), "nothing right of the rectangle")


@suite.case
def options_of_the_other_method_are_refused():
    before = read(room)
    for args in (["--method", "surface", "--tolerance", "20"], ["--method", "surface", "--global"],
                 ["--around", "0,0,10,10"], ["--method", "surface", "--around", "1,2,3"],
                 ["--method", "surface", "--around", "0,0,0,5"]):
        res = cli.run("select", room, "--area", "Floor", "--at", "5,5", *args)
        expect_equal(res.code, 2, "%r: exit (%s)" % (args, res.describe()))
        expect(res.err.strip() != "", "%r: a sentence" % args)
    res = cli.run("select", room, "--area", "Floor", "--at", "240,5", "--method", "surface")
    expect_equal(res.code, 1, "outside (%s)" % res.describe())
    expect_equal(read(room), before, "template after refusals")


suite.finish()
