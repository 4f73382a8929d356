"""The template file type as the desktop learns it from tilemont-mime.xml:
its magic rule, read here by an evaluator of the shared-mime-info rules
written for this test, must tell every template that has a picture (the
fuzzing seeds, the demo, templates made by the tool and by the independent
writer, with pictures in each way a JPEG may begin) from pictures, documents
and other binary files. The desktop entry and the thumbnailer entry must
name the same type."""

import os
import random
import re
import shutil
import subprocess
import tempfile
import xml.etree.ElementTree as ET

from clitest import Suite, expect, expect_equal
from tlmformat import Area, Template, jpeg_bytes, png_bytes, write_template

suite = Suite()
cli = suite.cli
SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RESOURCES = os.path.join(SOURCE, "src", "resources")
MIME_XML = os.path.join(RESOURCES, "tilemont-mime.xml")
NS = "{http://www.freedesktop.org/standards/shared-mime-info}"


# ------------------------------------------------------------ the rules

def _string_value(text):
    """A string match's value with its C escapes resolved."""
    out, i = bytearray(), 0
    while i < len(text):
        if text[i] != "\\":
            out += text[i].encode()
            i += 1
        elif text[i + 1] == "x":
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        elif text[i + 1].isdigit():
            digits = re.match(r"[0-7]{1,3}", text[i + 1:]).group(0)
            out.append(int(digits, 8))
            i += 1 + len(digits)
        else:
            out += {"n": b"\n", "r": b"\r", "t": b"\t"}.get(text[i + 1], text[i + 1].encode())
            i += 2
    return bytes(out)


NUMBERS = {"byte": (1, "big"), "big16": (2, "big"), "big32": (4, "big"),
           "little16": (2, "little"), "little32": (4, "little"),
           "host16": (2, "little"), "host32": (4, "little")}


def match_one(m, data):
    """One <match>: its own test at any of its offsets, then any child (or
    none at all)."""
    kind = m.get("type")
    first, _, last = m.get("offset").partition(":")
    offsets = range(int(first), int(last or first) + 1)
    if kind == "string":
        value = _string_value(m.get("value"))
        mask = bytes.fromhex(m.get("mask")[2:]) if m.get("mask") else b"\xff" * len(value)
        def at(o):
            window = data[o:o + len(value)]
            return len(window) == len(value) and all(
                (w & k) == (v & k) for w, v, k in zip(window, value, mask))
    else:
        size, order = NUMBERS[kind]
        value = int(m.get("value"), 0)
        mask = int(m.get("mask"), 0) if m.get("mask") else (1 << (8 * size)) - 1
        def at(o):
            window = data[o:o + size]
            return len(window) == size and int.from_bytes(window, order) & mask == value & mask
    if not any(at(o) for o in offsets):
        return False
    children = m.findall(NS + "match")
    return not children or any(match_one(c, data) for c in children)


def mime_type():
    return ET.parse(MIME_XML).getroot().find(NS + "mime-type")


def magic_says_template(data):
    return any(match_one(m, data) for magic in mime_type().findall(NS + "magic")
               for m in magic.findall(NS + "match"))


# ------------------------------------------------------------ the files

def read(path):
    with open(path, "rb") as f:
        return f.read()


def segments_replaced(jpeg, first_segment):
    """The JPEG with its APP0 segment (after the start marker) swapped for
    first_segment (bytes, may be empty): the other ways a JPEG file begins."""
    expect(jpeg[2:4] == b"\xff\xe0", "cjpeg wrote no APP0 segment")
    length = int.from_bytes(jpeg[4:6], "big")
    return jpeg[:2] + first_segment + jpeg[4 + length:]


def app_segment(marker, payload):
    return bytes([0xFF, marker]) + (len(payload) + 2).to_bytes(2, "big") + payload


PICTURE = jpeg_bytes(24, 16)
AREA = Area(name="floor", texture=jpeg_bytes(4, 4), outline=[[(0, 0), (20, 0), (20, 10)]])


def template_with(picture):
    return write_template(Template(picture=picture, areas=[AREA]))


def demo_template():
    root = suite.path("demo")
    res = cli.run("demo", root)
    expect(res.code == 0, "demo failed: %s" % res.describe())
    return read(os.path.join(root, "templates", "demo.tlm"))


def made_template():
    """A template the tool writes itself, its picture encoded by its own
    JPEG writer from a PNG."""
    folder = suite.path("made")
    os.makedirs(folder)
    with open(os.path.join(folder, "p.png"), "wb") as f:
        f.write(png_bytes(30, 20, lambda x, y: (x * 8, y * 12, 90)))
    with open(os.path.join(folder, "d.json"), "w") as f:
        f.write('{"picture": "p.png", "areas": []}')
    out = os.path.join(folder, "made.tlm")
    res = cli.run("make", os.path.join(folder, "d.json"), out)
    expect(res.code == 0, "make failed: %s" % res.describe())
    return read(out)


@suite.case
def every_template_with_a_picture_is_told_by_its_magic():
    corpus = os.path.join(SOURCE, "fuzz", "corpus")
    seeds = {name: read(os.path.join(corpus, name)) for name in sorted(os.listdir(corpus))}
    with_picture = {n: d for n, d in seeds.items() if int.from_bytes(d[:4], "little") > 0}
    expect(with_picture, "no fuzzing seed has a picture")
    templates = dict(with_picture)
    templates["demo"] = demo_template()
    templates["made by the tool"] = made_template()
    templates["JFIF picture"] = template_with(PICTURE)
    templates["camera picture (Exif first)"] = template_with(
        segments_replaced(PICTURE, app_segment(0xE1, b"Exif\0\0" + bytes(40))))
    templates["bare picture (tables first)"] = template_with(segments_replaced(PICTURE, b""))
    templates["commented picture"] = template_with(segments_replaced(PICTURE, app_segment(0xFE, b"hi")))
    missed = [name for name, data in templates.items() if not magic_says_template(data)]
    expect(not missed, "templates the magic misses: %s" % missed)
    # A template without a picture begins with zeros, like many other
    # files: only its extension names it.
    told = [n for n, d in seeds.items() if n not in with_picture and magic_says_template(d)]
    expect_equal(told, [], "picture-less seeds the magic claims")
    expect_equal([g.get("pattern") for g in mime_type().findall(NS + "glob")], ["*.tlm"], "globs")


@suite.case
def no_other_file_is_taken_for_a_template():
    others = {
        "JPEG": PICTURE,
        "PNG": png_bytes(5, 5, lambda x, y: (1, 2, 3)),
        "GIF": b"GIF89a" + bytes(20),
        "BMP": b"BM" + bytes(60),
        "TIFF": b"II*\0" + bytes(20),
        "MP4": b"\0\0\0\x18ftypisom" + bytes(20),
        "empty": b"",
        "zeros": bytes(64),
        "a JPEG start four bytes in with no segment after it": b"abcd\xff\xd8\xff\x00" + bytes(20),
        "a JPEG start four bytes in with a scan at once": b"abcd\xff\xd8\xff\xda" + bytes(20),
        "the README": read(os.path.join(SOURCE, "README.md")),
    }
    # The icon, the guide, the screenshot, the manual pages...
    for folder, _, files in os.walk(RESOURCES):
        for name in files:
            others[os.path.relpath(os.path.join(folder, name), RESOURCES)] = read(os.path.join(folder, name))
    rng = random.Random(7)
    for i in range(2000):
        others["random %d" % i] = bytes(rng.randrange(256) for _ in range(12))
    claimed = [name for name, data in others.items() if magic_says_template(data)]
    expect_equal(claimed, [], "other files the magic claims")


@suite.case
def desktop_thumbnailer_and_file_type_name_the_same_type():
    kind = mime_type().get("type")
    expect_equal(kind, "application/x-tilemont-template", "file type")
    for name in ("tilemont.desktop", "tilemont.thumbnailer"):
        lines = read(os.path.join(RESOURCES, name)).decode().splitlines()
        expect_equal([l for l in lines if l.startswith("MimeType=")], ["MimeType=%s;" % kind], name)
    # The real database compiler takes the file, where it is installed.
    if shutil.which("update-mime-database"):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "packages"))
            shutil.copy(MIME_XML, os.path.join(root, "packages", "tilemont.xml"))
            proc = subprocess.run(["update-mime-database", root], capture_output=True, timeout=60)
            # It notes that the folder is none the desktop reads; nothing more.
            complaints = [l for l in proc.stderr.decode().splitlines() if re.search("error|warning", l, re.I)]
            expect(proc.returncode == 0 and not complaints, "update-mime-database: %r" % proc.stderr)
            expect(kind.encode() in read(os.path.join(root, "magic")), "no magic compiled")


suite.finish()
