"""`tilemont-cli lay`: pieces laid at their real size with joints where the
pitch puts them in the exported picture, the counts of laid and cut pieces
against a count by hand, the same seed giving the same file, the pattern
kept in its own block that an independent reader finds, and usage errors
leaving the template alone."""

import json
import os

from clitest import Suite, expect, expect_equal
from refcompose import read_bmp
from tlmformat import png_bytes, read_template, solid

suite = Suite()
cli = suite.cli

W, H = 640, 360
# The floor: picture pixels 20..620 x 30..330, 600 x 300 px; a reference
# line of 100 px is 20 cm, so 5 px a cm and the floor is 120 x 60 cm.
FLOOR = [[20.0, 30.0], [620.0, 30.0], [620.0, 330.0], [20.0, 330.0]]
REFERENCE = "20,30,120,30"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def make_room():
    folder = os.path.join(suite.tmp, "room")
    os.makedirs(folder, exist_ok=True)
    suite.write(os.path.join("room", "picture.png"), png_bytes(W, H, solid((90, 90, 90))))
    suite.write(os.path.join("room", "tile.png"), png_bytes(8, 8, solid((10, 200, 10))))
    desc = {"picture": "picture.png",
            "areas": [{"name": "Floor", "texture": "tile.png", "outline": [FLOOR]}, {"name": "Wall"}]}
    src = suite.write(os.path.join("room", "desc.json"), json.dumps(desc).encode())
    out = os.path.join(folder, "room.tlm")
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make (%s)" % res.describe())
    return out


room = make_room()
# 100 x 100 px tiles of one colour each, and four plank variants.
white = suite.write("white.png", png_bytes(100, 100, solid((250, 250, 250))))
planks = [suite.write("plank%d.png" % i, png_bytes(120, 20, lambda x, y, i=i: (150 + 20 * i, 100 + (x * 7 + y * 3 + i) % 40, 50)))
          for i in range(4)]


def lay(*args, out=None):
    out = out or suite.path("laid.tlm")
    res = cli.run("lay", room, "--area", "Floor", "--out", out, *args)
    expect_equal(res.code, 0, "lay %r (%s)" % (args, res.describe()))
    expect_equal(res.out.count("\n"), 1, "one line")
    return json.loads(res.out), out


@suite.case
def straight_tiles_lie_at_their_real_size_with_joints_where_the_pitch_puts_them():
    # 20 cm tiles with 4 mm joints from the floor's corner: pitch 20.4 cm,
    # 102 px; joints 2 px wide at 100..102 px past each tile's start.
    report, out = lay("--pattern", "straight", "--piece", white, "--size", "20x20", "--joint", "4",
                      "--joint-colour", "#000000", "--origin", "corner", "--reference", REFERENCE, "--length", "20")
    expect_equal(sorted(report), sorted(["pattern", "pieces", "cut", "smallestCut", "realSize", "texture",
                                         "pixelsPerCm", "ms"]), "keys")
    expect_equal(report["pattern"], "straight", "pattern")
    expect_equal(report["realSize"], True, "real size")
    # 120 / 20.4 = 5.88 columns, 60 / 20.4 = 2.94 rows: 6 x 3 pieces, of
    # which the last column and the last row are cut.
    expect_equal(report["pieces"], 18, "pieces")
    expect_equal(report["cut"], 6 + 3 - 1, "cut")
    # The narrowest: the last column, 120 - 5 * 20.4 = 18 cm of 20.
    expect(abs(report["smallestCut"] - 0.9) < 0.002, "smallest cut %r" % report["smallestCut"])

    bmp = suite.path("laid.bmp")
    res = cli.run("export", out, bmp)
    expect_equal(res.code, 0, "export (%s)" % res.describe())
    img = read_bmp(read(bmp))
    row = 30 + 50  # through the first row of tiles
    dark = [x for x in range(20, 620) if img.px[row * W + x][0] < 60]
    want = []
    for k in range(6):
        start = 20 + 102 * k
        want += [start + 100, start + 101]
    want = [x for x in want if x < 620]
    expect_equal(dark, want, "joint columns")
    column = 20 + 50
    dark = [y for y in range(30, 330) if img.px[y * W + column][0] < 60]
    expect_equal(dark, [130, 131, 232, 233], "joint rows")
    # Outside the floor the picture stays.
    expect(all(abs(c - 90) <= 2 for c in img.px[10 * W + 10]), "picture outside: %r" % (img.px[10 * W + 10],))

    info = cli.info(out)["areas"][0]
    expect_equal(info["pattern"], {"layout": "straight", "pieceCm": [20, 20], "variants": 1, "angle": 0,
                                   "jointMm": 4, "jointColour": "#000000", "seed": 1, "turn180": True,
                                   "turn90": False, "origin": "corner"}, "info")
    t = read_template(read(out))
    expect_equal(t.areas[0].pattern["layout"], "straight", "independent reader: layout")
    expect_equal(t.areas[0].pattern["variants"], [read(white)], "independent reader: the piece's file")
    expect_equal(t.areas[1].pattern, None, "independent reader: the other area")


@suite.case
def the_same_seed_writes_the_same_file_and_another_seed_another():
    args = ["--pattern", "herringbone", "--piece", ",".join(planks), "--size", "60x10", "--joint", "2",
            "--reference", REFERENCE, "--length", "20"]
    a, first = lay(*args, "--seed", "9", out=suite.path("seed-a.tlm"))
    b, second = lay(*args, "--seed", "9", out=suite.path("seed-b.tlm"))
    c, third = lay(*args, "--seed", "10", out=suite.path("seed-c.tlm"))
    expect_equal(read(first), read(second), "same seed")
    expect(read(first) != read(third), "another seed wrote the same file")
    expect_equal((a["pieces"], a["cut"]), (c["pieces"], c["cut"]), "the seed moves no piece")
    expect(0 < a["smallestCut"] <= 1 and a["cut"] > 0, "cuts %r" % a)
    expect_equal(cli.info(first)["areas"][0]["pattern"]["variants"], 4, "variants")


@suite.case
def without_a_reference_the_pieces_lie_at_their_images_scale():
    report, out = lay("--pattern", "offset-half", "--piece", white, "--size", "20x20")
    expect_equal(report["realSize"], False, "real size")
    # 100 px for 20 cm: 5 texture pixels a cm, drawn one to one.
    expect_equal(report["pixelsPerCm"], 5, "pixels per cm")


@suite.case
def usage_errors_exit_2_and_leave_the_template():
    before = read(room)
    base = ["--area", "Floor", "--piece", white, "--size", "20x20"]
    bad = [
        [room],
        [room, "--area", "Floor", "--pattern", "straight", "--piece", white],
        [room, *base, "--pattern", "zigzag"],
        [room, *base, "--pattern", "straight", "--joint", "-1"],
        [room, *base, "--pattern", "straight", "--joint-colour", "red"],
        [room, *base, "--pattern", "straight", "--seed", "-3"],
        [room, *base, "--pattern", "straight", "--origin", "1,2,3"],
        [room, *base, "--pattern", "straight", "--reference", "1,2,3,4"],
        [room, "--area", "Floor", "--piece", white, "--size", "20", "--pattern", "straight"],
        [room, "--area", "Floor", "--piece", white, "--size", "0x20", "--pattern", "straight"],
        [room, *base, "--pattern", "straight", "--bogus", "1"],
        [room, "--area", "Ceiling", "--piece", white, "--size", "20x20", "--pattern", "straight"],
    ]
    for args in bad:
        res = cli.run("lay", *args)
        expect_equal(res.code, 2, "%r: exit (%s)" % (args[1:], res.describe()))
        expect(res.out == "" and res.err.strip(), "%r: stdout %r stderr %r" % (args[1:], res.out, res.err))
    res = cli.run("lay", room, "--area", "Floor", "--piece", suite.path("missing.png"), "--size", "20x20",
                  "--pattern", "straight")
    expect_equal(res.code, 1, "missing piece (%s)" % res.describe())
    # An area without an outline has no surface to lay on.
    res = cli.run("lay", room, "--area", "Wall", "--piece", white, "--size", "20x20", "--pattern", "straight")
    expect_equal(res.code, 1, "no outline (%s)" % res.describe())
    expect_equal(read(room), before, "template after errors")


suite.finish()
