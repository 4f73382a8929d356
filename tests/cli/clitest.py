"""Shared harness for the tilemont-cli end-to-end tests: runs the tool with a
timeout, tells a signal death or a hang from an ordinary failure, and
counts cases."""

import json
import os
import subprocess
import sys
import tempfile
import time
import traceback

TIMEOUT = 30


class Failure(Exception):
    pass


class Result:
    def __init__(self, proc, seconds):
        self.code = proc.returncode
        self.out = proc.stdout.decode("utf-8", "replace")
        self.err = proc.stderr.decode("utf-8", "replace")
        self.seconds = seconds

    def describe(self):
        return "exit %s after %.2fs; stdout %r; stderr %r" % (
            self.code, self.seconds, self.out[:300], self.err[:300])


class Cli:
    def __init__(self, exe):
        self.exe = os.path.abspath(exe)

    def run(self, *args, cwd=None, timeout=TIMEOUT):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        start = time.monotonic()
        try:
            proc = subprocess.run([self.exe, *map(str, args)], capture_output=True,
                                  env=env, cwd=cwd, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("hang: %s %s did not finish within %ds" % (self.exe, args, timeout))
        res = Result(proc, time.monotonic() - start)
        if res.code < 0:
            raise Failure("killed by signal %d: %s; %s" % (-res.code, args, res.describe()))
        return res

    def info(self, path):
        res = self.run("info", path)
        expect(res.code == 0, "info %s failed: %s" % (path, res.describe()))
        try:
            return json.loads(res.out)
        except ValueError as e:
            raise Failure("info printed no JSON (%s): %r" % (e, res.out[:500]))

    def expect_refused(self, path, what):
        """A file that cannot be read: exit 1, one line on stderr naming the
        end-of-file condition and the path."""
        res = self.run("info", path)
        expect(res.code == 1, "%s: expected exit 1, got %s" % (what, res.describe()))
        expect(res.out == "", "%s: printed %r on stdout" % (what, res.out[:200]))
        lines = res.err.strip().splitlines()
        expect(len(lines) == 1, "%s: expected one stderr line, got %r" % (what, res.err))
        wanted = "An attempt was made to access %s past its end." % path
        expect(wanted in lines[0], "%s: stderr %r lacks %r" % (what, lines[0], wanted))
        return res


def expect(cond, message):
    if not cond:
        raise Failure(message)


def expect_equal(got, want, what):
    if got != want:
        raise Failure("%s: got %r, want %r" % (what, got, want))


class Suite:
    def __init__(self):
        if len(sys.argv) != 2:
            sys.exit("usage: %s /path/to/tilemont-cli" % sys.argv[0])
        self.cli = Cli(sys.argv[1])
        self.passed = 0
        self.failed = 0
        self._tmp = tempfile.TemporaryDirectory(prefix="tlmcli-")
        self.tmp = os.path.realpath(self._tmp.name)

    def path(self, name):
        return os.path.join(self.tmp, name)

    def write(self, name, data):
        p = self.path(name)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data)
        return p

    def case(self, fn):
        """Decorator: runs one case now and counts it."""
        try:
            fn()
        except Failure as e:
            self.failed += 1
            print("FAIL %s: %s" % (fn.__name__, str(e)[:3000]))
        except Exception:
            self.failed += 1
            print("FAIL %s: unexpected error" % fn.__name__)
            traceback.print_exc(file=sys.stdout)
        else:
            self.passed += 1
            print("ok   %s" % fn.__name__)
        sys.stdout.flush()
        return fn

    def finish(self):
        self._tmp.cleanup()
        print("%d passed, %d failed" % (self.passed, self.failed))
        sys.exit(1 if self.failed else 0)


def image_shape(blob):
    """What info should print for one blob, judged by this side's own JPEG
    header reader: null when the blob is empty or not a JPEG."""
    from tlmformat import jpeg_size
    size = jpeg_size(blob) if blob else None
    return None if size is None else {"width": size[0], "height": size[1]}


def real_size_shape(a):
    """The realSize info prints for an area that has one."""
    x1, y1, x2, y2, reference_cm, texture_cm = a.real_size
    return {"realSize": {"reference": [x1, y1, x2, y2], "referenceCm": reference_cm,
                         "textureWidthCm": texture_cm}}


def info_shape(t):
    """The JSON info should print for a Template."""
    from tlmformat import NO_REAL_SIZE
    return {
        "picture": image_shape(t.picture),
        "areas": [dict({
            "name": a.name,
            "texture": image_shape(a.texture),
            "skewedTexture": image_shape(a.skewed),
            "rotation": a.rotation,
            "shiftX": a.shift_x,
            "shiftY": a.shift_y,
            "scale": a.scale,
            "skew": bool(a.skew),
            "skewCorners": [list(p) for p in a.corners],
            "outline": [[list(v) for v in c] for c in a.outline],
            "initialRect": list(a.initial_rect),
            "perspective": bool(a.perspective),
        }, **(real_size_shape(a) if tuple(a.real_size) != NO_REAL_SIZE else {})) for a in t.areas],
    }


def diff_info(got, want, where="info"):
    """Raises Failure naming the first field that differs; floats compare
    exactly (1 == 1.0 is fine, as JSON may drop a trailing .0)."""
    if isinstance(want, dict):
        expect(isinstance(got, dict), "%s: got %r, want an object" % (where, got))
        expect_equal(sorted(got), sorted(want), where + " keys")
        for k in want:
            diff_info(got[k], want[k], "%s.%s" % (where, k))
    elif isinstance(want, list):
        expect(isinstance(got, list), "%s: got %r, want a list" % (where, got))
        expect_equal(len(got), len(want), where + " length")
        for i, (g, w) in enumerate(zip(got, want)):
            diff_info(g, w, "%s[%d]" % (where, i))
    elif isinstance(want, bool) or want is None or isinstance(want, str):
        expect(got is want or (isinstance(want, str) and got == want),
               "%s: got %r, want %r" % (where, got, want))
    else:
        expect(not isinstance(got, bool) and isinstance(got, (int, float)) and got == want,
               "%s: got %r, want %r" % (where, got, want))
