"""The block after the last area that holds each area's perspective mode and
real size: read from files the independent writer made, written so that
the independent reader agrees byte for byte, and skipped with one warning
when damaged."""

import json
import os

from clitest import Suite, diff_info, expect, expect_equal, info_shape
from tlmformat import (Area, Template, extension_block, png_bytes, read_template,
                       solid, write_template)

suite = Suite()
cli = suite.cli

SQUARE = [(0.0, 0.0), (100.0, 0.0), (100.0, 100.0), (0.0, 100.0)]
WARNING = "the perspective and real-size values could not be read; the template opens without them."


def template():
    return Template(areas=[
        Area(name="Floor", outline=[SQUARE], skew=1, perspective=True,
             corners=[(10, 5), (90, 8), (-40, 120), (150, 130)], initial_rect=(0, 0, 100, 60),
             real_size=(10.5, 20.25, 60.0, 22.0, 120.0, 30.0)),
        Area(name="Plain", outline=[SQUARE], rotation=5.0),
        Area(name="Wall", outline=[SQUARE], real_size=(0.0, 0.0, 0.0, 0.0, 0.0, 45.5)),
        Area(name="Tilted", outline=[SQUARE], perspective=True),
    ])


def records(t):
    return write_template(t, extension=False)


@suite.case
def info_shows_the_values_the_block_holds():
    t = template()
    res = cli.run("info", suite.write("ext.tlm", write_template(t)))
    expect_equal(res.code, 0, "info exit (%s)" % res.describe())
    expect_equal(res.err, "", "stderr")
    got = json.loads(res.out)
    diff_info(got, info_shape(t))
    expect("realSize" not in got["areas"][1], "an area without a real size shows none")


@suite.case
def resave_writes_the_block_as_the_independent_writer_does():
    t = template()
    src = suite.write("in.tlm", write_template(t))
    out = suite.path("out.tlm")
    res = cli.run("resave", src, out)
    expect_equal(res.code, 0, "resave exit (%s)" % res.describe())
    with open(out, "rb") as f:
        data = f.read()
    expect_equal(data, write_template(t), "resaved bytes")
    expect_equal([(a.perspective, a.real_size) for a in read_template(data).areas],
                 [(a.perspective, a.real_size) for a in t.areas], "values")


@suite.case
def without_new_values_no_block_is_written():
    t = Template(areas=[Area(name="Plain", outline=[SQUARE])])
    src = suite.write("plain.tlm", write_template(t))
    out = suite.path("plain-out.tlm")
    expect_equal(cli.run("resave", src, out).code, 0, "resave exit")
    with open(out, "rb") as f:
        expect_equal(f.read(), records(t), "bytes")


@suite.case
def damaged_blocks_warn_once_and_open_without_their_values():
    t = template()
    base = records(t)
    good = extension_block(t.areas)
    damaged = {
        "checksum": good[:-1] + bytes([good[-1] ^ 1]),
        "version": extension_block(t.areas, version=2),
        "count": extension_block(t.areas, count=3),
        "length": extension_block(t.areas, length=0xFFFFFFF0),
        "cut": good[:len(good) // 2],
        "tag only": good[:4],
        "nan": extension_block([Area(real_size=(float("nan"),) + (0.0,) * 5)] * 4),
        "negative": extension_block([Area(real_size=(0.0,) * 5 + (-1.0,))] * 4),
    }
    plain = info_shape(Template(areas=[Area(**dict(vars(a), perspective=False, real_size=(0.0,) * 6))
                                       for a in t.areas]))
    for what, block in damaged.items():
        p = suite.write("damaged.tlm", base + block)
        res = cli.run("info", p)
        expect_equal(res.code, 0, "%s: exit (%s)" % (what, res.describe()))
        expect_equal(res.err, "warning: %s: %s\n" % (p, WARNING), what + ": stderr")
        diff_info(json.loads(res.out), plain, what)
    # Stray bytes such as older files may end with are no block: no word.
    res = cli.run("info", suite.write("stray.tlm", base + b"stray"))
    expect_equal((res.code, res.err), (0, ""), "stray bytes (%s)" % res.describe())


@suite.case
def make_takes_the_same_keys():
    folder = os.path.join(suite.tmp, "make")
    suite.write(os.path.join("make", "tile.png"), png_bytes(8, 8, solid((90, 90, 90))))
    desc = {"areas": [
        {"name": "Floor", "texture": "tile.png", "outline": [[[0, 0], [50, 0], [50, 40], [0, 40]]],
         "perspective": True,
         "realSize": {"reference": [1.5, 2, 30, 2], "referenceCm": 80, "textureWidthCm": 33.3}},
        {"name": "Plain", "perspective": False},
    ]}
    src = suite.write(os.path.join("make", "desc.json"), json.dumps(desc).encode())
    out = os.path.join(folder, "made.tlm")
    res = cli.run("make", src, out)
    expect_equal(res.code, 0, "make exit (%s)" % res.describe())
    with open(out, "rb") as f:
        areas = read_template(f.read()).areas
    expect_equal([(a.perspective, a.real_size) for a in areas],
                 [(True, (1.5, 2.0, 30.0, 2.0, 80.0, 33.3)), (False, (0.0,) * 6)], "values")

    for bad in ({"perspective": 1}, {"realSize": {"referenceCm": -2}},
                {"realSize": {"reference": [1, 2, 3]}}, {"realSize": 5}):
        p = suite.write(os.path.join("make", "bad.json"), json.dumps({"areas": [bad]}).encode())
        res = cli.run("make", p, suite.path("bad.tlm"))
        expect_equal(res.code, 1, "%r: exit (%s)" % (bad, res.describe()))
        expect("areas[0]." in res.err, "%r: stderr %r names no place" % (bad, res.err))
        expect(not os.path.exists(suite.path("bad.tlm")), "%r: a file was written" % bad)


suite.finish()
