"""`tilemont-cli resave`: a template read and written back keeps everything
but the exact bytes of its re-encoded images."""

import math
import os

from clitest import Suite, expect, expect_equal
from tlmformat import (Area, Template, decode_jpeg, jpeg_bytes, jpeg_quant_values,
                       jpeg_size, read_template, write_template)

def cut_in_scan(jpeg):
    """The file cut short halfway through its image data, as a broken download leaves it."""
    scan = jpeg.rfind(b"\xff\xda")
    return jpeg[:scan + (len(jpeg) - scan) // 2]


suite = Suite()
cli = suite.cli

RED, BLUE, GREEN = (220, 30, 30), (30, 40, 210), (30, 180, 60)
SQUARE = [(0.0, 0.0), (100.0, 0.0), (100.0, 100.0), (0.0, 100.0)]


def resave(t, stem):
    src = suite.write(stem + ".tlm", write_template(t))
    out = suite.path(stem + "-out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 0, "resave exit (%s)" % res.describe())
    with open(out, "rb") as f:
        return read_template(f.read())


def fields(a):
    return (a.name, a.rotation, a.shift_x, a.shift_y, a.scale, a.skew, a.corners,
            a.outline, a.initial_rect)


def sizes(t):
    def size(b):
        return jpeg_size(b) if b else None
    return [size(t.picture)] + [(size(a.texture), size(a.skewed)) for a in t.areas]


def near(got, want, what, tol=40):
    expect(all(abs(g - w) <= tol for g, w in zip(got, want)),
           "%s: colour %r, want about %r" % (what, got, want))


@suite.case
def everything_but_image_bytes_survives():
    t = Template(
        picture=jpeg_bytes(64, 48, lambda x, y: RED if x < 32 else BLUE),
        areas=[
            Area(name="Floor", texture=jpeg_bytes(16, 12, lambda x, y: GREEN),
                 skewed=jpeg_bytes(23, 17), rotation=0.1, shift_x=-5, shift_y=7,
                 scale=1e-300, skew=1, corners=[(3, 4), (60, -2), (-7, 40), (63, 47)],
                 outline=[[(10.7, 20.2), (110.9, 20.2), (110.9, 70.0), (10.7, 70.0)]],
                 initial_rect=(1, 2, 30, 40)),
            Area(name="K\u00fcche \u20ac", rotation=-123.456789012345,
                 shift_x=-2147483648, shift_y=2147483647, scale=2.5,
                 outline=[SQUARE, [(10.0, 10.0), (20.0, 10.0), (20.0, 20.0)],
                          [(60.5, 60.25), (70.125, 60.5), (65.0, 80.0)]],
                 initial_rect=(-10, -20, -5, -1)),
            Area(name="\u03a9mega \u5e8a \U0001d11e", texture=jpeg_bytes(9, 31),
                 scale=0.30000000000000004, outline=[[(5e-324, -0.0), (1e300, 1e-300)]]),
            Area(name="e" * 70000),
        ])
    got = resave(t, "rich")
    expect_equal(len(got.areas), len(t.areas), "area count")
    for g, w in zip(got.areas, t.areas):
        expect_equal(fields(g), fields(w), "area %r" % w.name[:10])
    expect_equal(sizes(got), sizes(t), "image sizes")
    _, _, px = decode_jpeg(got.picture)
    near(px(8, 24), RED, "picture left")
    near(px(56, 24), BLUE, "picture right")
    _, _, px = decode_jpeg(got.areas[0].texture)
    near(px(8, 6), GREEN, "texture")
    # unchanged images are written back as the very bytes they came as
    for g, w, what in ((got.picture, t.picture, "picture"), (got.areas[0].texture, t.areas[0].texture, "texture"),
                       (got.areas[0].skewed, t.areas[0].skewed, "warp"), (got.areas[2].texture, t.areas[2].texture,
                                                                          "texture 2")):
        expect(g == w, "%s blob re-encoded" % what)


@suite.case
def without_images_the_bytes_are_identical():
    # with no JPEG to re-encode, both writers must agree byte for byte
    t = Template(areas=[
        Area(name="Floor", rotation=0.1, shift_x=-5, shift_y=7, scale=1e-300, skew=1,
             corners=[(3, 4), (60, -2), (-7, 40), (63, 47)],
             outline=[SQUARE, [(10.0, 10.0), (20.0, 10.0), (20.0, 20.0)], []],
             initial_rect=(1, 2, 30, 40)),
        Area(name="\u03a9mega \u5e8a"), Area(name="b" * 255), Area(name="\u5e8a" * 70000),
        Area(name="c" * 65534)])
    data = write_template(t)
    src = suite.write("plain.tlm", data)
    out = suite.path("plain-out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    with open(out, "rb") as f:
        got = f.read()
    if got != data:
        at = next((i for i, (a, b) in enumerate(zip(got, data)) if a != b), min(len(got), len(data)))
        expect(False, "bytes differ from offset %d: got %r, want %r" % (at, got[at:at + 16], data[at:at + 16]))


@suite.case
def names_are_rewritten_in_the_decided_form():
    names = [("Area", "utf16"), ("K\u00fcche \u20ac", "utf16"), ("K\u00fcche \u20ac", "cp1252"),
             ("\u03a9mega \u5e8a", "utf16"), ("\u201e\u0152\u017e\u00ff", "cp1252"),
             ("\u03a9" * 300, "utf16"), ("x" * 65534, "utf16"),
             # bytes with no Windows-1252 character still round-trip as bytes
             ("\x81\x8d\x8f\x90\x9d", "cp1252")]
    t = Template(areas=[Area(name=n, name_form=f) for n, f in names])
    got = resave(t, "names")
    expect_equal([(a.name, a.name_form) for a in got.areas],
                 [(n, "utf16" if n[0] == "\u03a9" else "cp1252") for n, _ in names],
                 "names and forms")


@suite.case
def stored_skewed_textures_are_kept_not_rebuilt():
    tex = jpeg_bytes(16, 16)
    corners = [(0, 0), (50, 0), (0, 40), (50, 40)]
    t = Template(areas=[
        # a stale cache whose size matches nothing: kept as stored
        Area(name="stale", texture=tex, skewed=jpeg_bytes(7, 5), skew=1,
             corners=corners, outline=[SQUARE]),
        # skewed but no cache stored: still none
        Area(name="uncached", texture=tex, skew=1, corners=corners, outline=[SQUARE]),
        # a cache on an area that is not skewed
        Area(name="unskewed", texture=tex, skewed=jpeg_bytes(9, 3), skew=0, corners=corners),
    ])
    got = resave(t, "skewcache")
    expect_equal(sizes(got), [None, ((16, 16), (7, 5)), ((16, 16), None), ((16, 16), (9, 3))],
                 "image sizes")


@suite.case
def undecodable_blobs_are_dropped_and_trailing_bytes_shed():
    t = Template(
        picture=b"definitely not a picture",
        areas=[Area(name="a", texture=jpeg_bytes(12, 10) + b"\x00" * 9 + b"junk",
                    skewed=b"\xff\xd8\xff" + bytes(30), skew=1, outline=[SQUARE])])
    got = resave(t, "junk")
    expect_equal(got.picture, b"", "picture blob")
    expect_equal(got.areas[0].skewed, b"", "skewed blob")
    expect_equal(jpeg_size(got.areas[0].texture), (12, 10), "texture size")
    expect_equal(fields(got.areas[0]), fields(t.areas[0]), "area fields")


@suite.case
def non_finite_numbers_survive():
    # info cannot show these (JSON has no NaN), but a resave must keep them
    t = Template(areas=[Area(name="odd", rotation=float("nan"), scale=float("-inf"),
                             outline=[[(float("inf"), -0.0), (5e-324, float("nan"))]])])
    got = resave(t, "nonfinite")
    a = got.areas[0]
    expect(math.isnan(a.rotation) and a.scale == float("-inf"), "rotation %r scale %r" % (a.rotation, a.scale))
    (x0, y0), (x1, y1) = a.outline[0]
    expect(x0 == float("inf") and math.copysign(1, y0) < 0 and x1 == 5e-324 and math.isnan(y1),
           "outline %r" % a.outline)


@suite.case
def empty_template_resaves_as_eight_zero_bytes():
    src = suite.write("empty.tlm", bytes(8))
    out = suite.path("empty-out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    with open(out, "rb") as f:
        expect_equal(f.read(), bytes(8), "bytes")


@suite.case
def resave_onto_itself():
    t = Template(picture=jpeg_bytes(20, 10),
                 areas=[Area(name="self", texture=jpeg_bytes(4, 4), outline=[SQUARE],
                             rotation=33.3)])
    p = suite.write("self.tlm", write_template(t))
    res = cli.run("resave", p, p)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    with open(p, "rb") as f:
        got = read_template(f.read())
    expect_equal(sizes(got), sizes(t), "image sizes")
    expect_equal(fields(got.areas[0]), fields(t.areas[0]), "area fields")


@suite.case
def unwritable_output_is_an_error():
    src = suite.write("ok.tlm", bytes(8))
    out = os.path.join(suite.tmp, "no-such-folder", "out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 1, "exit (%s)" % res.describe())
    expect_equal(len(res.err.strip().splitlines()), 1, "stderr %r" % res.err)


@suite.case
def saving_again_and_again_changes_nothing():
    # a template Tilemont wrote is written back byte for byte, however often
    t = Template(
        picture=jpeg_bytes(64, 48, lambda x, y: (x * 4 % 256, y * 5 % 256, (x * y) % 256), quality=80),
        areas=[Area(name="Floor", texture=jpeg_bytes(16, 12, lambda x, y: (x * 16, y * 20, 90), quality=70),
                    skewed=jpeg_bytes(23, 17), skew=1, corners=[(3, 4), (60, -2), (-7, 40), (63, 47)],
                    outline=[SQUARE], rotation=12.5)])
    first = suite.path("again-0.tlm")
    res = cli.run("resave", suite.write("again.tlm", write_template(t)), first)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    with open(first, "rb") as f:
        want = f.read()
    got = read_template(want)
    expect(got.picture == t.picture and got.areas[0].texture == t.areas[0].texture
           and got.areas[0].skewed == t.areas[0].skewed, "first save re-encoded an image")
    src = first
    for n in range(1, 11):
        out = suite.path("again-%d.tlm" % n)
        res = cli.run("resave", src, out)
        expect_equal(res.code, 0, "exit (%s)" % res.describe())
        with open(out, "rb") as f:
            expect(f.read() == want, "save %d differs from the first" % n)
        src = out


@suite.case
def a_cut_short_blob_is_reported_by_info():
    whole = jpeg_bytes(40, 30, lambda x, y: (x * 6, y * 8, 100))
    t = Template(picture=cut_in_scan(whole), areas=[Area(name="a", outline=[SQUARE])])
    src = suite.write("cut.tlm", write_template(t))
    res = cli.run("info", src)
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    expect("warning: %s is damaged: only part of it could be read." % src in res.err, "stderr %r" % res.err)
    res = cli.run("info", suite.write("whole.tlm", write_template(Template(picture=whole))))
    expect_equal(res.err, "", "stderr for a whole picture")


suite.finish()
