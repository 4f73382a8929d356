#!/usr/bin/env python3
"""Times a catalogue of 4 rooms x 20 textures rendered by one process
against the same catalogue split into 2 slices run side by side through GNU
parallel, each process with the same --jobs. Runs alternate, so that both
see the same machine; prints the medians, the speed-up and the images per
second per core, and how evenly the slices' measured times came out.

usage: bench/catalogue_bench.py build/release/src/cli/tilemont-cli [--runs 5] [--jobs 1] [--format bmp]
                                [--where /dev/shm] [--wait-idle]

--wait-idle holds each pair of runs until the machine's processors have
been idle for a second (on a machine shared with others' builds the slices
otherwise only get the cores the others leave).
--where puts the workspace and the images in another folder: on a memory
file system the disk's write speed, shared by the slices, drops out (80
full-size BMPs are 400 MB).
"""

import argparse
import json
import os
import resource
import shutil
import statistics
import subprocess
import tempfile
import time


def make_catalogue(cli, root):
    """The demo workspace with its template copied into four rooms (two
    skewed floors, two plain walls) and its ten textures doubled to twenty."""
    subprocess.run([cli, "demo", root], check=True, capture_output=True)
    templates = os.path.join(root, "templates")
    more = os.path.join(root, "textures", "more")
    os.makedirs(more, exist_ok=True)
    for group in ("tiles", "stone", "wood"):
        folder = os.path.join(root, "textures", group)
        for name in os.listdir(folder):
            shutil.copy(os.path.join(folder, name), os.path.join(more, "more-" + name))
    rooms = []
    for title, area in (("kitchen", "Floor"), ("hall", "Floor"), ("bath", "Back wall"), ("study", "Back wall")):
        shutil.copy(os.path.join(templates, "demo.tlm"), os.path.join(templates, title + ".tlm"))
        rooms.append({"template": "templates/%s.tlm" % title, "area": area,
                      "textures": ["textures/tiles", "textures/stone", "textures/wood", "textures/more"]})
    manifest = os.path.join(root, "catalogue.json")
    with open(manifest, "w") as f:
        json.dump({"rooms": rooms}, f, indent=1)
    return manifest


def cpu_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command, out, cpu=None):
    """Wall seconds and stdout of command; the processor seconds it and its
    children used (GNU parallel's own included) are appended to cpu."""
    shutil.rmtree(out, ignore_errors=True)
    used = cpu_seconds()
    start = time.monotonic()
    proc = subprocess.run(command, capture_output=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    seconds = time.monotonic() - start
    if proc.returncode != 0:
        raise SystemExit("%s failed: %s" % (command, proc.stderr.decode()[-500:]))
    if cpu is not None:
        cpu.append(cpu_seconds() - used)
    return seconds, proc.stdout.decode()


def idle_fraction(seconds=1.0):
    """How much of the processors' time went idle over the next seconds."""
    def sample():
        with open("/proc/stat") as f:
            values = [int(v) for v in f.readline().split()[1:]]
        return values[3] + values[4], sum(values)
    idle0, total0 = sample()
    time.sleep(seconds)
    idle1, total1 = sample()
    return (idle1 - idle0) / max(1, total1 - total0)


def wait_until_idle(limit=900):
    """Waits (up to limit seconds) for a second with the processors at least
    90% idle; returns the seconds waited, or None when it never came."""
    start = time.monotonic()
    while time.monotonic() - start < limit:
        if idle_fraction() >= 0.9:
            return time.monotonic() - start
    return None


def timed_pair(commands, out, cpu):
    """The slices started side by side directly, without GNU parallel's own
    start-up (a Perl interpreter), to tell its share apart."""
    shutil.rmtree(out, ignore_errors=True)
    used = cpu_seconds()
    start = time.monotonic()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    procs = [subprocess.Popen(c, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env) for c in commands]
    if any(p.wait() != 0 for p in procs):
        raise SystemExit("a slice failed")
    seconds = time.monotonic() - start
    cpu.append(cpu_seconds() - used)
    return seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--jobs", default="1")
    parser.add_argument("--format", default="bmp")
    parser.add_argument("--where", default=None)
    parser.add_argument("--wait-idle", action="store_true")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    with tempfile.TemporaryDirectory(prefix="tlmbench-", dir=args.where) as tmp:
        manifest = make_catalogue(cli, os.path.join(tmp, "ws"))
        images = 4 * 20
        common = ["--jobs", args.jobs, "--format", args.format, "--progress", "json"]
        whole_out, split_out = os.path.join(tmp, "whole"), os.path.join(tmp, "split")
        whole = [cli, "render-catalogue", manifest, "--out", whole_out] + common
        split = ["parallel", "--tag", "--jobs", "2", cli, "render-catalogue", manifest, "--out", split_out,
                 "--shard", "{}/2"] + common + [":::", "1", "2"]
        pair = [[cli, "render-catalogue", manifest, "--out", split_out, "--shard", "%d/2" % k] + common
                for k in (1, 2)]
        timed(whole, whole_out)  # warms the caches and checks the command
        one, two, direct, busy = [], [], [], {"1": [], "2": []}
        cpu_one, cpu_two, cpu_direct, loads = [], [], [], []
        waited = []
        for _ in range(args.runs):
            if args.wait_idle:
                waited.append(wait_until_idle())
            loads.append(os.getloadavg()[0])
            one.append(timed(whole, whole_out, cpu_one)[0])
            direct.append(timed_pair(pair, split_out, cpu_direct))
            seconds, out = timed(split, split_out, cpu_two)
            two.append(seconds)
            for k in busy:
                busy[k].append(sum(json.loads(l.split("\t", 1)[1])["ms"] for l in out.splitlines()
                                   if l.startswith(k + "\t")) / 1000.0)
        m1, m2 = statistics.median(one), statistics.median(two)
        print("catalogue: 4 rooms x 20 textures = %d images, --format %s, --jobs %s per process, %d runs, in %s"
              % (images, args.format, args.jobs, args.runs, os.path.dirname(tmp)))
        print("one process:        median %.2f s  (%s)" % (m1, ", ".join("%.2f" % s for s in one)))
        print("2 slices, parallel: median %.2f s  (%s)" % (m2, ", ".join("%.2f" % s for s in two)))
        md = statistics.median(direct)
        print("2 slices, direct:   median %.2f s  (%s)" % (md, ", ".join("%.2f" % s for s in direct)))
        print("speed-up %.2fx (direct %.2fx); images per second per core: one process %.1f (1 core busy), 2 slices %.1f"
              % (m1 / m2, m1 / md, images / m1, images / m2 / 2))
        print("rendering time summed per slice, median: 1/2 %.2f s, 2/2 %.2f s"
              % (statistics.median(busy["1"]), statistics.median(busy["2"])))
        print("processor time, median: one process %.2f s, 2 slices %.2f s (parallel's own included), direct %.2f s"
              % (statistics.median(cpu_one), statistics.median(cpu_two), statistics.median(cpu_direct)))
        if args.wait_idle:
            print("waited for an idle second before each pair: %s"
                  % ", ".join("never came" if w is None else "%.0f s" % w for w in waited))
        print("load average before the runs: %s (other work on the machine slows both, the slices more)"
              % ", ".join("%.1f" % l for l in loads))


if __name__ == "__main__":
    main()
