"""`tilemont-cli make`: a JSON description plus PNG files in, a template out,
checked byte-level with the independent reader."""

import json
import os

from clitest import Suite, diff_info, expect, expect_equal
from tlmformat import (decode_jpeg, encode_name, jpeg_bytes, jpeg_quant_values, jpeg_size,
                       png_bytes, read_template, solid)

def cut_in_scan(jpeg):
    """The file cut short halfway through its image data, as a broken download leaves it."""
    scan = jpeg.rfind(b"\xff\xda")
    return jpeg[:scan + (len(jpeg) - scan) // 2]


suite = Suite()
cli = suite.cli

RED, BLUE, GREEN, YELLOW = (220, 30, 30), (30, 40, 210), (30, 180, 60), (230, 220, 40)
CORNERS = [[10, 12], [70, 5], [4, 50], [80, 61]]   # TL, TR, BL, BR: bounds 77 x 57
OUTLINE = [[[10.5, 12.25], [70.0, 5.0], [80.0, 61.0], [4.0, 50.0]]]
HOLED = [[[0, 0], [40, 0], [40, 30], [0, 30]], [[10, 10], [20, 10], [20, 20], [10, 20]]]


def near(got, want, what, tol=40):
    expect(all(abs(g - w) <= tol for g, w in zip(got, want)),
           "%s: colour %r, want about %r" % (what, got, want))


def write_images(folder):
    suite.write(os.path.join(folder, "img", "bild \u00fc.png"),
                png_bytes(50, 40, lambda x, y: RED if x < 25 else BLUE))
    suite.write(os.path.join(folder, "img", "green.png"), png_bytes(16, 16, solid(GREEN)))
    suite.write(os.path.join(folder, "img", "tile.png"),
                png_bytes(8, 6, lambda x, y: YELLOW if y < 3 else BLUE))


def area(name, texture=None, **kw):
    a = {"name": name, "texture": texture, "rotation": 0.0, "shiftX": 0, "shiftY": 0,
         "scale": 1.0, "skew": False, "skewCorners": [[0, 0]] * 4,
         "outline": [[[0.0, 0.0], [10.0, 0.0], [10.0, 10.0]]], "initialRect": [0, 0, 0, 0]}
    a.update(kw)
    return a


DESC = {
    "picture": "img/bild \u00fc.png",
    "areas": [
        area("K\u00fcche \u20ac", "img/green.png", skew=True, skewCorners=CORNERS,
             outline=OUTLINE, rotation=0.1, shiftX=-5, shiftY=2147483647, scale=1.0,
             initialRect=[4, 5, 80, 61]),
        area("\u03a9mega \u5e8a", "img/tile.png", rotation=-123.456789012345, scale=2.5,
             skewCorners=CORNERS, outline=HOLED, shiftX=-2147483648),
        area("plain", None, skew=True, skewCorners=CORNERS, scale=1e-300),
        area("b" * 255, "img/tile.png"),
        area("\u03a9" * 300),
    ],
}


def make(desc, stem):
    folder = os.path.join(suite.tmp, stem)
    write_images(folder)
    src = suite.write(os.path.join(stem, "desc.json"), json.dumps(desc).encode())
    out = suite.path(stem + ".tlm")
    # paths in the description are relative to its folder, not to the cwd
    res = cli.run("make", src, out, cwd="/")
    expect_equal(res.code, 0, "make exit (%s)" % res.describe())
    with open(out, "rb") as f:
        return f.read(), out


made, made_path = b"", ""


@suite.case
def make_writes_a_readable_template():
    global made, made_path
    made, made_path = make(DESC, "full \u00fc \u20ac")
    read_template(made)


@suite.case
def names_are_stored_in_the_decided_forms():
    t = read_template(made)
    expect_equal([(a.name, a.name_form) for a in t.areas],
                 [("K\u00fcche \u20ac", "cp1252"), ("\u03a9mega \u5e8a", "utf16"),
                  ("plain", "cp1252"), ("b" * 255, "cp1252"), ("\u03a9" * 300, "utf16")],
                 "names and forms")
    # the exact prefixes, not just something our reader tolerates
    for name in ("K\u00fcche \u20ac", "b" * 255, "\u03a9" * 300):
        expect(encode_name(name) in made, "%r not encoded as decided" % name[:10])


@suite.case
def numbers_and_outlines_are_exact():
    t = read_template(made)
    for a, want in zip(t.areas, DESC["areas"]):
        got = {"rotation": a.rotation, "shiftX": a.shift_x, "shiftY": a.shift_y,
               "scale": a.scale, "skew": bool(a.skew),
               "skewCorners": [list(p) for p in a.corners],
               "outline": [[list(v) for v in c] for c in a.outline],
               "initialRect": list(a.initial_rect)}
        diff_info(got, {k: want[k] for k in got}, a.name[:10])


@suite.case
def picture_and_textures_are_jpeg_blobs_of_their_images():
    t = read_template(made)
    expect_equal(jpeg_size(t.picture), (50, 40), "picture size")
    w, h, px = decode_jpeg(t.picture)
    near(px(5, 20), RED, "picture left")
    near(px(45, 20), BLUE, "picture right")
    expect_equal([jpeg_size(a.texture) if a.texture else None for a in t.areas],
                 [(16, 16), (8, 6), None, (8, 6), None], "texture sizes")
    _, _, px = decode_jpeg(t.areas[1].texture)
    near(px(4, 0), YELLOW, "texture top")
    near(px(4, 5), BLUE, "texture bottom")
    for blob in [t.picture] + [a.texture for a in t.areas if a.texture]:
        expect(set(jpeg_quant_values(blob)) == {1}, "not written at quality 100")


@suite.case
def skewed_texture_is_built_only_for_skewed_textured_areas():
    t = read_template(made)
    expect_equal([jpeg_size(a.skewed) if a.skewed else None for a in t.areas],
                 [(77, 57), None, None, None, None], "skewed texture sizes")
    _, _, px = decode_jpeg(t.areas[0].skewed)
    # the middle of the quadrilateral shows the texture
    near(px(37, 27), GREEN, "skewed texture centre")


@suite.case
def info_of_a_made_file_matches_the_description():
    got = cli.info(made_path)
    expect_equal(got["picture"], {"width": 50, "height": 40}, "picture")
    for g, want in zip(got["areas"], DESC["areas"]):
        for k, v in want.items():
            if k != "texture":
                diff_info(g[k], v, "%s.%s" % (want["name"][:10], k))
    expect_equal([a["skewedTexture"] for a in got["areas"]],
                 [{"width": 77, "height": 57}, None, None, None, None], "skewed")


@suite.case
def huge_skew_boxes_neither_hang_nor_crash():
    # corners and initial rects come from user files; a box too large to
    # warp may leave the skewed texture out, but make must finish
    desc = {"picture": None, "areas": [
        area("wide", "img/green.png", skew=True,
             skewCorners=[[0, 0], [200000, 0], [0, 150000], [200000, 150000]]),
        area("canvas", "img/green.png", skew=True, skewCorners=CORNERS,
             initialRect=[-2147483648, -2147483648, 2147483647, 2147483647]),
        area("after", "img/green.png", skew=True, skewCorners=CORNERS)]}
    data, _ = make(desc, "huge")
    t = read_template(data)
    expect_equal([a.name for a in t.areas], ["wide", "canvas", "after"], "areas")
    expect_equal(jpeg_size(t.areas[2].skewed), (77, 57), "skewed size after the huge ones")


@suite.case
def no_picture_and_no_areas():
    data, _ = make({"picture": None, "areas": []}, "bare")
    expect_equal(data, bytes(8), "bare template bytes")


@suite.case
def bad_descriptions_fail_without_leaving_a_file():
    folder = os.path.join(suite.tmp, "bad")
    write_images(folder)
    cases = {
        "missing picture": {"picture": "img/nope.png", "areas": []},
        "missing texture": {"picture": None, "areas": [area("x", "img/nope.png")]},
        "picture not an image": {"picture": "desc0.json", "areas": []},
        "shift beyond 32 bits": {"picture": None, "areas": [area("x", shiftX=2 ** 31)]},
        "three corners": {"picture": None, "areas": [area("x", skewCorners=[[0, 0]] * 3)]},
        "rotation not a number": {"picture": None, "areas": [area("x", rotation="90")]},
        "not an object": [],
    }
    for i, (what, desc) in enumerate(list(cases.items()) + [("not JSON", None)]):
        raw = b"{ this is not json" if desc is None else json.dumps(desc).encode()
        src = suite.write(os.path.join("bad", "desc%d.json" % i), raw)
        out = suite.path("bad%d.tlm" % i)
        res = cli.run("make", src, out)
        expect_equal(res.code, 1, "%s: exit (%s)" % (what, res.describe()))
        expect_equal(len(res.err.strip().splitlines()), 1, "%s: stderr %r" % (what, res.err))
        expect(not os.path.exists(out), "%s: output file left behind" % what)


@suite.case
def a_chosen_jpeg_is_kept_as_its_file_and_resaves_unchanged():
    folder = os.path.join(suite.tmp, "kept")
    write_images(folder)
    photo = jpeg_bytes(40, 30, lambda x, y: (x * 6, y * 8, 100), quality=75)
    suite.write(os.path.join("kept", "photo.jpg"), photo)
    whole = jpeg_bytes(30, 20, lambda x, y: (x * 8, 50, y * 12))
    suite.write(os.path.join("kept", "cut.jpg"), cut_in_scan(whole))
    desc = {"picture": "photo.jpg", "areas": [area("Floor", "img/tile.png", skew=True, skewCorners=CORNERS,
                                                   outline=OUTLINE),
                                              area("Wall", "cut.jpg", outline=OUTLINE)]}
    src = suite.write(os.path.join("kept", "desc.json"), json.dumps(desc).encode())
    out = suite.path("kept.tlm")
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make exit (%s)" % res.describe())
    cut = os.path.join(folder, "cut.jpg")
    expect("warning: %s is damaged: only part of it could be read." % cut in res.err, "stderr %r" % res.err)
    with open(out, "rb") as f:
        made_bytes = f.read()
    t = read_template(made_bytes)
    expect(t.picture == photo, "the picture blob is not the chosen file")
    expect(set(jpeg_quant_values(t.areas[0].texture)) == {1}, "a PNG texture not encoded at quality 100")
    expect(t.areas[1].texture.endswith(b"\xff\xd9"), "a damaged texture kept cut short")
    again = suite.path("kept-again.tlm")
    res = cli.run("resave", out, again)
    expect_equal(res.code, 0, "resave exit (%s)" % res.describe())
    with open(again, "rb") as f:
        expect(f.read() == made_bytes, "a made template changed on resave")


suite.finish()
