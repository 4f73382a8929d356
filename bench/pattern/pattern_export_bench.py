#!/usr/bin/env python3
"""Times the export of a 24-megapixel template whose floor, in true
perspective, is laid with a herringbone of four oak planks, against the
same template with the first plank as a plain texture at its real size.
Runs alternate so both see the same machine; prints the medians and their
ratio, and how long laying the pattern took.

usage: bench/pattern/pattern_export_bench.py build/release/src/cli/tilemont-cli [--runs 5] [--where /tmp]
Needs ImageMagick's convert to enlarge the demo room to 6000 x 4000."""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 6000, 4000
# The demo room is 1600 x 1067: its floor and back wall's base, enlarged.
SX, SY = W / 1600, H / 1067


def run(*args):
    res = subprocess.run([str(a) for a in args], capture_output=True, text=True)
    if res.returncode != 0:
        sys.exit("%s failed: %s" % (args[:2], res.stderr))
    return res.stdout


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("cli")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--where", default=None)
    a = ap.parse_args()
    cli = os.path.abspath(a.cli)
    root = tempfile.mkdtemp(prefix="pattern-bench-", dir=a.where)
    run(cli, "demo", os.path.join(root, "demo"))
    run("convert", os.path.join(root, "demo", "templates", "demo-room.jpg"), "-resize", "%dx%d!" % (W, H),
        "-quality", "92", os.path.join(root, "room.jpg"))
    planks = run(sys.executable, os.path.join(HERE, "make_oak_planks.py"), os.path.join(root, "oak")).split()
    floor = [[0, 720 * SY], [1600 * SX, 720 * SY], [1600 * SX, H - 1], [0, H - 1]]
    desc = {"picture": "room.jpg", "areas": [{"name": "Floor", "texture": planks[0], "outline": [floor]}]}
    with open(os.path.join(root, "desc.json"), "w") as f:
        json.dump(desc, f)
    base = os.path.join(root, "base.tlm")
    run(cli, "make", os.path.join(root, "desc.json"), base)
    # The back wall's base is 4 m wide; a plank is 60 cm.
    reference = "%g,%g,%g,%g" % (420 * SX, 720 * SY, 1180 * SX, 720 * SY)
    plain = os.path.join(root, "plain.tlm")
    run(cli, "fit-perspective", base, "--area", "Floor", "--reference", reference, "--length", "400",
        "--texture-width", "60", "--out", plain)
    laid = os.path.join(root, "laid.tlm")
    lay = json.loads(run(cli, "lay", plain, "--area", "Floor", "--pattern", "herringbone", "--piece",
                         ",".join(planks), "--size", "60x10", "--joint", "2", "--joint-colour", "#3a2a1c",
                         "--out", laid))
    times = {"plain": [], "pattern": []}
    for _ in range(a.runs):
        for name, tlm in (("plain", plain), ("pattern", laid)):
            out = os.path.join(root, name + ".jpg")
            start = time.monotonic()
            run(cli, "export", tlm, out)
            times[name].append(time.monotonic() - start)
    plain_s, pattern_s = statistics.median(times["plain"]), statistics.median(times["pattern"])
    print("lay: %s" % json.dumps(lay))
    print("export %dx%d, median of %d: plain texture %.2f s, herringbone pattern %.2f s, ratio %.2f"
          % (W, H, a.runs, plain_s, pattern_s, pattern_s / plain_s))
    print("workspace: %s" % root)


if __name__ == "__main__":
    main()
