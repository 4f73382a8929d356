"""`tilemont-cli info` on files written by the independent writer: every
stored value must come back exactly."""

import json
import struct

from clitest import Suite, diff_info, expect, expect_equal, info_shape
from tlmformat import Area, Template, Writer, jpeg_bytes, write_template

suite = Suite()
cli = suite.cli

SQUARE = [(0.0, 0.0), (100.0, 0.0), (100.0, 100.0), (0.0, 100.0)]


def rich_template():
    return Template(
        picture=jpeg_bytes(64, 48),
        areas=[
            Area(name="Floor", texture=jpeg_bytes(16, 12), skewed=jpeg_bytes(23, 17),
                 rotation=0.1, shift_x=-5, shift_y=7, scale=1e-300, skew=1,
                 corners=[(3, 4), (60, -2), (-7, 40), (63, 47)],
                 outline=[[(10.7, 20.2), (110.9, 20.2), (110.9, 70.0), (10.7, 70.0)]],
                 initial_rect=(1, 2, 30, 40)),
            # Windows-1252 specials, extreme shifts, and a square with two
            # holes stored as extra contours
            Area(name="K\u00fcche \u20ac \u0160\u0178\u2030", skewed=jpeg_bytes(5, 9),
                 rotation=-123.456789012345, shift_x=-2147483648, shift_y=2147483647,
                 scale=2.5, skew=0, corners=[(0, 0), (1, 0), (0, 1), (1, 1)],
                 outline=[SQUARE,
                          [(10.0, 10.0), (20.0, 10.0), (20.0, 20.0), (10.0, 20.0)],
                          [(60.5, 60.25), (70.125, 60.5), (65.0, 80.0)]],
                 initial_rect=(-10, -20, -5, -1)),
            # Needs the UTF-16 form, including a character outside the BMP
            Area(name="\u03a9mega \u5e8a \U0001d11e", texture=jpeg_bytes(9, 31),
                 rotation=359.99999999999994, scale=0.30000000000000004,
                 outline=[[(5e-324, -0.0), (1.7976931348623157e308, 1e-300), (-3.3, 2.2)]]),
        ])


@suite.case
def empty_template_is_eight_zero_bytes():
    p = suite.write("empty.tlm", bytes(8))
    expect_equal(cli.info(p), {"picture": None, "areas": []}, "empty template")


@suite.case
def every_stored_value_reads_back_exactly():
    t = rich_template()
    p = suite.write("rich.tlm", write_template(t))
    diff_info(cli.info(p), info_shape(t))
    # keep the expected sizes honest: they come from our own header reader
    expect_equal(info_shape(t)["areas"][0]["skewedTexture"], {"width": 23, "height": 17},
                 "expected skewed size")


@suite.case
def name_length_prefixes_at_their_boundaries():
    names = ["a" * 254, "b" * 255, "c" * 65533, "d" * 65534, "e" * 70000,
             "\u03a9" * 254, "\u03a9" * 255, "\u5e8a" * 70000, ""]
    t = Template(areas=[Area(name=n, outline=[SQUARE]) for n in names])
    data = write_template(t)
    # the 255-character name takes the three-byte prefix
    expect(b"\xff\xff\x00" + b"b" * 255 in data, "255-character prefix not as laid out")
    got = cli.info(suite.write("names.tlm", data))
    expect_equal([a["name"] for a in got["areas"]], names, "names")


@suite.case
def names_in_either_form_decode_to_the_same_text():
    # A writer would store these as single bytes; readers accept the
    # UTF-16 form for them too.
    texts = ["Area", "K\u00fcche \u20ac", "\u00ff\u00e9\u201e"]
    areas = [Area(name=n, name_form=f) for n in texts for f in ("cp1252", "utf16")]
    got = cli.info(suite.write("forms.tlm", write_template(Template(areas=areas))))
    expect_equal([a["name"] for a in got["areas"]], [a.name for a in areas], "names")


@suite.case
def bytes_after_the_jpeg_end_marker_are_ignored():
    garbage = b"\x00" * 3 + b"\xff\xd8\xff\xc0 not a frame" + b"\xab" * 50
    t = Template(picture=jpeg_bytes(33, 21) + garbage,
                 areas=[Area(name="x", texture=jpeg_bytes(7, 5) + garbage,
                             skewed=jpeg_bytes(11, 13) + b"\x00")])
    got = cli.info(suite.write("trailing.tlm", write_template(t)))
    expect_equal(got["picture"], {"width": 33, "height": 21}, "picture")
    expect_equal(got["areas"][0]["texture"], {"width": 7, "height": 5}, "texture")
    expect_equal(got["areas"][0]["skewedTexture"], {"width": 11, "height": 13}, "skewed")


@suite.case
def blobs_that_are_not_images_read_as_absent():
    t = Template(
        picture=b"this is not an image at all" * 3,
        areas=[Area(name="one", texture=b"\xff\xd8" + b"\x00" * 40,
                    skewed=jpeg_bytes(6, 4), rotation=12.5,
                    outline=[SQUARE], initial_rect=(1, 2, 3, 4)),
               Area(name="two", texture=bytes(range(256)), skewed=b"\x01",
                    scale=3.25, shift_x=-1, corners=[(1, 2), (3, 4), (5, 6), (7, 8)])])
    got = cli.info(suite.write("junkblobs.tlm", write_template(t)))
    want = info_shape(t)
    want["picture"] = None
    want["areas"][0]["texture"] = None
    want["areas"][1]["texture"] = None
    want["areas"][1]["skewedTexture"] = None
    diff_info(got, want)


@suite.case
def odd_doubles_do_not_break_the_output():
    # JSON has no NaN or infinity; whatever the tool prints for them, it
    # must not crash, and the areas after the odd one must still be right.
    w = Writer().u32(0).u32(2)
    w.area(Area(name="nan", rotation=float("nan"), scale=float("inf"),
                outline=[[(float("-inf"), 0.0)]]))
    w.area(Area(name="after", rotation=45.0, outline=[SQUARE]))
    res = cli.run("info", suite.write("nan.tlm", w.bytes()))
    expect(res.code in (0, 1), "unexpected exit: " + res.describe())
    if res.code == 0:
        try:
            got = json.loads(res.out)
        except ValueError:
            got = None
        expect(got is not None, "output is not JSON: %r" % res.out[:300])
        expect_equal(got["areas"][1]["rotation"], 45.0, "second area rotation")
        expect_equal(got["areas"][1]["outline"], [[list(v) for v in SQUARE]], "second outline")


@suite.case
def lone_surrogate_in_a_utf16_name():
    raw = b"\xff\xfe\xff\x03" + struct.pack("<3H", 0x41, 0xD800, 0x42)
    w = Writer().u32(0).u32(1).raw(raw)
    rest = Writer().area(Area(name="", outline=[SQUARE])).bytes()[1:]  # drop the empty name
    res = cli.run("info", suite.write("surrogate.tlm", w.bytes() + rest))
    expect_equal(res.code, 0, "exit (%s)" % res.describe())
    name = json.loads(res.out)["areas"][0]["name"]
    expect(name.startswith("A") and name.endswith("B"), "name %r" % name)


suite.finish()
