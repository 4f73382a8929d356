"""`tilemont-cli demo FOLDER` lays out a working folder for the editor: the
four working folders, texture groups, a room picture and a template with a
floor in true perspective at its real size and a wall with a window cut
out. The same bytes every run, and a second run never overwrites what is
there."""

import os
import subprocess

from clitest import Suite, expect, expect_equal
from tlmformat import decode_jpeg, jpeg_size, read_template

suite = Suite()
cli = suite.cli

TEMPLATE = os.path.join("templates", "demo.tlm")


def tree(root):
    """Every entry below root: relative path -> file bytes, or None for a
    folder."""
    entries = {}
    for folder, dirs, files in os.walk(root):
        for d in dirs:
            entries[os.path.relpath(os.path.join(folder, d), root)] = None
        for f in files:
            p = os.path.join(folder, f)
            with open(p, "rb") as fh:
                entries[os.path.relpath(p, root)] = fh.read()
    return entries


def make_demo(name):
    root = suite.path(name)
    res = cli.run("demo", root)
    expect(res.code == 0, "demo %s failed: %s" % (root, res.describe()))
    expect(res.err == "", "demo printed on stderr: %r" % res.err)
    return root


def diff_trees(got, want, what):
    expect_equal(sorted(got), sorted(want), what + ": entries")
    changed = [p for p in want if got[p] != want[p]]
    expect(not changed, "%s: different bytes in %s" % (what, changed))


REFERENCE = make_demo("reference")
REFERENCE_TREE = tree(REFERENCE)


@suite.case
def working_folders_and_texture_groups_are_laid_out():
    for folder in ("templates", "textures", "lithavens", "export"):
        expect(os.path.isdir(os.path.join(REFERENCE, folder)), "no %s folder" % folder)
    expect_equal(os.listdir(os.path.join(REFERENCE, "lithavens")), [], "lithavens")
    expect_equal(os.listdir(os.path.join(REFERENCE, "export")), [], "export")
    textures = os.path.join(REFERENCE, "textures")
    groups = sorted(os.listdir(textures))
    expect(len(groups) >= 3, "texture groups: %r" % groups)
    for group in groups:
        folder = os.path.join(textures, group)
        # the editor lists only subfolders as groups and only their files
        expect(os.path.isdir(folder), "%s lies directly in textures" % group)
        names = os.listdir(folder)
        expect(len(names) >= 3, "group %s holds %r" % (group, names))
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                size = jpeg_size(f.read())
            expect(size is not None and min(size) >= 64,
                   "%s/%s: not a usable JPEG texture (%r)" % (group, name, size))
    with open(os.path.join(REFERENCE, "templates", "demo-room.jpg"), "rb") as f:
        expect_equal(jpeg_size(f.read()), (1600, 1067), "demo picture file")


@suite.case
def template_has_a_perspective_floor_and_a_wall_with_a_window_hole():
    info = cli.info(os.path.join(REFERENCE, TEMPLATE))
    pic = info["picture"]
    expect(pic is not None and pic["width"] > pic["height"] > 0, "picture %r" % pic)
    w, h = pic["width"], pic["height"]
    expect_equal(len(info["areas"]), 2, "area count")
    floor, wall = info["areas"]

    expect(floor["skew"] is True, "floor not skewed")
    expect(floor["texture"] is not None, "floor has no texture")
    # In true perspective, as Fit Perspective finds it, at its real size:
    # the canvas's near edge wider than its far one along the back wall.
    expect(floor["perspective"] is True, "floor not in perspective")
    expect_equal(floor["realSize"], {"reference": [420, 720, 1180, 720], "referenceCm": 400,
                                     "textureWidthCm": 144}, "floor's real size")
    (tl, tr, bl, br) = floor["skewCorners"]
    expect(tl[1] == tr[1] < bl[1] == br[1], "floor corners not a level trapezoid: %r" % floor["skewCorners"])
    expect(tr[0] - tl[0] < br[0] - bl[0], "far edge not shorter than near edge")
    expect_equal(len(floor["outline"]), 1, "floor contours")
    ox = [p[0] for p in floor["outline"][0]]
    oy = [p[1] for p in floor["outline"][0]]
    expect(tl[1] <= min(oy) and bl[1] >= max(oy) and bl[0] <= min(ox) and br[0] >= max(ox),
           "floor corners %r do not cover the outline" % floor["skewCorners"])
    left, top, right, bottom = floor["initialRect"]
    expect(right > left and bottom > top, "empty initial rect %r" % floor["initialRect"])

    expect(wall["skew"] is False and wall["skewedTexture"] is None, "wall skewed")
    expect(wall["texture"] is not None, "wall has no texture")
    expect_equal(len(wall["outline"]), 2, "wall contours (wall and window)")
    outer, hole = wall["outline"]
    ox = [p[0] for p in outer]
    oy = [p[1] for p in outer]
    expect(all(min(ox) < p[0] < max(ox) and min(oy) < p[1] < max(oy) for p in hole),
           "window %r not inside the wall %r" % (hole, outer))
    expect(max(oy) <= tl[1], "wall reaches into the floor")
    for area in (floor, wall):
        for contour in area["outline"]:
            expect(all(0 <= x <= w and 0 <= y <= h for x, y in contour),
                   "%s outline leaves the picture" % area["name"])


@suite.case
def composition_covers_floor_and_wall_but_not_the_window():
    src = os.path.join(REFERENCE, TEMPLATE)
    out = suite.path("composed.jpg")
    res = cli.run("export", src, out, "--quality", "100")
    expect(res.code == 0, "export failed: %s" % res.describe())
    with open(src, "rb") as f:
        t = read_template(f.read())
    with open(out, "rb") as f:
        cw, ch, composed = decode_jpeg(f.read())
    pw, ph, picture = decode_jpeg(t.picture)
    expect_equal((cw, ch), (pw, ph), "composed size")

    def difference(x0, y0, x1, y1):
        total = n = 0
        for y in range(y0, y1, 2):
            for x in range(x0, x1, 2):
                total += sum(abs(a - b) for a, b in zip(composed(x, y), picture(x, y)))
                n += 3
        return total / n

    floor = t.areas[0].outline[0]
    hole = t.areas[1].outline[1]
    fy = int(max(p[1] for p in floor)) - 60
    fx = int(sum(p[0] for p in floor) / 4)
    hx, hy = int(hole[0][0]) + 30, int(hole[0][1]) + 30
    wx, wy = int(t.areas[1].outline[0][0][0]) + 20, int(t.areas[1].outline[0][0][1]) + 20
    regions = {
        "window": difference(hx, hy, hx + 40, hy + 40),
        "side wall": difference(20, ph // 2, 60, ph // 2 + 40),
        "floor": difference(fx - 40, fy, fx + 40, fy + 40),
        "back wall": difference(wx, wy, wx + 40, wy + 40),
    }
    # 5-6-5 rounding and JPEG leave a few levels; a texture changes far more
    expect(regions["window"] < 6 and regions["side wall"] < 6,
           "untextured places changed: %r" % regions)
    expect(regions["floor"] > 8 and regions["back wall"] > 8,
           "textured places look like the bare picture: %r" % regions)


@suite.case
def every_run_writes_the_same_bytes():
    # a relative path from another folder, to rule out paths leaking in
    res = cli.run("demo", "again", cwd=suite.tmp)
    expect(res.code == 0, "demo failed: %s" % res.describe())
    diff_trees(tree(suite.path("again")), REFERENCE_TREE, "second workspace")


@suite.case
def runs_without_any_display():
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY")}
    root = suite.path("headless")
    proc = subprocess.run([cli.exe, "demo", root], env=env, capture_output=True, timeout=60)
    expect(proc.returncode == 0, "exit %d: %r" % (proc.returncode, proc.stderr[:300]))
    diff_trees(tree(root), REFERENCE_TREE, "workspace made without a display")


@suite.case
def a_second_run_keeps_existing_files_and_fills_in_missing_ones():
    root = make_demo("kept")
    edited = b"the user's own template"
    with open(os.path.join(root, TEMPLATE), "wb") as f:
        f.write(edited)
    removed = os.path.join("textures", "wood", sorted(os.listdir(os.path.join(root, "textures", "wood")))[0])
    os.remove(os.path.join(root, removed))
    own = os.path.join(root, "textures", "wood", "mine.jpg")
    with open(own, "wb") as f:
        f.write(b"not even an image")

    res = cli.run("demo", root)
    expect(res.code == 0, "second run failed: %s" % res.describe())
    got = tree(root)
    expect_equal(got.pop(TEMPLATE), edited, "edited template after a second run")
    expect_equal(got.pop(os.path.join("textures", "wood", "mine.jpg")), b"not even an image", "user's file")
    want = dict(REFERENCE_TREE)
    want.pop(TEMPLATE)
    diff_trees(got, want, "workspace after a second run")


@suite.case
def a_folder_that_cannot_be_made_fails_cleanly():
    blocker = suite.write("plain-file", b"keep me")
    for target in (blocker, os.path.join(blocker, "below")):
        res = cli.run("demo", target)
        expect(res.code == 1, "%s: %s" % (target, res.describe()))
        lines = res.err.strip().splitlines()
        expect(len(lines) == 1 and blocker in lines[0], "%s: stderr %r" % (target, res.err))
        expect_equal(res.out, "", "stdout on failure")
    with open(blocker, "rb") as f:
        expect_equal(f.read(), b"keep me", "the file in the way")


@suite.case
def wrong_demo_command_lines_exit_2():
    before = sorted(os.listdir(suite.tmp))
    for args in (["demo"], ["demo", suite.path("a"), suite.path("b")], ["demo", ""]):
        res = cli.run(*args, cwd=suite.tmp)
        expect(res.code == 2 and res.err.strip(), "%r: %s" % (args, res.describe()))
    expect_equal(sorted(os.listdir(suite.tmp)), before, "files after usage errors")


suite.finish()
