"""`tilemont-cli render-catalogue`: every room of a manifest with each of
its textures, each image the very bytes render-group writes; N slices run
side by side (through GNU parallel) write exactly the files of one whole
run, disjoint and even in cost; a slice killed mid-run and run again
completes the set without touching the others' files; faults in the
manifest are named by their place before anything is rendered."""

import json
import os
import shutil
import signal
import subprocess

from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, jpeg_bytes, pattern, png_bytes, rect, write_template

suite = Suite()
cli = suite.cli


def read(path):
    with open(path, "rb") as f:
        return f.read()


def tree(root):
    """Every file under root by its path relative to root."""
    return sorted(os.path.relpath(os.path.join(d, n), root) for d, _, names in os.walk(root) for n in names)


def stats(root, names):
    return {n: (os.stat(os.path.join(root, n)).st_ino, os.stat(os.path.join(root, n)).st_mtime_ns) for n in names}


def run_env(args, **env):
    proc = subprocess.run([cli.exe, *args], capture_output=True, timeout=120,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen", **env))
    return proc.returncode, proc.stdout.decode(), proc.stderr.decode()


# Two small rooms: a skewed floor stored without its warp (so that each
# texture's warp is built as render-group builds it) and a plain wall.
suite.write("rooms/a.tlm", write_template(Template(picture=jpeg_bytes(96, 64, pattern(1)), areas=[
    Area(name="Wall", texture=jpeg_bytes(9, 7, pattern(2)), rotation=20.0, scale=1.5, outline=[rect(0, 0, 96, 26)]),
    Area(name="Floor", texture=jpeg_bytes(16, 12, pattern(3)), rotation=12.0, scale=1.3, skew=1,
         corners=[(20, 22), (76, 22), (2, 63), (94, 63)], initial_rect=(0, 0, 80, 50),
         outline=[[(24, 24), (72, 24), (92, 62), (4, 62)]])])))
suite.write("rooms/b.tlm", write_template(Template(picture=jpeg_bytes(80, 60, pattern(4)), areas=[
    Area(name="Wall", texture=png_bytes(10, 6, pattern(5)), rotation=90.0, shift_x=3, outline=[rect(10, 5, 70, 40)])])))
WOOD = {"oak.jpg": jpeg_bytes(17, 13, pattern(6)), "slate.png": png_bytes(20, 20, pattern(7)),
        "teak.jpeg": jpeg_bytes(9, 31, pattern(8)), "notes.txt": b"no picture\n"}
TILES = {"t%02d.png" % i: png_bytes(6 + i, 5 + 2 * i, pattern(10 + i)) for i in range(6)}
for name, data in WOOD.items():
    suite.write("tex/wood/" + name, data)
for name, data in TILES.items():
    suite.write("tex/tiles/" + name, data)
suite.write("tex/extra/birch.png", png_bytes(30, 8, pattern(20)))
MANIFEST = suite.write("m.json", json.dumps({"rooms": [
    {"template": "rooms/a.tlm", "area": "Floor", "textures": ["tex/wood", "tex/extra/birch.png"]},
    {"template": "rooms/b.tlm", "area": "Wall", "textures": ["tex/tiles", "tex/wood"]},
]}).encode())
ALL = sorted(["a/oak.png", "a/slate.png", "a/teak.png", "a/birch.png"] + ["b/%s.png" % n[:-4] for n in TILES] +
             ["b/oak.png", "b/slate.png", "b/teak.png"])


def catalogue(*args, out):
    return cli.run("render-catalogue", MANIFEST, "--out", suite.path(out), "--format", "png", *args)


def json_lines(text):
    return [json.loads(line) for line in text.splitlines() if line.strip()]


@suite.case
def each_image_is_the_one_render_group_writes():
    for shading in ((), ("--keep-shading",)):
        out = "cat%d" % len(shading)
        res = catalogue("--width", "150", *shading, out=out)
        expect(res.code == 0, res.describe())
        expect_equal(tree(suite.path(out)), ALL, "images")
        suite.write("birch-group/birch.png", read(suite.path("tex/extra/birch.png")))
        for room, area, group in (("a", "Floor", "tex/wood"), ("a", "Floor", "birch-group"), ("b", "Wall", "tex/tiles"),
                                  ("b", "Wall", "tex/wood")):
            single = suite.path("single%d-%s-%s" % (len(shading), room, group.replace("/", "-")))
            res = cli.run("render-group", suite.path("rooms/%s.tlm" % room), "--area", area, "--group",
                          suite.path(group), "--out", single, "--format", "png", "--width", "150", *shading)
            expect(res.code == 0, res.describe())
            for name in os.listdir(single):
                expect(read(os.path.join(single, name)) == read(suite.path(os.path.join(out, room, name))),
                       "%s/%s %s differs from render-group's" % (room, name, shading))


@suite.case
def slices_side_by_side_are_disjoint_even_and_write_the_whole_run():
    expect(catalogue("--jobs", "1", out="whole").code == 0, "whole run failed")
    for n in (2, 3):
        out = suite.path("par%d" % n)
        proc = subprocess.run(["parallel", "--tag", "--jobs", str(n), cli.exe, "render-catalogue", MANIFEST, "--out",
                               out, "--format", "png", "--jobs", "1", "--progress", "json", "--shard", "{}/%d" % n,
                               ":::", *map(str, range(1, n + 1))], capture_output=True, timeout=120,
                              env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        expect(proc.returncode == 0, "parallel: %r" % proc.stderr[-500:])
        written = {}
        for line in proc.stdout.decode().splitlines():
            k, record = line.split("\t", 1)
            record = json.loads(record)
            expect(record["status"] in ("written", "skipped") and record["error"] is None or
                   record["texture"].endswith("notes.txt"), "record %r" % record)
            written.setdefault(k, []).append(os.path.relpath(record["file"], out))
        files = [f for k in written for f in written[k]]
        expect_equal(sorted(files), sorted(set(files)), "slices of %d overlap" % n)
        expect_equal(sorted(f for f in files if not f.endswith("notes.png")), ALL, "slices of %d together" % n)
        expect_equal(tree(out), ALL, "files of %d slices" % n)
        for name in ALL:
            expect(read(os.path.join(out, name)) == read(suite.path("whole/" + name)), "%s of %d differs" % (name, n))
        # The slices' estimated costs: no slice exceeds another by more
        # than the costliest single image.
        costs = [json_lines(catalogue("--dry-run", "--shard", "%d/%d" % (k, n), out="par%d" % n).out)
                 for k in range(1, n + 1)]
        for k, listed in enumerate(costs, 1):
            expect_equal(sorted(os.path.relpath(c["file"], out) for c in listed), sorted(written[str(k)]),
                         "dry run of %d/%d" % (k, n))
        totals = [sum(c["cost"] for c in listed) for listed in costs]
        largest = max(c["cost"] for listed in costs for c in listed)
        expect(max(totals) - min(totals) <= largest, "uneven slices %r (largest image %d)" % (totals, largest))


@suite.case
def render_group_slices_write_the_whole_group():
    whole = suite.path("group-whole")
    expect(cli.run("render-group", suite.path("rooms/b.tlm"), "--area", "Wall", "--group", suite.path("tex/tiles"),
                   "--out", whole).code == 0, "whole group failed")
    out = suite.path("group-par")
    proc = subprocess.run(["parallel", "--jobs", "2", cli.exe, "render-group", suite.path("rooms/b.tlm"), "--area",
                           "Wall", "--group", suite.path("tex/tiles"), "--out", out, "--shard", "{}/2", ":::", "1", "2"],
                          capture_output=True, timeout=120, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    expect(proc.returncode == 0, "parallel: %r" % proc.stderr[-500:])
    counts = sorted(int(line.split(": ")[1].split()[0]) for line in proc.stdout.decode().splitlines())
    expect_equal(counts, [3, 3], "images written by each slice")
    expect_equal(tree(out), tree(whole), "files")
    for name in tree(whole):
        expect(read(os.path.join(out, name)) == read(os.path.join(whole, name)), name + " differs")


@suite.case
def a_killed_slice_run_again_completes_the_set_leaving_the_other_alone():
    expect(cli.run("demo", suite.path("demo")).code == 0, "demo failed")
    shutil.copy(suite.path("demo/templates/demo.tlm"), suite.path("demo/templates/kitchen.tlm"))
    manifest = suite.write("demo/m.json", json.dumps({"rooms": [
        {"template": "templates/%s.tlm" % t, "area": "Floor",
         "textures": ["textures/tiles", "textures/stone", "textures/wood"]} for t in ("demo", "kitchen")]}).encode())
    args = [cli.exe, "render-catalogue", manifest, "--width", "2400", "--jobs", "1"]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    whole, out = suite.path("demo-whole"), suite.path("demo-out")
    expect(subprocess.run(args + ["--out", whole, "--jobs", "2"], env=env, capture_output=True).returncode == 0,
           "whole run failed")
    expect(subprocess.run(args + ["--out", out, "--shard", "2/2"], env=env, capture_output=True).returncode == 0,
           "slice 2 failed")
    second = tree(out)
    before = stats(out, second)
    proc = subprocess.Popen(args + ["--out", out, "--shard", "1/2", "--progress", "json"], env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    first = json.loads(proc.stdout.readline())
    proc.send_signal(signal.SIGKILL)
    proc.communicate(timeout=60)
    expect(first["status"] == "written" and proc.returncode == -signal.SIGKILL, "first %r" % first)
    left = sorted(set(tree(out)) - set(second))
    expect(0 < len(left) < 20 - len(second), "the killed slice left %r" % left)
    kept = stats(out, left)
    res = cli.run(*args[1:], "--out", out, "--shard", "1/2", timeout=120)
    expect(res.code == 0 and "(%d there already)" % len(left) in res.out, res.describe())
    expect_equal(tree(out), tree(whole), "files after the rerun")
    expect_equal(len(tree(whole)), 20, "images of the whole run")
    for name in tree(whole):
        expect(read(os.path.join(out, name)) == read(os.path.join(whole, name)), name + " differs")
    expect_equal(stats(out, second), before, "the other slice's files (inode, mtime)")
    expect_equal(stats(out, left), kept, "the killed slice's finished files (inode, mtime)")


@suite.case
def faults_in_the_manifest_are_named_by_their_place_and_nothing_is_rendered():
    suite.write("other/a.tlm", read(suite.path("rooms/a.tlm")))
    suite.write("tex/extra/oak.png", png_bytes(4, 4, pattern(30)))
    cases = {
        "bad1.json": (b'{"rooms": [{"template": "rooms/a.tlm",}]}', ["not JSON"]),
        "bad2.json": (b'{"room": []}', ['"room" is not a key of a manifest (only "rooms" is).',
                                       '"rooms" is missing.']),
        "bad3.json": (json.dumps({"rooms": [
            {"template": "rooms/a.tlm", "area": "Floor", "textures": ["tex/wood", "tex/oakk.jpg"]},
            {"template": "rooms/none.tlm", "area": "Floor", "textures": ["tex/wood"]},
            {"template": "other/a.tlm", "area": "Floor", "textures": []},
            {"template": "rooms/b.tlm", "area": 3, "textures": "tex/wood"},
            {"template": "rooms", "textures": [7, ""], "areas": "Wall"},
            "room",
        ]}).encode(), [
            'rooms[0].textures[1]: "tex/oakk.jpg" does not exist.',
            'rooms[1].template: "rooms/none.tlm" does not exist.',
            'rooms[2].template: "other/a.tlm" has the file title "a" of rooms[0]: each room\'s images go into a '
            'folder named after its template, so each needs a title of its own.',
            "rooms[2].textures: the list is empty.",
            "rooms[3].area: a string is expected.",
            "rooms[3].textures: a list is expected.",
            'rooms[4]: "areas" is not a key of a room ("template", "area", "textures").',
            'rooms[4].template: "rooms" is a folder, not a template.',
            'rooms[4]: "area" is missing.',
            "rooms[4].textures[0]: a string is expected.",
            "rooms[4].textures[1]: the text is empty.",
            "rooms[5]: an object is expected.",
        ]),
        "bad4.json": (json.dumps({"rooms": [
            {"template": "rooms/a.tlm", "area": "Ceiling", "textures": ["tex/wood/notes.txt"]},
            {"template": "rooms/b.tlm", "area": "Wall", "textures": ["tex/wood", "tex/extra", "tex/wood/oak.jpg"]},
        ]}).encode(), [
            'rooms[0].area: "Ceiling" is not an area of "rooms/a.tlm": its areas are "Wall", "Floor".',
            'rooms[0].textures[0]: "tex/wood/notes.txt" is not a picture.',
            'rooms[1].textures[1]: "tex/extra/oak.png" would give the image "oak" that "tex/wood/oak.jpg" '
            '(rooms[1].textures[0]) gives: each texture of a room needs a file title of its own.',
            'rooms[1].textures[2]: "tex/wood/oak.jpg" would give the image "oak" that "tex/wood/oak.jpg" '
            '(rooms[1].textures[0]) gives: each texture of a room needs a file title of its own.',
        ]),
    }
    for name, (content, wanted) in cases.items():
        path = suite.write(name, content)
        out = suite.path("never")
        res = cli.run("render-catalogue", path, "--out", out)
        expect(res.code == 1 and res.out == "", "%s: %s" % (name, res.describe()))
        got = res.err.splitlines()
        if name == "bad1.json":
            expect(len(got) == 1 and got[0].startswith(path + ": not JSON ("), "%s: %r" % (name, got))
        else:
            expect_equal(got, ["%s: %s" % (path, w) for w in wanted], name)
        expect(not os.path.exists(out), "%s: a faulty manifest made the output folder" % name)


@suite.case
def the_slice_comes_from_the_command_line_or_the_scheduler():
    def dry(shard, **env):
        code, out, err = run_env(["render-catalogue", MANIFEST, "--out", suite.path("o"), "--dry-run",
                                  "--shard", shard], **env)
        expect(code == 0, "%s %r: exit %d %r" % (shard, env, code, err))
        return [c["file"] for c in json_lines(out)]
    first, second = dry("1/2"), dry("2/2")
    expect(first and second, "an empty slice of two")
    expect_equal(dry("auto/2", SLURM_ARRAY_TASK_ID="2", SLURM_ARRAY_TASK_MIN="1"), second, "Slurm task 2 of 1..2")
    expect_equal(dry("auto/2", SLURM_ARRAY_TASK_ID="0"), first, "Slurm task 0 without a minimum")
    expect_equal(dry("auto/2", JOB_COMPLETION_INDEX="1"), second, "Kubernetes index 1")
    for shard, env in (("0/2", {}), ("3/2", {}), ("1/0", {}), ("x/2", {}), ("1", {}), ("auto/2", {}),
                       ("auto/2", {"SLURM_ARRAY_TASK_ID": "3", "SLURM_ARRAY_TASK_MIN": "1"}),
                       ("auto/2", {"JOB_COMPLETION_INDEX": "2"}), ("auto/2", {"JOB_COMPLETION_INDEX": "one"})):
        clean = {k: v for k, v in os.environ.items() if k not in ("SLURM_ARRAY_TASK_ID", "JOB_COMPLETION_INDEX")}
        proc = subprocess.run([cli.exe, "render-catalogue", MANIFEST, "--out", suite.path("never2"), "--shard", shard],
                              capture_output=True, env=dict(clean, QT_QPA_PLATFORM="offscreen", **env), timeout=30)
        expect(proc.returncode == 2 and proc.stderr.strip(), "%s %r: %r" % (shard, env, proc))
    expect(not os.path.exists(suite.path("never2")), "a usage error made the output folder")


suite.finish()
