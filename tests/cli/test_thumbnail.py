"""`tilemont-cli thumbnail`: a template fitted into N x N pixels as a PNG, as a
file manager asks for one. Checked by value against the tool's own export
scaled to the same size, which composes the whole picture first: the
thumbnail, composed small, must look the same. Then the sizes, the
thumbnailer entry as a file manager runs it, and every way the command can
fail without leaving a file."""

import math
import os
import subprocess

import refcompose as ref
from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, png_bytes, rect, write_template

suite = Suite()
cli = suite.cli
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def jpeg(w, h, pixel, quality=100):
    return ref.encode_jpeg(ref.Image(w, h, [pixel(x, y) for y in range(h) for x in range(w)]), quality)


def photo(w, h):
    """A smooth, colourful picture of w x h pixels as a JPEG, made row by row
    so that millions of pixels take a second."""
    rows = []
    for y in range(h):
        row = bytearray(3 * w)
        row[0::3] = bytes(60 + x * 150 // w for x in range(w))
        row[1::3] = bytes([50 + y * 160 // h]) * w
        row[2::3] = bytes(int(120 + 50 * math.sin(x * 45.0 / w) * math.cos(y * 35.0 / h)) for x in range(w))
        rows.append(bytes(row))
    ppm = b"P6\n%d %d\n255\n" % (w, h) + b"".join(rows)
    return subprocess.run(["cjpeg", "-quality", "95"], input=ppm, capture_output=True, check=True,
                          timeout=60).stdout


# Textures as rooms have them: tiles with grout lines, stone, planks with
# seams, many times smaller in a thumbnail than in the picture.
TILES = jpeg(48, 48, lambda x, y: (60, 60, 70) if x < 3 or y < 3 else (200 + (x * 7 + y * 3) % 30, 190, 170))
STONE = jpeg(40, 40, lambda x, y: (int(150 + 40 * math.sin(x / 4.0) * math.cos(y / 3.0)), 140 + (x * y) % 23, 130))
PLANKS = jpeg(96, 24, lambda x, y: (60, 40, 20) if y < 2 or x < 2 else (150 + x, 100 + 3 * y, 50))


def room(w):
    """A room w pixels wide (4:3): a tiled wall with a window cut out and its
    texture turned, a stone panel skewed onto four corners, a planked floor
    in perspective and an area without texture."""
    k = w / 2000.0
    def p(x, y):
        return (round(x * k), round(y * k))
    return Template(picture=photo(w, w * 3 // 4), areas=[
        Area(name="wall", texture=TILES, rotation=30.0, shift_x=round(25 * k), shift_y=round(15 * k), scale=k,
             outline=[rect(*p(100, 100), *p(900, 700)), rect(*p(300, 250), *p(500, 450))]),
        Area(name="panel", texture=STONE, scale=0.75 * k, skew=1,
             corners=[p(1100, 150), p(1850, 250), p(1050, 750), p(1900, 700)],
             initial_rect=(0, 0) + p(600, 450), outline=[rect(*p(1025, 125), *p(1925, 775))]),
        Area(name="floor", texture=PLANKS, scale=1.5 * k, skew=1, perspective=True,
             corners=[p(650, 850), p(1350, 850), p(0, 1500), p(2000, 1500)], initial_rect=(0, 0) + p(2000, 2000),
             outline=[[p(650, 850), p(1350, 850), p(2000, 1500), p(0, 1500)]]),
        Area(name="blank", outline=[rect(*p(1500, 800), *p(1950, 1000))]),
    ])


def fitted(w, h, side):
    """The size that fits w x h into side x side: the longer side becomes
    side, the other keeps the aspect, rounded half up, at least 1; a picture
    that fits already keeps its size."""
    if max(w, h) <= side:
        return w, h
    scale = side / max(w, h)
    return max(1, int(w * scale + 0.5)), max(1, int(h * scale + 0.5))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def thumbnail(tlm, name, *options):
    out = suite.path(name)
    res = cli.run("thumbnail", tlm, out, *options)
    expect(res.code == 0 and res.err == "", "thumbnail %s failed: %s" % (options, res.describe()))
    return ref.read_png(read(out))


def exported(tlm, name, w, h):
    out = suite.path(name)
    res = cli.run("export", tlm, out, "--width", w, "--height", h)
    expect(res.code == 0, "export %dx%d failed: %s" % (w, h, res.describe()))
    return ref.read_png(read(out))


def expect_looks_alike(got, want, what, mean_limit, p99_limit):
    diffs = ref.compare(got, want)
    mean = sum(diffs) / len(diffs)
    p99 = diffs[int(0.99 * (len(diffs) - 1))]
    expect(mean <= mean_limit and p99 <= p99_limit,
           "%s: mean difference %.2f (limit %s), 99th percentile %d (limit %s)"
           % (what, mean, mean_limit, p99, p99_limit))


def leftovers(folder, keep):
    return sorted(set(os.listdir(folder)) - set(keep))


# Large enough that the thumbnail is composed smaller than the picture; the
# small one is composed whole.
ROOM_TLM = suite.write("room.tlm", write_template(room(2000)))
SMALL_TLM = suite.write("small.tlm", write_template(room(400)))


@suite.case
def a_thumbnail_looks_like_the_export_scaled_down():
    for side in (256, 100, 41):
        w, h = fitted(2000, 1500, side)
        got = thumbnail(ROOM_TLM, "room-%d.png" % side, "--size", side)
        expect_equal((got.width, got.height), (w, h), "size of the %d thumbnail" % side)
        want = exported(ROOM_TLM, "room-export-%d.png" % side, w, h)
        expect_looks_alike(got, want, "%d thumbnail" % side, 4.0, 30)


@suite.case
def the_demo_room_thumbnail_looks_like_its_export():
    root = suite.path("demo")
    res = cli.run("demo", root)
    expect(res.code == 0, "demo failed: %s" % res.describe())
    tlm = os.path.join(root, "templates", "demo.tlm")
    got = thumbnail(tlm, "demo.png")  # 256 unless told
    w, h = fitted(1600, 1067, 256)
    expect_equal((got.width, got.height), (w, h), "size of the demo thumbnail")
    expect_looks_alike(got, exported(tlm, "demo-export.png", w, h), "demo thumbnail", 3.0, 25)


@suite.case
def a_picture_that_fits_is_the_export_itself_and_never_enlarged():
    got = thumbnail(SMALL_TLM, "small-whole.png", "--size", 400)
    want = exported(SMALL_TLM, "small-whole-export.png", 400, 300)
    expect(got.px == want.px, "400 thumbnail differs from the export at its own size: %r"
           % ref.first_differences(got, want))
    big = thumbnail(SMALL_TLM, "small-big.png", "--size", 4096)
    expect_equal((big.width, big.height), (400, 300), "size asked larger than the picture")
    expect(big.px == want.px, "an enlarged thumbnail")


@suite.case
def the_thumbnailer_entry_runs_as_a_file_manager_runs_it():
    entry = read(os.path.join(SOURCE, "src", "resources", "tilemont.thumbnailer")).decode()
    fields = dict(line.split("=", 1) for line in entry.splitlines()[1:] if "=" in line)
    expect_equal(entry.splitlines()[0], "[Thumbnailer Entry]", "group")
    expect_equal(fields["TryExec"], "tilemont-cli", "TryExec")
    out = suite.path("from-entry.png")
    words = [{"%i": SMALL_TLM, "%o": out, "%s": "128"}.get(w, w) for w in fields["Exec"].split()]
    expect_equal(words[0], "tilemont-cli", "program")
    proc = subprocess.run([cli.exe] + words[1:], capture_output=True, timeout=30)
    expect(proc.returncode == 0, "Exec line failed: %r" % proc.stderr)
    direct = suite.path("direct-128.png")
    expect_equal(cli.run("thumbnail", SMALL_TLM, direct, "--size", "128").code, 0, "direct thumbnail")
    expect(read(out) == read(direct), "the entry's thumbnail differs from the command's")
    got = ref.read_png(read(out))
    expect_equal((got.width, got.height), fitted(400, 300, 128), "size from the entry")


@suite.case
def a_file_that_cannot_be_made_into_a_thumbnail_writes_nothing():
    folder = suite.path("failing")
    os.makedirs(folder)
    kept = os.path.join(folder, "kept.png")
    with open(kept, "wb") as f:
        f.write(b"the previous thumbnail")
    whole = read(SMALL_TLM)
    cases = {
        "cut short": whole[:len(whole) // 3],
        "not a template": png_bytes(8, 8, lambda x, y: (x * 30, y * 30, 0)),
        "no picture": write_template(Template(areas=[Area(name="a", outline=[rect(0, 0, 5, 5)])])),
        "empty": b"",
    }
    for what, data in cases.items():
        tlm = suite.write(os.path.join("inputs", what + ".tlm"), data)
        for out in (os.path.join(folder, "new.png"), kept):
            res = cli.run("thumbnail", tlm, out)
            expect(res.code == 1, "%s: expected exit 1, got %s" % (what, res.describe()))
            expect(tlm in res.err, "%s: stderr does not name the file: %r" % (what, res.err))
        expect(not os.path.exists(os.path.join(folder, "new.png")), "%s: wrote a thumbnail" % what)
        expect_equal(read(kept), b"the previous thumbnail", "%s: the file that was there" % what)
    res = cli.run("thumbnail", SMALL_TLM, os.path.join(folder, "no such folder", "t.png"))
    expect(res.code == 1 and "t.png" in res.err, "unwritable output: %s" % res.describe())
    expect_equal(leftovers(folder, ["kept.png"]), [], "files left behind")


@suite.case
def nonsense_command_lines_are_usage_errors():
    out = suite.path("never.png")
    calls = [["thumbnail"], ["thumbnail", SMALL_TLM], ["thumbnail", SMALL_TLM, out, out],
             ["thumbnail", SMALL_TLM, out, "--size"], ["thumbnail", SMALL_TLM, out, "--width", "9"]]
    calls += [["thumbnail", SMALL_TLM, out, "--size", s] for s in ("0", "-3", "4097", "12.5", "big", "")]
    bad = [("%s -> %s" % (args, res.describe())) for args, res in ((a, cli.run(*a)) for a in calls)
           if res.code != 2 or not res.err.strip()]
    expect(not bad, "\n  ".join([""] + bad))
    expect(not os.path.exists(out), "a usage error wrote a file")
    edge = thumbnail(SMALL_TLM, "one.png", "--size", "1")
    expect_equal((edge.width, edge.height), (1, 1), "size 1")


suite.finish()
