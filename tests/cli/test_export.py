"""`tilemont-cli export`: templates written by the independent writer are
exported and the files read back here, pixel by pixel against refcompose,
the independent composer; then sizes, every format option, and every way an
export can fail without leaving a file behind."""

import math
import os
import shutil
import subprocess

import refcompose as ref
from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, jpeg_quant_values, rect, write_template

suite = Suite()
cli = suite.cli

RED, GREEN, BLUE, YELLOW = (220, 30, 30), (30, 180, 60), (30, 40, 210), (230, 220, 40)


def image(w, h, pixel):
    return ref.Image(w, h, [pixel(x, y) for y in range(h) for x in range(w)])


def jpeg(w, h, pixel, quality=95):
    return ref.encode_jpeg(image(w, h, pixel), quality)


def photo(x, y):
    """Photo-like content with no black anywhere, so a black first row or
    column cannot hide."""
    return (40 + 3 * x, 30 + 4 * y, int(130 + 60 * math.sin(x / 7.0) * math.cos(y / 5.0)))


PICTURE = jpeg(64, 48, photo)
# Textures with a different colour in every texel, odd sizes for T2 so a
# wrong tiling origin or a wrong rotation shows.
T1 = jpeg(8, 6, lambda x, y: (20 + 28 * x, 30 + 40 * y, 200 - 20 * x - 10 * y), 100)
T2 = jpeg(7, 5, lambda x, y: (250 - 30 * x, 60 + 45 * y, 40 + 18 * (x + y)), 100)
QUADS = jpeg(6, 6, lambda x, y: [[RED, GREEN], [BLUE, YELLOW]][y // 3][x // 3], 100)


def area(name, texture=b"", **kw):
    return Area(name=name, texture=texture, **kw)


def quad_picture(w=64, h=48):
    return jpeg(w, h, lambda x, y: [[RED, GREEN], [BLUE, YELLOW]][2 * y // h][2 * x // w])


def save(name, template):
    return suite.write(name, write_template(template))


def export(tlm, out, *options):
    return cli.run("export", tlm, out, *options)


def exported(tlm, out, *options):
    res = export(tlm, out, *options)
    expect(res.code == 0, "export %s %s failed: %s" % (out, options, res.describe()))
    expect(os.path.isfile(out), "export %s reported success but wrote nothing" % out)
    with open(out, "rb") as f:
        return f.read()


def read_image(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] == b"\x89PNG":
        return ref.read_png(data)
    if data[:2] == b"BM":
        return ref.read_bmp(data)
    if data[:2] in (b"II", b"MM"):
        return ref.read_tiff_rgb(data)
    if data[:2] == b"\xff\xd8":
        return ref.decode_jpeg(data)
    raise ValueError("%s: unknown image format" % path)


def expect_same_pixels(got, want, what, mask=None):
    expect_equal((got.width, got.height), (want.width, want.height), what + " size")
    diffs = ref.compare(got, want, mask)
    bad = sum(1 for d in diffs if d)
    expect(bad == 0, "%s: %d pixels differ; first (x, y), got, want: %r"
           % (what, bad, ref.first_differences(got, want)))


def expect_close_pixels(got, want, what, mean_limit, p99_limit, mask=None):
    diffs = ref.compare(got, want, mask)
    mean = sum(diffs) / len(diffs)
    p99 = diffs[int(0.99 * (len(diffs) - 1))]
    expect(mean <= mean_limit and p99 <= p99_limit,
           "%s: mean difference %.2f (limit %s), 99th percentile %d (limit %s)"
           % (what, mean, mean_limit, p99, p99_limit))


def near(got, want, what, tol=30):
    expect(all(abs(g - w) <= tol for g, w in zip(got, want)),
           "%s: colour %r, want about %r" % (what, tuple(round(v) for v in got), want))


def area_mask(contours, w=64, h=48):
    mask, ambiguous = ref.outline_mask(contours, w, h)
    expect(ambiguous == 0, "test outline has %d pixel centres on an edge" % ambiguous)
    return mask


# ------------------------------------------------------------ composition

FLAT = Template(picture=PICTURE, areas=[
    # vertices are truncated, not rounded: this is the rectangle (2,3)-(20,15)
    area("plain", T1, shift_x=3, shift_y=1,
         outline=[[(2.9, 3.2), (20.7, 3.9), (20.0, 15.0), (2.0, 15.99)]]),
    area("turned", T2, rotation=90.0, shift_x=5, shift_y=-2,
         outline=[rect(24, 2, 46, 22), rect(30, 8, 38, 16)]),
    area("blank", b"", outline=[rect(0, 26, 64, 48)]),
    area("over", T1, rotation=180.0, shift_x=-4, shift_y=7,
         outline=[[(6, 5), (40, 17), (14, 40)]]),
    area("r270", T2, rotation=270.0, outline=[rect(48, 26, 62, 46)]),
])


def level_gap(a, b):
    """Largest difference in 5-6-5 levels between two quantised colours."""
    qa, qb = ref.to565(a), ref.to565(b)
    return max(abs(qa[k] - qb[k]) for k in range(3))


def owners(template, w=64, h=48):
    """Index of the textured area whose paint each pixel finally shows, or
    None where the picture shows."""
    owner = [None] * (w * h)
    for n, a in enumerate(template.areas):
        if a.texture:
            mask = area_mask(a.outline, w, h)
            for i in range(w * h):
                if mask[i]:
                    owner[i] = n
    return owner


def expect_flat_match(got, want, template, what):
    """Exact everywhere: the picture, straight textures, and textures turned
    by a multiple of 90 degrees, whose pixel centres land on texel centres."""
    expect_equal((got.width, got.height), (want.width, want.height), what + " size")
    bad = [((i % want.width, i // want.width), g, w)
           for i, (g, w) in enumerate(zip(got.px, want.px)) if g != w]
    expect(not bad, "%s: %d pixels differ; (x, y), got, want: %r" % (what, len(bad), bad[:6]))


@suite.case
def flat_areas_match_the_reference_in_png_and_bmp():
    tlm = save("flat.tlm", FLAT)
    want, notes = ref.compose(FLAT)
    expect_equal(notes["ambiguous"], 0, "ambiguous outline pixels in the test data")
    for ext in ("png", "bmp"):
        out = suite.path("flat." + ext)
        exported(tlm, out)
        got = read_image(out)
        expect_flat_match(got, want, FLAT, ext)
        bad = [p for p in got.px if not ref.only_565_levels(p)]
        expect(not bad, "%s: %d pixels carry more than 5-6-5 precision, e.g. %r"
               % (ext, len(bad), bad[:3]))
        edge = [got.get(x, 0) for x in range(64)] + [got.get(0, y) for y in range(48)]
        expect(all(max(p) > 0 for p in edge), "%s: black first row or column" % ext)


@suite.case
def untextured_area_leaves_the_picture_and_later_areas_cover_earlier():
    out = suite.path("flat2.png")
    exported(save("flat2.tlm", FLAT), out)
    got = read_image(out)
    picture = ref.decode_jpeg(PICTURE)
    owner = owners(FLAT)
    blank = area_mask([rect(0, 26, 64, 48)])
    only_blank = [blank[i] and owner[i] is None for i in range(64 * 48)]
    expect(sum(only_blank) > 500, "untextured area mostly covered in the test data")
    expect_same_pixels(got, ref.Image(64, 48, [ref.quantise(p) for p in picture.px]),
                       "untextured area", only_blank)
    # where "plain" and "over" meet, "over" (later) wins: its 180-degree
    # placement samples texels that "plain" puts elsewhere
    t1 = ref.decode_jpeg(T1)
    turned, straight = ref.Placement(180.0, -4, 7, 1.0), ref.Placement(0.0, 3, 1, 1.0)
    plain = area_mask(FLAT.areas[0].outline)
    shared = [i for i in range(64 * 48) if plain[i] and owner[i] == 3]
    expect(len(shared) > 50, "test areas barely overlap")
    differ = 0
    for i in shared:
        x, y = i % 64, i // 64
        want = ref.quantise(ref.sample_nearest(t1, *turned.texel(x + 0.5, y + 0.5)))
        under = ref.quantise(ref.sample_nearest(t1, *straight.texel(x + 0.5, y + 0.5)))
        expect(got.get(x, y) == want,
               "overlap pixel (%d, %d): got %r, want %r" % (x, y, got.get(x, y), want))
        differ += level_gap(want, under) > 2
    expect(differ > len(shared) // 2, "the two areas' textures agree too often to tell")


SKEWED_BLOB = jpeg(20, 18, lambda x, y: (60 + 9 * x, 200 - 8 * y, 90 + 5 * (x ^ y)), 100)
REBUILT_CORNERS = [(40, 4), (60, 7), (38, 26), (62, 24)]
SKEW = Template(picture=PICTURE, areas=[
    # stored warp smaller than the corner box, outline larger than both
    area("stored", T1, skewed=SKEWED_BLOB, skew=1,
         corners=[(5, 5), (30, 8), (4, 28), (33, 30)], outline=[rect(2, 2, 36, 34)]),
    # no stored warp: rebuilt from a 16 x 12 initial rect; the outline is the
    # whole corner box and one more column and row, so unsampled box pixels
    # show black and the pixels beyond the box keep the picture
    area("rebuilt", QUADS, skew=1, shift_x=2, shift_y=1, corners=REBUILT_CORNERS,
         outline=[rect(38, 4, 64, 28)], initial_rect=(100, 100, 116, 112)),
    # empty initial rect: the flat canvas takes the outline's bounds (20 x 13)
    area("bounds", T2, skew=1, rotation=90.0, shift_x=1, shift_y=2,
         corners=[(12, 33), (28, 34), (10, 45), (29, 44)],
         outline=[[(10, 33), (30, 33), (30, 46), (10, 46)]]),
])


@suite.case
def skewed_areas_stored_and_rebuilt_match_the_reference():
    tlm = save("skew.tlm", SKEW)
    want, notes = ref.compose(SKEW)
    expect_equal(len(notes["rebuilt"]), 2, "rebuilt warps")
    rebuilt = notes["rebuilt"][0]
    expect_equal((rebuilt.width, rebuilt.height), (25, 23), "rebuilt warp size")
    expect(rebuilt.get(0, 22) == (0, 0, 0) and rebuilt.get(12, 11) != (0, 0, 0),
           "reference warp should leave the box corner black and fill the middle")
    out = suite.path("skew.png")
    exported(tlm, out)
    got = read_image(out)
    expect_same_pixels(got, want, "skewed areas")
    # the stored warp is 20 x 18 at (4, 5): outline pixels beyond it keep the picture
    picture = ref.decode_jpeg(PICTURE)
    for x, y in ((3, 3), (30, 20), (10, 30), (35, 33)):
        expect_equal(got.get(x, y), ref.quantise(picture.get(x, y)),
                     "pixel (%d, %d) beyond the stored warp" % (x, y))
    expect_equal(got.get(63, 10), ref.quantise(picture.get(63, 10)),
                 "pixel right of the rebuilt warp's box")


SMOOTH_TEX = jpeg(16, 16, lambda x, y: (
    int(128 + 100 * math.sin(2 * math.pi * x / 16)),
    int(128 + 100 * math.cos(2 * math.pi * y / 16)),
    int(128 + 80 * math.sin(2 * math.pi * (x + y) / 16))), 100)
FREE = Template(picture=PICTURE, areas=[
    area("tilted", SMOOTH_TEX, rotation=33.3, shift_x=4, shift_y=-3, scale=1.7,
         outline=[rect(0, 0, 40, 48)]),
    area("grown", SMOOTH_TEX, scale=2.5, shift_x=3, shift_y=3, outline=[rect(40, 0, 64, 48)]),
])


@suite.case
def rotated_and_scaled_textures_are_close_to_the_reference():
    out = suite.path("free.png")
    exported(save("free.tlm", FREE), out)
    got = read_image(out)
    want, _ = ref.compose(FREE)
    left = area_mask(FREE.areas[0].outline)
    right = area_mask(FREE.areas[1].outline)
    expect_close_pixels(got, want, "rotation 33.3, scale 1.7", 3.5, 12, left)
    expect_close_pixels(got, want, "scale 2.5", 3.5, 12, right)
    # the opposite turn must be clearly worse, or the check above proves nothing
    wrong, _ = ref.compose(Template(picture=PICTURE, areas=[
        area("tilted", SMOOTH_TEX, rotation=-33.3, shift_x=4, shift_y=-3, scale=1.7,
             outline=[rect(0, 0, 40, 48)])]))
    diffs = ref.compare(got, wrong, left)
    expect(sum(diffs) / len(diffs) > 15, "a mirrored rotation is indistinguishable here")


# ------------------------------------------------------------ sizes

QUAD_TLM = save("quads.tlm", Template(picture=quad_picture()))


@suite.case
def one_side_follows_the_aspect_ratio_by_truncation():
    # 7 x 5 and 9 x 7 pictures: width * (7 / 5) and 9 / (9 / 7) fall just
    # below whole numbers in double arithmetic
    small = save("small75.tlm", Template(picture=jpeg(7, 5, photo)))
    other = save("small97.tlm", Template(picture=jpeg(9, 7, photo)))
    cases = [
        (QUAD_TLM, ("--width", "50"), (50, 37)),
        (QUAD_TLM, ("--height", "35"), (46, 35)),
        (QUAD_TLM, ("--width", "20", "--height", "90"), (20, 90)),
        (QUAD_TLM, (), (64, 48)),
        (small, ("--height", "45"), ref.aspect_size(7, 5, height=45)),
        (other, ("--width", "9"), ref.aspect_size(9, 7, width=9)),
    ]
    expect_equal(cases[4][2], (62, 45), "reference aspect rule")
    expect_equal(cases[5][2], (9, 6), "reference aspect rule")
    for n, (tlm, opts, size) in enumerate(cases):
        out = suite.path("size%d.png" % n)
        exported(tlm, out, *opts)
        got = read_image(out)
        expect_equal((got.width, got.height), size, "size for %s" % (opts,))


@suite.case
def scaled_exports_keep_the_quadrant_colours():
    for w, h in ((128, 96), (32, 24), (100, 30)):
        out = suite.path("scaled%dx%d.png" % (w, h))
        exported(QUAD_TLM, out, "--width", w, "--height", h)
        got = read_image(out)
        expect_equal((got.width, got.height), (w, h), "scaled size")
        for (qx, qy), colour in (((0, 0), RED), ((1, 0), GREEN), ((0, 1), BLUE),
                                 ((1, 1), YELLOW)):
            x0, y0 = qx * w // 2 + w // 8, qy * h // 2 + h // 8
            patch = ref.mean_colour(got, x0, y0, x0 + w // 4, y0 + h // 4)
            near(patch, ref.quantise(colour), "%dx%d quadrant %d,%d" % (w, h, qx, qy), 12)


# ------------------------------------------------------------ formats

def quadrant_colours(img):
    w, h = img.width, img.height
    return [ref.mean_colour(img, qx * w // 2 + w // 8, qy * h // 2 + h // 8,
                            qx * w // 2 + 3 * w // 8, qy * h // 2 + 3 * h // 8)
            for qy in (0, 1) for qx in (0, 1)]


@suite.case
def format_follows_the_extension_unless_given():
    tiff = (b"II*\x00", b"MM\x00*")
    magic = {"bmp": (b"BM",), "gif": (b"GIF87a", b"GIF89a"), "jpg": (b"\xff\xd8",),
             "jpeg": (b"\xff\xd8",), "png": (b"\x89PNG",), "tif": tiff, "tiff": tiff}
    for ext, heads in magic.items():
        data = exported(QUAD_TLM, suite.path("ext." + ext))
        expect(any(data.startswith(h) for h in heads), ".%s: file starts %r" % (ext, data[:8]))
    data = exported(QUAD_TLM, suite.path("named.dat"), "--format", "png")
    expect(data[:4] == b"\x89PNG", "--format png wrote %r" % data[:8])
    data = exported(QUAD_TLM, suite.path("named.png"), "--format", "bmp")
    expect(data[:2] == b"BM", "--format bmp into a .png name wrote %r" % data[:8])


JPEG_TURNS = {
    # option: (size, quadrant colours TL, TR, BL, BR)
    "none": ((64, 48), (RED, GREEN, BLUE, YELLOW)),
    "rotate90": ((48, 64), (BLUE, RED, YELLOW, GREEN)),
    "rotate180": ((64, 48), (YELLOW, BLUE, GREEN, RED)),
    "rotate270": ((48, 64), (GREEN, YELLOW, RED, BLUE)),
    "flip-horizontal": ((64, 48), (GREEN, RED, YELLOW, BLUE)),
    "flip-vertical": ((64, 48), (BLUE, YELLOW, RED, GREEN)),
}
JPEG_TURN_CODES = {"none": 0, "rotate90": 13, "rotate180": 14, "rotate270": 15,
                   "flip-horizontal": 16, "flip-vertical": 17}


@suite.case
def jpeg_transformations_turn_the_image_and_codes_equal_names():
    for name, (size, colours) in JPEG_TURNS.items():
        out = suite.path("turn-%s.jpg" % name)
        data = exported(QUAD_TLM, out, "--transformation", name)
        img = ref.decode_jpeg(data)
        expect_equal((img.width, img.height), size, name + " size")
        for got, want, where in zip(quadrant_colours(img), colours, ("TL", "TR", "BL", "BR")):
            near(got, want, "%s %s" % (name, where))
        by_code = exported(QUAD_TLM, suite.path("turn-%d.jpg" % JPEG_TURN_CODES[name]),
                           "--transformation", JPEG_TURN_CODES[name])
        expect(by_code == data, "--transformation %d differs from %s"
               % (JPEG_TURN_CODES[name], name))


@suite.case
def jpeg_quality_defaults_to_100_and_changes_the_file():
    default = exported(QUAD_TLM, suite.path("q-default.jpg"))
    best = exported(QUAD_TLM, suite.path("q100.jpg"), "--quality", "100")
    low = exported(QUAD_TLM, suite.path("q10.jpg"), "--quality", "10")
    zero = exported(QUAD_TLM, suite.path("q0.jpg"), "--quality", "0")
    expect(default == best, "default quality is not 100")
    expect_equal(max(jpeg_quant_values(best)), 1, "largest quantiser at quality 100")
    expect(len(low) < len(best), "quality 10 (%d bytes) not smaller than 100 (%d)"
           % (len(low), len(best)))
    expect(len(zero) <= len(low), "quality 0 larger than quality 10")
    for got, want in zip(quadrant_colours(ref.decode_jpeg(low)), (RED, GREEN, BLUE, YELLOW)):
        near(got, want, "quality 10 colours", 40)


def tiff_palette_pixels(data, tags):
    """Pixels of an uncompressed 4- or 8-bit palette TIFF."""
    width, height = tags[256][0], tags[257][0]
    bits = tags[258][0]
    cmap = tags[320]
    n = 1 << bits
    raw = ref.tiff_strips(data, tags)
    stride = (width * bits + 7) // 8
    px = []
    for y in range(height):
        for x in range(width):
            byte = raw[y * stride + x * bits // 8]
            i = byte if bits == 8 else (byte >> 4 if x % 2 == 0 else byte & 15)
            px.append(tuple(cmap[k * n + i] >> 8 for k in range(3)))
    return ref.Image(width, height, px)


@suite.case
def tiff_compressions_and_depths_are_written_as_asked():
    want, _ = ref.compose(Template(picture=quad_picture()))
    codes = {"none": 6, "lzw": 2, "ccitt3": 3, "ccitt4": 4, "rle": 5}
    tiff_code = {"none": 1, "lzw": 5, "ccitt3": 3, "ccitt4": 4, "rle": 32773}
    default = exported(QUAD_TLM, suite.path("default.tif"))
    tags = ref.read_tiff_ifd(default)
    expect_equal(tags.get(259, (1,))[0], 1, "default compression")
    expect_equal(tags[277][0], 4, "default samples per pixel (depth 32)")
    for comp in ("none", "lzw", "rle", "ccitt3", "ccitt4"):
        for depth in ((1,) if comp.startswith("ccitt") else (1, 4, 8, 24, 32)):
            out = suite.path("t-%s-%d.tiff" % (comp, depth))
            data = exported(QUAD_TLM, out, "--compression", comp, "--color-depth", depth)
            what = "compression %s depth %d" % (comp, depth)
            tags = ref.read_tiff_ifd(data)
            expect_equal((tags[256][0], tags[257][0]), (64, 48), what + " size")
            expect_equal(tags.get(259, (1,))[0], tiff_code[comp], what + " compression tag")
            bits, spp = tags[258], tags.get(277, (1,))[0]
            photometric = tags[262][0]
            if depth >= 24:
                expect_equal((spp, set(bits), photometric), (depth // 8, {8}, 2), what)
                expect_same_pixels(ref.read_tiff_rgb(data), want, what)
            elif depth == 1:
                expect_equal((spp, bits[0]), (1, 1), what)
                expect(photometric in (0, 1, 3), "%s: photometric %d" % (what, photometric))
            else:
                expect_equal((spp, bits[0], photometric), (1, depth, 3), what)
                expect(320 in tags and len(tags[320]) == 3 << depth,
                       "%s: colour map %s" % (what, len(tags.get(320, ()))))
                if comp == "none":
                    img = tiff_palette_pixels(data, tags)
                    for got, col in zip(quadrant_colours(img), (RED, GREEN, BLUE, YELLOW)):
                        near(got, col, what + " palette colour", 40)
            if comp == "none" and depth in (24, 32):
                same = exported(QUAD_TLM, suite.path("code-%d.tiff" % depth),
                                "--compression", codes[comp], "--color-depth", depth)
                expect(same == data, "--compression 6 differs from none")
    lzw = exported(QUAD_TLM, suite.path("code-lzw.tiff"), "--compression", "2",
                   "--color-depth", "24")
    with open(suite.path("t-lzw-24.tiff"), "rb") as f:
        expect(lzw == f.read(), "--compression 2 differs from lzw")


@suite.case
def gif_has_the_size_and_at_most_256_colours():
    data = exported(QUAD_TLM, suite.path("quads.gif"))
    width, height, global_size, local_sizes, frames = ref.read_gif_header(data)
    expect_equal((width, height, frames), (64, 48, 1), "GIF size and frames")
    expect(global_size or local_sizes, "GIF without a colour table")
    expect(all(0 < n <= 256 for n in [global_size or 2] + local_sizes),
           "GIF colour tables %r" % ([global_size] + local_sizes))


# ------------------------------------------------------------ failures

def fresh_folder(name):
    folder = suite.path(name)
    os.makedirs(folder, exist_ok=True)
    return folder


def expect_failure(folder, code, args, what, names=(), message=None):
    """Runs an export that must fail: the exit status, one message naming a
    file (or the given text) and no new file in folder."""
    before = set(os.listdir(folder))
    res = cli.run("export", *args)
    expect(res.code == code, "%s: expected exit %d, got %s" % (what, code, res.describe()))
    expect(res.err.strip(), "%s: no message on stderr" % what)
    for name in names:
        expect(name in res.err, "%s: message %r does not name %s" % (what, res.err, name))
    if message:
        expect(message in res.err, "%s: message %r lacks %r" % (what, res.err, message))
    left = set(os.listdir(folder)) - before
    expect(not left, "%s: left %r behind" % (what, sorted(left)))


@suite.case
def failed_exports_exit_1_and_leave_nothing():
    folder = fresh_folder("fail1")
    out = os.path.join(folder, "out.tiff")
    expect_failure(folder, 1, (QUAD_TLM, out, "--compression", "ccitt3", "--color-depth", "24"),
                   "CCITT3 at depth 24", (out,))
    expect_failure(folder, 1, (QUAD_TLM, out, "--compression", "ccitt4"),
                   "CCITT4 at the default depth 32", (out,))
    png = os.path.join(folder, "out.png")
    expect_failure(folder, 1, (QUAD_TLM, png, "--width", "0"), "width 0", (png,))
    expect_failure(folder, 1, (QUAD_TLM, png, "--height", "0", "--width", "10"),
                   "height 0", (png,))
    missing = os.path.join(folder, "no such folder", "out.png")
    expect_failure(folder, 1, (QUAD_TLM, missing), "missing folder", (missing,))
    blocker = suite.write("fail1/plainfile", b"x")
    under_file = os.path.join(blocker, "out.png")
    expect_failure(folder, 1, (QUAD_TLM, under_file), "folder is a file", (under_file,))
    if os.geteuid() != 0:   # root writes through any permission bits
        locked = fresh_folder("locked")
        os.chmod(locked, 0o555)
        try:
            expect_failure(locked, 1, (QUAD_TLM, os.path.join(locked, "o.png")),
                           "read-only folder")
        finally:
            os.chmod(locked, 0o755)


@suite.case
def unusable_templates_exit_1_and_leave_nothing():
    folder = fresh_folder("fail2")
    out = os.path.join(folder, "out.png")
    bare = save("bare.tlm", Template(picture=b"", areas=[area("a", T1, outline=[rect(0, 0, 5, 5)])]))
    expect_failure(folder, 1, (bare, out), "template without picture", (bare,))
    whole = write_template(FLAT)
    truncated = suite.write("truncated.tlm", whole[:len(whole) - 30])
    expect_failure(folder, 1, (truncated, out), "truncated template", (truncated,))
    missing = suite.path("absent.tlm")
    expect_failure(folder, 1, (missing, out), "missing template", (missing,))
    broken = save("broken.tlm", Template(picture=b"\xff\xd8 not really a jpeg"))
    expect_failure(folder, 1, (broken, out), "undecodable picture", (broken,))


@suite.case
def bad_options_exit_2_and_leave_nothing():
    folder = fresh_folder("fail3")
    jpg = os.path.join(folder, "out.jpg")
    png = os.path.join(folder, "out.png")
    tif = os.path.join(folder, "out.tif")
    between = "Please enter an integer between 0 and 100."
    integer = "Please enter an integer."
    cases = [
        ((QUAD_TLM, jpg, "--quality", "101"), between),
        ((QUAD_TLM, jpg, "--quality", "-1"), between),
        ((QUAD_TLM, jpg, "--quality", "abc"), integer),
        ((QUAD_TLM, jpg, "--quality", "5x"), integer),
        ((QUAD_TLM, png, "--width", "abc"), integer),
        ((QUAD_TLM, png, "--height", "1.5"), integer),
        ((QUAD_TLM, png, "--quality", "50"), None),
        ((QUAD_TLM, png, "--compression", "lzw"), None),
        ((QUAD_TLM, jpg, "--color-depth", "24"), None),
        ((QUAD_TLM, tif, "--transformation", "rotate90"), None),
        ((QUAD_TLM, jpg, "--transformation", "rotate45"), None),
        ((QUAD_TLM, jpg, "--transformation", "12"), None),
        ((QUAD_TLM, tif, "--compression", "zip"), None),
        ((QUAD_TLM, tif, "--compression", "1"), None),
        ((QUAD_TLM, tif, "--color-depth", "16"), None),
        ((QUAD_TLM, os.path.join(folder, "out.xyz")), None),
        ((QUAD_TLM, os.path.join(folder, "noextension")), None),
        ((QUAD_TLM, png, "--format", "webp"), None),
        ((QUAD_TLM, png, "--width"), None),
        ((QUAD_TLM,), None),
    ]
    for args, message in cases:
        expect_failure(folder, 2, args, " ".join(map(str, args[1:])), message=message)


@suite.case
def an_export_onto_a_full_disk_says_so_and_leaves_nothing():
    # A tiny file system of our own, where the user may mount one; where
    # this machine allows none, there is no full disk to write onto.
    if not shutil.which("unshare"):
        print("note: no unshare here; the full-disk export was not tried")
        return
    probe = subprocess.run(["unshare", "-rm", "true"], capture_output=True)
    if probe.returncode != 0:
        print("note: no private mounts here; the full-disk export was not tried")
        return
    noisy = jpeg(160, 120, lambda x, y: ((x * 7919 + y * 104729) % 251, (x * y * 31) % 253, (x * 13 + y * 17) % 255))
    big = save("noisy.tlm", Template(picture=noisy))
    mount = fresh_folder("fulldisk")
    out = os.path.join(mount, "out.png")
    script = ('mount -t tmpfs -o size=16k tmpfs "$1" && QT_QPA_PLATFORM=offscreen "$2" export "$3" "$4"; '
              'code=$?; ls -A "$1"; exit $code')
    proc = subprocess.run(["unshare", "-rm", "sh", "-c", script, "sh", mount, cli.exe, big, out],
                          capture_output=True, timeout=60)
    err = proc.stderr.decode("utf-8", "replace")
    expect(proc.returncode == 1, "full disk: expected exit 1, got %d (%r)" % (proc.returncode, err))
    expect("Destination disk drive is full." in err, "full disk: message %r does not say so" % err)
    expect(not proc.stdout.strip(), "full disk: left %r behind" % proc.stdout)


suite.finish()
