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


def box_iou(mask, box):
    """IoU against the floor with the box counted in."""
    bx0, by0, bx1, by1 = box

    def truth(x, y):
        return is_floor(x, y) or (bx0 <= x < bx1 and by0 <= y < by1)
    both = sum(1 for y in range(H) for x in range(W) if mask[y][x] and truth(x, y))
    either = sum(1 for y in range(H) for x in range(W) if mask[y][x] or truth(x, y))
    return both / either


@suite.case
def further_marks_solve_the_whole_surface_again():
    out = suite.path("marks.tlm")
    # A second "part of" mark on the box takes the box in with the floor.
    res = cli.run("select", room, "--area", "Floor", "--method", "surface", "--at", "60,150", "--at", "175,117",
                  "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    report = json.loads(res.out)
    expect_equal(report["marks"], 2, "marks counted")
    mask = even_odd(read_template(read(out)).areas[0].outline)
    expect(box_iou(mask, BOX) >= 0.95, "floor and box %.4f" % box_iou(mask, BOX))
    # A "not" mark on the box after it takes it out again: the later mark
    # rules, and the floor comes back as from the one click.
    res = cli.run("select", room, "--area", "Floor", "--method", "surface", "--at", "60,150", "--at", "175,117",
                  "--not", "175,117", "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    expect_equal(json.loads(res.out)["marks"], 3, "marks counted")
    undone = even_odd(read_template(read(out)).areas[0].outline)
    expect(iou(undone) >= 0.97, "floor without the box %.4f" % iou(undone))
    expect(not any(undone[y][x] for y in range(100, 136) for x in range(155, 195)), "box left out")
    # A "not" mark on the sunlit patch leaves the rest of the floor.
    res = cli.run("select", room, "--area", "Floor", "--method", "surface", "--at", "130,150", "--not", "70,145",
                  "--out", out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    shaded = even_odd(read_template(read(out)).areas[0].outline)
    sx0, sy0, sx1, sy1 = SUN
    inside_sun = sum(shaded[y][x] for y in range(sy0 + 4, sy1 - 4) for x in range(sx0 + 4, sx1 - 4))
    expect(inside_sun == 0, "sunlit patch left out (%d pixels taken)" % inside_sun)
    expect(shaded[100][200] and shaded[160][150], "shaded floor kept")


@suite.case
def marks_are_checked_before_anything_is_written():
    before = read(room)
    for args, code in ((["--method", "surface", "--not", "5,5"], 2),            # no "part of" mark
                       (["--at", "5,5", "--at", "6,6"], 2),                     # the wand takes one
                       (["--at", "5,5", "--not", "6,6"], 2),
                       (["--method", "surface", "--at", "5,5", "--not"], 2),    # a mark needs its point
                       (["--method", "surface", "--at", "5,5", "--not", "7"], 2),
                       (["--method", "surface", "--at", "5,5", "--not", "400,5"], 1)):  # outside
        res = cli.run("select", room, "--area", "Floor", *args)
        expect_equal(res.code, code, "%r: exit (%s)" % (args, res.describe()))
        expect(res.err.strip() != "", "%r: a sentence" % args)
    expect_equal(read(room), before, "template after refusals")


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
