"""`tilemont-cli render-group`: one image per texture of a group, each the
very bytes `export` writes for the template with that texture in the area;
what fails is reported while the rest goes on; images there already are
kept unless asked; an interrupted run leaves only whole images."""

import os
import signal
import subprocess

import refcompose as ref
from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, jpeg_bytes, pattern, png_bytes, rect, write_template

suite = Suite()
cli = suite.cli


# The floor is skewed and stored without its warp, so that export builds it
# from the texture as render-group does; the rug lies over it.
AREAS = [
    Area(name="Wall", texture=jpeg_bytes(9, 7, pattern(2)), rotation=20.0, scale=1.5, outline=[rect(0, 0, 96, 26)]),
    Area(name="Floor", texture=jpeg_bytes(16, 12, pattern(3)), rotation=12.0, scale=1.3, skew=1,
         corners=[(20, 22), (76, 22), (2, 63), (94, 63)], initial_rect=(0, 0, 80, 50),
         outline=[[(24, 24), (72, 24), (92, 62), (4, 62)]]),
    Area(name="Rug", texture=png_bytes(10, 6, pattern(4)), rotation=90.0, shift_x=3, outline=[rect(30, 36, 66, 58)]),
]
PICTURE = jpeg_bytes(96, 64, pattern(1))
TLM = suite.write("room.tlm", write_template(Template(picture=PICTURE, areas=AREAS)))
TEXTURES = {"oak.jpg": jpeg_bytes(17, 13, pattern(5)), "slate.png": png_bytes(20, 20, pattern(6)),
            "teak.jpeg": jpeg_bytes(9, 31, pattern(7))}


def group(name, files):
    for file_name, data in files.items():
        suite.write(os.path.join(name, file_name), data)
    return suite.path(name)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def render(*args):
    return cli.run("render-group", TLM, *args)


WOOD = group("wood", TEXTURES)


@suite.case
def each_image_is_the_export_with_that_texture_on_one_job_or_two():
    for shading in ((), ("--keep-shading",)):
        options = ("--format", "png", "--width", "120") + shading
        for jobs in ("1", "2"):
            res = render("--area", "Floor", "--group", WOOD, "--out", suite.path("j%s%d" % (jobs, len(shading))),
                         "--jobs", jobs, *options)
            expect(res.code == 0, "jobs %s %s: %s" % (jobs, shading, res.describe()))
        for name, data in TEXTURES.items():
            areas = AREAS[:1] + [Area(**{**AREAS[1].__dict__, "texture": data})] + AREAS[2:]
            single = suite.write("single.tlm", write_template(Template(picture=PICTURE, areas=areas)))
            res = cli.run("export", single, suite.path("single.png"), *options[2:])
            expect(res.code == 0, "export: %s" % res.describe())
            title = os.path.splitext(name)[0] + ".png"
            for jobs in ("1", "2"):
                got = read(suite.path(os.path.join("j%s%d" % (jobs, len(shading)), title)))
                expect(got == read(suite.path("single.png")), "jobs %s %s: %s differs from export" % (jobs, shading, title))


@suite.case
def shading_strength_is_the_same_for_export_and_render_group():
    # At 50 % both write the same bytes, unlike at the area's own 100 %; at
    # 0 % the light is left out, as without Keep Shading; past 150 % or not a
    # number is a usage error.
    areas = AREAS[:1] + [Area(**{**AREAS[1].__dict__, "texture": TEXTURES["oak.jpg"]})] + AREAS[2:]
    single = suite.write("strength.tlm", write_template(Template(picture=PICTURE, areas=areas)))
    outputs = {}
    for strength in ("0", "50", None):
        options = ("--format", "png", "--keep-shading") + (("--shading-strength", strength) if strength else ())
        out = suite.path("strength-%s" % strength)
        res = render("--area", "Floor", "--group", WOOD, "--out", out, *options)
        expect(res.code == 0, "render-group %s: %s" % (strength, res.describe()))
        res = cli.run("export", single, suite.path("strength.png"), *options[2:], "--format", "png")
        expect(res.code == 0, "export %s: %s" % (strength, res.describe()))
        outputs[strength] = read(suite.path("strength.png"))
        expect(read(os.path.join(out, "oak.png")) == outputs[strength], "strength %s differs from export" % strength)
    expect(outputs["50"] != outputs[None], "50 % shades as 100 % does")
    res = cli.run("export", single, suite.path("plain.png"), "--format", "png")
    expect(res.code == 0 and read(suite.path("plain.png")) == outputs["0"], "0 % is not the plain export")
    for bad in ("151", "-1", "half"):
        res = render("--area", "Floor", "--group", WOOD, "--out", suite.path("bad"), "--shading-strength", bad)
        expect(res.code == 2 and "shading-strength" in res.err, "%s: %s" % (bad, res.describe()))
        res = cli.run("export", single, suite.path("bad.png"), "--shading-strength", bad)
        expect(res.code == 2 and not os.path.exists(suite.path("bad.png")), "export %s: %s" % (bad, res.describe()))


@suite.case
def a_text_file_and_a_damaged_picture_are_reported_and_exit_1():
    mixed = group("mixed", {"good.png": png_bytes(8, 8, pattern(8)), "notes.txt": b"no picture\n",
                            "broken.jpg": b"\xff\xd8\xff\xe0 cut short"})
    out = suite.path("mixed-out")
    res = render("--area", "Rug", "--group", mixed, "--out", out, "--format", "jpg")
    expect(res.code == 1, "expected exit 1: %s" % res.describe())
    expect_equal(os.listdir(out), ["good.jpg"], "images")
    expect_equal(ref.decode_jpeg(read(os.path.join(out, "good.jpg"))).width, 96, "image width")
    reports = sorted(l.split()[1] + " " + os.path.basename(l.split()[2]) for l in res.err.splitlines()
                     if "written" not in l)
    expect_equal(reports, ["failed: broken.jpg", "skipped: notes.txt"], "reports in %r" % res.err)


@suite.case
def images_there_already_are_kept_unless_overwrite():
    out = suite.path("keep")
    suite.write("keep/oak.bmp", b"mine")
    res = render("--area", "Wall", "--group", WOOD, "--out", out)
    expect(res.code == 0 and "skipped" in res.err, "run: %s" % res.describe())
    expect_equal(sorted(os.listdir(out)), ["oak.bmp", "slate.bmp", "teak.bmp"], "BMP is the default")
    expect_equal(read(os.path.join(out, "oak.bmp")), b"mine", "kept image")
    expect(render("--area", "Wall", "--group", WOOD, "--out", out, "--overwrite").code == 0, "overwrite failed")
    expect(render("--area", "Wall", "--group", WOOD, "--out", suite.path("fresh")).code == 0, "fresh run failed")
    expect(read(os.path.join(out, "oak.bmp")) == read(suite.path("fresh/oak.bmp")), "oak.bmp not replaced")


@suite.case
def wrong_command_lines_exit_2_and_an_unknown_area_lists_the_areas():
    out = suite.path("never")
    res = render("--area", "Ceiling", "--group", WOOD, "--out", out)
    expect(res.code == 2 and all(n in res.err for n in ("Wall", "Floor", "Rug")), res.describe())
    for args in (("--group", WOOD, "--out", out), ("--area", "Wall", "--group", WOOD),
                 ("--area", "Wall", "--group", WOOD, "--out", out, "--jobs", "0"),
                 ("--area", "Wall", "--group", WOOD, "--out", out, "--quality", "50")):
        res = render(*args)
        expect(res.code == 2 and res.err.strip(), "%s: %s" % (args, res.describe()))
    expect(not os.path.exists(out), "a usage error made the output folder")


@suite.case
def an_interrupted_run_leaves_only_whole_images():
    many = group("many", {"t%02d.png" % i: png_bytes(6, 6, pattern(i)) for i in range(40)})
    out = suite.path("many-out")
    proc = subprocess.Popen([cli.exe, "render-group", TLM, "--area", "Floor", "--group", many, "--out", out,
                             "--width", "2400", "--jobs", "1"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    first = proc.stderr.readline().decode()
    proc.send_signal(signal.SIGINT)
    try:
        rest = proc.communicate(timeout=60)[1].decode()
    except subprocess.TimeoutExpired:
        proc.kill()
        raise
    written = sorted(os.path.basename(l.split()[-1]) for l in (first + rest).splitlines() if "written /" in l)
    expect(written and sorted(os.listdir(out)) == written, "left %r, reported %r" % (os.listdir(out), written))
    if len(written) < 40:
        expect(proc.returncode == -signal.SIGINT and "interrupted" in rest, "exit %s: %r" % (proc.returncode, rest))
    for name in written:
        expect_equal(ref.read_bmp(read(os.path.join(out, name))).width, 2400, name + " width")


suite.finish()
