"""`tilemont-cli fit-perspective`: usage errors leave the template alone, a
picture without straight edges is refused, and on a rendered tiled floor the
fitted plane is the floor's: its edges run to the floor's vanishing points
and equal floor lengths along both tile directions come out equal."""

import json
import math
import os

from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, png_bytes, read_template, solid, write_template

suite = Suite()
cli = suite.cli

W, H = 320, 240
HORIZON = 20.0
VP1, VP2 = (-300.0, HORIZON), (700.0, HORIZON)
ORIGIN = (160.0, 200.0)
TILE_STEP = 0.08
FLOOR = [[(0.0, 60.0), (319.0, 60.0), (319.0, 239.0), (0.0, 239.0)]]


def floor_to_picture(u, v):
    """The floor's homography: its columns are the images of the u and v
    directions (the vanishing points) and of the origin."""
    x = TILE_STEP * (u * VP1[0] + v * VP2[0]) + ORIGIN[0]
    y = TILE_STEP * (u * VP1[1] + v * VP2[1]) + ORIGIN[1]
    w = TILE_STEP * (u + v) + 1.0
    return x / w, y / w


def invert3(m):
    a, b, c, d, e, f, g, h, i = m[0] + m[1] + m[2]
    det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g)
    return [[(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det],
            [(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det],
            [(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det]]


def apply(m, x, y):
    w = m[2][0] * x + m[2][1] * y + m[2][2]
    return ((m[0][0] * x + m[0][1] * y + m[0][2]) / w, (m[1][0] * x + m[1][1] * y + m[1][2]) / w)


# The camera whose principal point is the picture's centre and that sees
# the two floor directions at right angles.
TRUE_FOCAL = math.sqrt(-((VP1[0] - W / 2) * (VP2[0] - W / 2) + (VP1[1] - H / 2) * (VP2[1] - H / 2)))

FLOOR_H = [[TILE_STEP * VP1[0], TILE_STEP * VP2[0], ORIGIN[0]],
           [TILE_STEP * VP1[1], TILE_STEP * VP2[1], ORIGIN[1]],
           [TILE_STEP, TILE_STEP, 1.0]]
PICTURE_TO_FLOOR = invert3(FLOOR_H)


def room_pixel(x, y):
    """A plain wall above, light tiles with dark grout below, 2x2 samples."""
    if y < 55:
        return (150, 150, 150)
    total = 0
    for sx, sy in ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)):
        u, v = apply(PICTURE_TO_FLOOR, x + sx, y + sy)
        grout = (u - math.floor(u)) < 0.07 or (v - math.floor(v)) < 0.07
        total += 50 if grout else 210
    g = total // 4
    return (g, g, g)


def homography_from_corners(corners, canvas):
    """The map from the canvas (0..w, 0..h) onto the four corners (TL, TR,
    BL, BR), solved from the eight equations directly."""
    w, h = canvas
    src = [(0.0, 0.0), (w, 0.0), (0.0, h), (w, h)]
    rows, rhs = [], []
    for (x, y), (X, Y) in zip(src, corners):
        rows.append([x, y, 1, 0, 0, 0, -X * x, -X * y]); rhs.append(X)
        rows.append([0, 0, 0, x, y, 1, -Y * x, -Y * y]); rhs.append(Y)
    n = 8
    a = [r + [b] for r, b in zip(rows, rhs)]
    for col in range(n):
        piv = max(range(col, n), key=lambda r: abs(a[r][col]))
        a[col], a[piv] = a[piv], a[col]
        for r in range(n):
            if r != col:
                f = a[r][col] / a[col][col]
                a[r] = [p - f * q for p, q in zip(a[r], a[col])]
    h8 = [a[i][n] / a[i][i] for i in range(n)]
    return [h8[0:3], h8[3:6], h8[6:8] + [1.0]]


def make(stem, picture, areas):
    folder = os.path.join(suite.tmp, stem)
    os.makedirs(folder, exist_ok=True)
    desc = {"areas": areas}
    if picture is not None:
        suite.write(os.path.join(stem, "picture.png"), picture)
        desc["picture"] = "picture.png"
    suite.write(os.path.join(stem, "tile.png"), png_bytes(30, 30, solid((180, 120, 90))))
    src = suite.write(os.path.join(stem, "desc.json"), json.dumps(desc).encode())
    out = os.path.join(folder, stem + ".tlm")
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make %s (%s)" % (stem, res.describe()))
    return out


def floor_area(name="Floor", texture="tile.png"):
    return {"name": name, "texture": texture, "outline": [[list(p) for p in FLOOR[0]]]}


def read(path):
    with open(path, "rb") as f:
        return f.read()


room = make("room", png_bytes(W, H, room_pixel), [floor_area(), {"name": "Wall"}])


@suite.case
def usage_errors_exit_2_and_leave_the_template():
    before = read(room)
    bad = [
        [room],
        [room, "--area"],
        [room, "--area", "Floor", "--focal", "nan"],
        [room, "--area", "Floor", "--focal", "-5"],
        [room, "--area", "Floor", "--focal", "wide"],
        [room, "--area", "Floor", "--surface", "ceiling"],
        [room, "--area", "Floor", "--length", "60"],
        [room, "--area", "Floor", "--reference", "1,2,3,4", "--length", "60"],
        [room, "--area", "Floor", "--reference", "1,2,3", "--length", "60", "--texture-width", "30"],
        [room, "--area", "Floor", "--reference", "5,5,5,5", "--length", "60", "--texture-width", "30"],
        [room, "--area", "Floor", "--reference", "1,2,3,4", "--length", "0", "--texture-width", "30"],
        [room, "--area", "Floor", "--reference", "1,2,3,4", "--length", "60", "--texture-width", "inf"],
        [room, "--area", "Floor", "--bogus", "1"],
        [room, room, "--area", "Floor"],
        [room, "--area", "Ceiling"],
    ]
    for args in bad:
        res = cli.run("fit-perspective", *args)
        expect_equal(res.code, 2, "%r: exit (%s)" % (args[1:], res.describe()))
        expect(res.out == "" and res.err.strip(), "%r: stdout %r stderr %r" % (args[1:], res.out, res.err))
    expect('its areas are "Floor", "Wall"' in res.err, "missing area: %r" % res.err)
    expect_equal(read(room), before, "template after usage errors")


@suite.case
def ambiguous_names_and_missing_pictures_are_refused():
    twice = make("twice", png_bytes(8, 8, solid((1, 2, 3))), [{"name": "A"}, {"name": "A"}])
    res = cli.run("fit-perspective", twice, "--area", "A")
    expect_equal(res.code, 2, "ambiguous exit (%s)" % res.describe())
    expect('2 areas named "A"' in res.err, "ambiguous: %r" % res.err)
    bare = make("bare", None, [{"name": "A"}])
    res = cli.run("fit-perspective", bare, "--area", "A")
    expect_equal(res.code, 1, "no picture exit (%s)" % res.describe())
    expect("has no picture" in res.err, "no picture: %r" % res.err)


@suite.case
def plain_picture_has_no_perspective():
    grey = make("grey", png_bytes(W, H, solid((128, 128, 128))), [floor_area()])
    before = read(grey)
    res = cli.run("fit-perspective", grey, "--area", "Floor", "--out", suite.path("grey-out.tlm"))
    expect_equal(res.code, 1, "exit (%s)" % res.describe())
    expect_equal(res.out, "", "stdout")
    expect_equal(res.err, "No perspective found in Floor: too few straight edges. Drag the corners instead.\n",
                 "stderr")
    expect_equal(read(grey), before, "template")
    expect(not os.path.exists(suite.path("grey-out.tlm")), "an output was written")


def line_misses(p, q, vp):
    """The angle (degrees) at which the line p-q passes beside the point vp,
    seen from the segment's middle."""
    mx, my = (p[0] + q[0]) / 2, (p[1] + q[1]) / 2
    a = math.atan2(q[1] - p[1], q[0] - p[0])
    b = math.atan2(vp[1] - my, vp[0] - mx)
    d = abs(a - b) % math.pi
    return math.degrees(min(d, math.pi - d))


@suite.case
def tiled_floor_gives_the_floors_plane():
    out = suite.path("fitted.tlm")
    # Two tiles along u from the origin, as a reference of 60 cm: one tile is
    # 30 cm, as wide as the texture says its 30 pixels are.
    ref = floor_to_picture(0, 0) + floor_to_picture(2, 0)
    res = cli.run("fit-perspective", room, "--area", "Floor", "--out", out,
                  "--reference", ",".join(repr(v) for v in ref), "--length", "60", "--texture-width", "30")
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    expect_equal(res.out.count("\n"), 1, "one line")
    fit = json.loads(res.out)
    expect_equal(sorted(fit), sorted(["corners", "canvas", "vanishingPoints", "vanishingSupport", "surface",
                                      "distortion", "focal", "focalAssumed", "lines", "scale", "ms"]), "keys")
    expect_equal(len(fit["vanishingSupport"]), len(fit["vanishingPoints"]), "support per point")
    expect_equal(fit["surface"], "floor", "surface")
    # A pinhole room: straight lines stay straight.
    expect(abs(fit["distortion"]) < 0.01, "distortion %r" % fit["distortion"])
    info = cli.info(out)["areas"][0]
    expect_equal(info["perspective"], True, "perspective")
    expect_equal(info["skew"], True, "skew")
    expect_equal(info["skewCorners"], fit["corners"], "corners in the file")
    expect_equal(info["scale"], fit["scale"], "scale in the file")
    expect_equal(info["realSize"], {"reference": list(ref), "referenceCm": 60, "textureWidthCm": 30}, "real size")
    expect_equal(read_template(read(out)).areas[0].perspective, True, "independent reader")

    tl, tr, bl, br = fit["corners"]
    misses = [
        max(line_misses(tl, tr, a), line_misses(bl, br, a), line_misses(tl, bl, b), line_misses(tr, br, b))
        for a, b in ((VP1, VP2), (VP2, VP1))]
    expect(min(misses) < 2.0, "edges miss the vanishing points by %.2f degrees (%r)" % (min(misses), fit))

    # Equal floor lengths along u and v are equal on the canvas and at right
    # angles; the scale shows one texture width per tile.
    to_canvas = invert3(homography_from_corners(fit["corners"], fit["canvas"]))
    o, u, v = (apply(to_canvas, *floor_to_picture(*p)) for p in ((0, 0), (2, 0), (0, 2)))
    du, dv = (u[0] - o[0], u[1] - o[1]), (v[0] - o[0], v[1] - o[1])
    lu, lv = math.hypot(*du), math.hypot(*dv)
    angle = math.degrees(math.acos((du[0] * dv[0] + du[1] * dv[1]) / (lu * lv)))
    print("     u/v length ratio %.3f, angle %.2f, focal %.1f (true %.1f), %d ms" % (
        lu / lv, angle, fit["focal"], TRUE_FOCAL, fit["ms"]))
    # The focal length measured from edges near the horizon is a little off,
    # and proportions follow it; the directions may not be.
    expect(abs(lu / lv - 1) < 0.15, "u/v length ratio %.3f" % (lu / lv))
    expect(abs(angle - 90) < 8, "angle between u and v %.1f" % angle)
    expect(abs(fit["scale"] * 30 / (lu / 2) - 1) < 0.03, "scale %r for a tile of %.1f" % (fit["scale"], lu / 2))


@suite.case
def default_output_is_the_template_itself():
    copy = suite.write("self.tlm", read(room))
    res = cli.run("fit-perspective", copy, "--area", "Floor")
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    fit = json.loads(res.out)
    info = cli.info(copy)["areas"]
    expect_equal([a["perspective"] for a in info], [True, False], "perspective")
    expect_equal(info[0]["skewCorners"], fit["corners"], "corners")
    expect(not [n for n in os.listdir(suite.tmp) if n.startswith("self.tlm") and n != "self.tlm"],
           "a temporary file was left")


@suite.case
def given_focal_is_the_fits():
    res = cli.run("fit-perspective", room, "--area", "Floor", "--focal", "400", "--out", suite.path("f.tlm"))
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    fit = json.loads(res.out)
    expect_equal((fit["focal"], fit["focalAssumed"]), (400, False), "focal as given")


suite.finish()
