"""Files the tool must refuse: truncated ones and ones whose counts claim more
data than there is.  Each must end in exit 1 with the end-of-file message
naming the path, quickly, and never in a crash."""

import os
import struct

from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, Writer, jpeg_bytes, write_template

suite = Suite()
cli = suite.cli

SQUARE = [(0.0, 0.0), (100.0, 0.0), (100.0, 100.0), (0.0, 100.0)]
QUICK = 5.0  # seconds; a refused count must not be worked through first


def small_template():
    return Template(areas=[
        Area(name="abc", outline=[SQUARE], rotation=30.0, corners=[(1, 2), (3, 4), (5, 6), (7, 8)]),
        Area(name="\u03a9\u5e8a", outline=[SQUARE, [(1.0, 1.0), (2.0, 1.0), (1.5, 2.0)]],
             initial_rect=(1, 2, 3, 4), skew=1),
    ])


def check_prefixes(data, lengths, stem):
    bad = []
    for n in lengths:
        p = suite.write("%s-%05d.tlm" % (stem, n), data[:n])
        try:
            cli.expect_refused(p, "prefix of %d bytes" % n)
        except Exception as e:
            bad.append(str(e)[:300])
        os.remove(p)
    expect(not bad, "%d of %d prefixes wrong, first ones:\n  %s" % (
        len(bad), len(lengths), "\n  ".join(bad[:5])))


@suite.case
def every_prefix_of_a_small_template_is_refused():
    data = write_template(small_template())
    check_prefixes(data, range(1, len(data)), "small")


@suite.case
def prefixes_of_a_template_with_images_are_refused():
    pic, tex, skw = jpeg_bytes(40, 30), jpeg_bytes(12, 9), jpeg_bytes(20, 14)
    t = Template(picture=pic, areas=[
        Area(name="tiled", texture=tex, skewed=skw, skew=1, outline=[SQUARE]),
        Area(name="plain", outline=[SQUARE]),
        Area(name="textured", texture=tex, outline=[SQUARE])])
    data = write_template(t)
    lengths = set(range(1, 12)) | set(range(len(data) - 40, len(data))) | set(range(1, len(data), 61))
    # around the start and the end of every blob
    for blob in (pic, tex, skw):
        start = -1
        while True:
            start = data.find(blob, start + 1)
            if start < 0:
                break
            for d in (-4, -3, -1, 0, 1, 2, 3, len(blob) - 1, len(blob), len(blob) + 1, len(blob) + 4):
                lengths.add(start + d)
    check_prefixes(data, sorted(n for n in lengths if 0 < n < len(data)), "images")


@suite.case
def an_empty_file_is_handled_consistently():
    # Either reading is skipped for an empty file (an empty template) or it
    # is the end-of-file error; it must be the same on every run.
    p = suite.write("zero.tlm", b"")
    first = cli.run("info", p)
    second = cli.run("info", p)
    expect((first.code, first.out, first.err) == (second.code, second.out, second.err),
           "two runs differ: %s / %s" % (first.describe(), second.describe()))
    if first.code == 0:
        expect_equal(cli.info(p), {"picture": None, "areas": []}, "empty file")
        print("     (an empty file reads as an empty template)")
    else:
        cli.expect_refused(p, "empty file")
        print("     (an empty file is refused with the end-of-file error)")


def absurd_files():
    area = Writer().area(Area(name="ok", outline=[SQUARE])).bytes()
    head = Writer().u32(0).u32(1)
    # everything of a record up to its contour count
    pre_contours = Writer().name("n").u32(0).u32(0).f64(0).i32(0).i32(0).f64(1).u32(0)
    for _ in range(8):
        pre_contours.i32(0)
    pre = head.bytes() + pre_contours.bytes()
    cases = {
        "area count 0xFFFFFFFF": Writer().u32(0).u32(0xFFFFFFFF).bytes(),
        "area count 0xFFFFFFFF, one real area": Writer().u32(0).u32(0xFFFFFFFF).raw(area).bytes(),
        "area count 2**28": Writer().u32(0).u32(1 << 28).raw(area * 2).bytes(),
        "picture size 0xFFFFFFFF": Writer().u32(0xFFFFFFFF).raw(b"\xff\xd8" * 40).bytes(),
        "picture size 0x80000000": Writer().u32(0x80000000).raw(bytes(100)).bytes(),
        "texture size 0xFFFFFFFF": head.bytes() + Writer().name("t").u32(0xFFFFFFF0).raw(bytes(200)).bytes(),
        "skewed size 0xFFFFFFFF": head.bytes() + Writer().name("t").u32(0).u32(0xFFFFFFFF).raw(bytes(200)).bytes(),
        "contour count 0xFFFFFFFF": pre + Writer().u32(0xFFFFFFFF).raw(bytes(64)).bytes(),
        # four bytes a contour: a 32-bit product of this wraps to 0
        "contour count 2**30": pre + Writer().u32(1 << 30).raw(bytes(64)).bytes(),
        "vertex count -1": pre + Writer().u32(1).i32(-1).raw(bytes(64)).bytes(),
        "vertex count INT_MIN": pre + Writer().u32(1).i32(-2**31).raw(bytes(64)).bytes(),
        "vertex count INT_MAX": pre + Writer().u32(1).i32(2**31 - 1).raw(bytes(64)).bytes(),
        # sixteen bytes a vertex: a 32-bit product of this wraps to 0
        "vertex count 2**28": pre + Writer().u32(1).i32(1 << 28).raw(bytes(64)).bytes(),
        "second contour too long": pre + Writer().u32(2).i32(1).f64(0).f64(0).i32(5).raw(bytes(64)).bytes(),
        "name length 0xFFFFFFFF": head.bytes() + b"\xff\xff\xff" + struct.pack("<I", 0xFFFFFFFF) + bytes(100),
        "name length 65533": head.bytes() + b"\xff" + struct.pack("<H", 65533) + bytes(100),
        "utf-16 name length 0xFFFFFFFF": head.bytes() + b"\xff\xfe\xff\xff\xff\xff" + struct.pack("<I", 0xFFFFFFFF) + bytes(100),
        # two bytes a unit: a 32-bit product of this wraps to 0
        "utf-16 name length 2**31": head.bytes() + b"\xff\xfe\xff\xff\xff\xff" + struct.pack("<I", 1 << 31) + bytes(100),
        "utf-16 name length 254 units, 254 bytes": head.bytes() + b"\xff\xfe\xff\xfe" + bytes(254) + area[3:],
    }
    return cases


@suite.case
def absurd_counts_are_refused_quickly():
    bad = []
    for i, (what, data) in enumerate(absurd_files().items()):
        p = suite.write("absurd-%02d.tlm" % i, data)
        try:
            res = cli.expect_refused(p, what)
            expect(res.seconds < QUICK, "%s: took %.1fs" % (what, res.seconds))
        except Exception as e:
            bad.append(str(e)[:400])
    expect(not bad, "\n  ".join([""] + bad))


@suite.case
def a_nested_utf16_marker_is_an_error():
    # The length after the marker may not itself be the marker; whether that
    # is called a bad format or a read past the end is the reader's choice.
    p = suite.write("nested.tlm", Writer().u32(0).u32(1).bytes() + b"\xff\xfe\xff" * 3 + bytes(100))
    res = cli.run("info", p)
    expect_equal(res.code, 1, "exit (%s)" % res.describe())
    lines = res.err.strip().splitlines()
    expect(len(lines) == 1 and p in lines[0], "stderr %r" % res.err)


@suite.case
def unreadable_paths_are_one_line_errors():
    missing = suite.path("does-not-exist.tlm")
    for p in (missing, suite.tmp):
        res = cli.run("info", p)
        expect_equal(res.code, 1, "exit for %s (%s)" % (p, res.describe()))
        expect_equal(len(res.err.strip().splitlines()), 1, "stderr lines for %s: %r" % (p, res.err))
        expect(res.out == "", "stdout for %s: %r" % (p, res.out))
    res = cli.run("resave", missing, suite.path("out.tlm"))
    expect_equal(res.code, 1, "resave of a missing file (%s)" % res.describe())
    expect(not os.path.exists(suite.path("out.tlm")), "resave of a missing file left an output")


@suite.case
def the_message_carries_a_non_ascii_path_intact():
    p = suite.write(os.path.join("K\u00fcche \u20ac", "cut \u03a9.tlm"), bytes(5))
    cli.expect_refused(p, "non-ASCII path")


@suite.case
def a_refused_file_is_not_resaved():
    src = suite.write("cut.tlm", write_template(small_template())[:-3])
    out = suite.path("cut-out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 1, "exit (%s)" % res.describe())
    expect("An attempt was made to access %s past its end." % src in res.err, "stderr %r" % res.err)
    expect(not os.path.exists(out), "an output file was left behind")


suite.finish()
