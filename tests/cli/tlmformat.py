"""A second, independent reader and writer of Tilemont template (.tlm) files.

The end-to-end tests write files with this module, hand them to
tilemont-cli, and read what the tool writes back with it, so nothing here
may borrow from the C++ reader or writer: it is written from the file layout
alone.  It also carries the few image helpers the tests need without any
third-party Python package: PNG files through zlib, JPEG blobs through the
cjpeg/djpeg command-line tools, and JPEG header inspection.
"""

import struct
import subprocess
import zlib
from dataclasses import dataclass, field


class TruncatedError(Exception):
    """The data ends (or a count claims more than the data holds)."""


# ---------------------------------------------------------------- names

# Five byte values have no character in Windows-1252; the platform converter
# passes them through as the control characters of the same value, both ways,
# so a name read from a file can always be written back in the same bytes.
_UNASSIGNED = (0x81, 0x8D, 0x8F, 0x90, 0x9D)


def _cp1252_or_none(text):
    out = bytearray()
    for ch in text:
        if ord(ch) in _UNASSIGNED:
            out.append(ord(ch))
            continue
        try:
            out += ch.encode("cp1252")
        except UnicodeEncodeError:
            return None
    return bytes(out)


def decode_cp1252(raw):
    return "".join(chr(b) if b in _UNASSIGNED else bytes([b]).decode("cp1252") for b in raw)


def _length_prefix(n):
    if n < 0xFF:
        return bytes([n])
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n)
    return b"\xff" + struct.pack("<HI", 0xFFFF, n)


def encode_name(text, form="auto"):
    """Encode a name with its prefix.

    form "auto" picks single bytes when Windows-1252 can hold the text and
    the UTF-16 form otherwise (the writer's rule); "utf16" and "cp1252"
    force one form, which lets tests hand the tool names in the form a
    writer would not have chosen.
    """
    raw = _cp1252_or_none(text) if form in ("auto", "cp1252") else None
    if raw is not None:
        return _length_prefix(len(raw)) + raw
    if form == "cp1252":
        raise ValueError("not representable in Windows-1252: %r" % text)
    units = text.encode("utf-16-le", "surrogatepass")
    return b"\xff" + struct.pack("<H", 0xFFFE) + _length_prefix(len(units) // 2) + units


# ---------------------------------------------------------------- records

NO_REAL_SIZE = (0.0,) * 6
EXTENSION_TAG = b"TLMX"
PATTERN_TAG = b"TLMP"
LAYOUTS = ["straight", "offset-half", "offset-third", "random-offset", "herringbone", "chevron", "basket",
           "diagonal"]


@dataclass
class Area:
    name: str = ""
    texture: bytes = b""          # blob bytes; empty means no image
    skewed: bytes = b""
    rotation: float = 0.0
    shift_x: int = 0
    shift_y: int = 0
    scale: float = 1.0
    skew: int = 0
    corners: list = field(default_factory=lambda: [(0, 0)] * 4)  # TL, TR, BL, BR
    outline: list = field(default_factory=list)                  # contours of (x, y)
    initial_rect: tuple = (0, 0, 0, 0)                           # left, top, right, bottom
    name_form: str = "auto"       # how to write the name; on reading, how it was found
    # Held in the extension block after the last record.
    perspective: bool = False
    real_size: tuple = NO_REAL_SIZE  # x1, y1, x2, y2 (pixels), reference cm, texture width cm
    # Held in the pattern block after the extension block: a dict, or None.
    pattern: object = None

    def uses_extension(self):
        return self.perspective or tuple(self.real_size) != NO_REAL_SIZE


@dataclass
class Template:
    picture: bytes = b""
    areas: list = field(default_factory=list)


class Writer:
    def __init__(self):
        self.out = bytearray()

    def u32(self, v):
        self.out += struct.pack("<I", v)
        return self

    def i32(self, v):
        self.out += struct.pack("<i", v)
        return self

    def f64(self, v):
        self.out += struct.pack("<d", v)
        return self

    def raw(self, b):
        self.out += b
        return self

    def blob(self, b):
        return self.u32(len(b)).raw(b)

    def name(self, text, form="auto"):
        return self.raw(encode_name(text, form))

    def area(self, a):
        self.name(a.name, a.name_form)
        self.blob(a.texture).blob(a.skewed)
        self.f64(a.rotation).i32(a.shift_x).i32(a.shift_y).f64(a.scale).u32(a.skew)
        for x, y in a.corners:
            self.i32(x).i32(y)
        self.u32(len(a.outline))
        for contour in a.outline:
            self.i32(len(contour))
            for x, y in contour:
                self.f64(x).f64(y)
        for v in a.initial_rect:
            self.i32(v)
        return self

    def bytes(self):
        return bytes(self.out)


def extension_block(areas, version=1, count=None, length=None, crc=None):
    """The block after the last record: tag, version, payload length, the
    payload (area count, then per area flags and six doubles), CRC-32 of the
    payload.  The keywords override fields, to write damaged blocks."""
    payload = Writer().u32(len(areas) if count is None else count)
    for a in areas:
        payload.u32(1 if a.perspective else 0)
        for v in a.real_size:
            payload.f64(v)
    body = payload.bytes()
    return (Writer().raw(EXTENSION_TAG).u32(version)
            .u32(len(body) if length is None else length).raw(body)
            .u32(zlib.crc32(body) & 0xFFFFFFFF if crc is None else crc).bytes())


def write_template(t, extension=None):
    """The file; the extension block follows when an area needs it (the
    writer's rule), or always (True) or never (False)."""
    w = Writer().blob(t.picture).u32(len(t.areas))
    for a in t.areas:
        w.area(a)
    if extension is None:
        extension = any(a.uses_extension() for a in t.areas)
    if extension:
        w.raw(extension_block(t.areas))
    return w.bytes()


class Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def left(self):
        return len(self.data) - self.pos

    def take(self, n):
        if n < 0 or n > self.left():
            raise TruncatedError("need %d bytes at offset %d, %d left" % (n, self.pos, self.left()))
        b = self.data[self.pos:self.pos + n]
        self.pos += n
        return b

    def unpack(self, fmt):
        return struct.unpack("<" + fmt, self.take(struct.calcsize("<" + fmt)))[0]

    def length(self):
        n = self.unpack("B")
        if n < 0xFF:
            return n
        n = self.unpack("H")
        if n < 0xFFFF:
            return n
        return self.unpack("I")

    def name(self):
        """Returns (text, form) where form is "cp1252" or "utf16"."""
        n = self.unpack("B")
        if n < 0xFF:
            return decode_cp1252(self.take(n)), "cp1252"
        n = self.unpack("H")
        if n == 0xFFFE:
            units = self.length()
            return self.take(2 * units).decode("utf-16-le", "surrogatepass"), "utf16"
        if n == 0xFFFF:
            n = self.unpack("I")
        return decode_cp1252(self.take(n)), "cp1252"

    def blob(self):
        return self.take(self.unpack("I"))

    def area(self):
        a = Area()
        a.name, a.name_form = self.name()
        a.texture = self.blob()
        a.skewed = self.blob()
        a.rotation = self.unpack("d")
        a.shift_x = self.unpack("i")
        a.shift_y = self.unpack("i")
        a.scale = self.unpack("d")
        a.skew = self.unpack("I")
        a.corners = [(self.unpack("i"), self.unpack("i")) for _ in range(4)]
        contours = self.unpack("I")
        if contours * 4 > self.left():
            raise TruncatedError("contour count %d too large" % contours)
        for _ in range(contours):
            count = self.unpack("i")
            if count < 0 or count * 16 > self.left():
                raise TruncatedError("vertex count %d does not fit" % count)
            a.outline.append([(self.unpack("d"), self.unpack("d")) for _ in range(count)])
        a.initial_rect = tuple(self.unpack("i") for _ in range(4))
        return a


def read_extension(r, areas):
    """Reads a sound extension block into the areas; anything else in it is
    an error, since this reader checks what the tool writes."""
    if r.take(4) != EXTENSION_TAG:
        raise ValueError("bytes after the last area are no extension block")
    version, length = r.unpack("I"), r.unpack("I")
    if version != 1:
        raise ValueError("extension version %d" % version)
    body = r.take(length)
    if r.unpack("I") != zlib.crc32(body) & 0xFFFFFFFF:
        raise ValueError("extension checksum differs")
    p = Reader(body)
    if p.unpack("I") != len(areas) or len(body) != 4 + 52 * len(areas):
        raise ValueError("extension holds another number of areas")
    for a in areas:
        a.perspective = bool(p.unpack("I") & 1)
        a.real_size = tuple(p.unpack("d") for _ in range(6))


def read_patterns(r, areas):
    """Reads a sound pattern block: each area's laying pattern as a dict, or
    None."""
    if r.take(4) != PATTERN_TAG:
        raise ValueError("bytes after the extension block are no pattern block")
    version, length = r.unpack("I"), r.unpack("I")
    if version != 1:
        raise ValueError("pattern block version %d" % version)
    body = r.take(length)
    if r.unpack("I") != zlib.crc32(body) & 0xFFFFFFFF:
        raise ValueError("pattern block checksum differs")
    p = Reader(body)
    if p.unpack("I") != len(areas):
        raise ValueError("pattern block holds another number of areas")
    for a in areas:
        present = p.unpack("I")
        if present not in (0, 1):
            raise ValueError("pattern presence %d" % present)
        if not present:
            a.pattern = None
            continue
        layout = p.unpack("I")
        width, height, angle, joint = (p.unpack("d") for _ in range(4))
        colour, seed, flags, origin = (p.unpack("I") for _ in range(4))
        point = (p.unpack("d"), p.unpack("d"))
        variants = [p.take(p.unpack("I")) for _ in range(p.unpack("I"))]
        a.pattern = {"layout": LAYOUTS[layout], "size": (width, height), "angle": angle, "joint": joint,
                     "colour": colour & 0xFFFFFF, "seed": seed, "turn180": bool(flags & 1),
                     "turn90": bool(flags & 2), "origin": origin, "point": point, "variants": variants}
    if p.left():
        raise ValueError("%d bytes left in the pattern block" % p.left())


def read_template(data):
    """Parses a whole file; trailing bytes after the last record other than
    an extension block are an error too, since a writer that leaves them has
    got some field wrong."""
    r = Reader(data)
    t = Template(picture=r.blob())
    n = r.unpack("I")
    for _ in range(n):
        t.areas.append(r.area())
    if r.left():
        read_extension(r, t.areas)
    if r.left():
        read_patterns(r, t.areas)
    if r.left():
        raise ValueError("%d unexpected bytes after the pattern block" % r.left())
    return t


# ---------------------------------------------------------------- images

def _png_chunk(kind, payload):
    return (struct.pack(">I", len(payload)) + kind + payload
            + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))


def png_bytes(width, height, pixel):
    """An 8-bit RGB PNG; pixel(x, y) -> (r, g, b)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            rows += bytes(pixel(x, y))
    return (b"\x89PNG\r\n\x1a\n"
            + _png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + _png_chunk(b"IDAT", zlib.compress(bytes(rows)))
            + _png_chunk(b"IEND", b""))


def ppm_bytes(width, height, pixel):
    body = bytearray()
    for y in range(height):
        for x in range(width):
            body += bytes(pixel(x, y))
    return b"P6\n%d %d\n255\n" % (width, height) + bytes(body)


def solid(rgb):
    return lambda x, y: rgb


def jpeg_bytes(width, height, pixel=solid((200, 120, 40)), quality=95):
    return subprocess.run(["cjpeg", "-quality", str(quality)],
                          input=ppm_bytes(width, height, pixel),
                          capture_output=True, check=True, timeout=60).stdout


def _segments(data):
    """Yields (marker, payload) for the header segments of a JPEG, stopping
    at the start of scan; raises ValueError if the data is not JPEG."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no JPEG start marker")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ValueError("lost marker sync at %d" % pos)
        marker = data[pos + 1]
        if marker == 0xFF:          # fill byte
            pos += 1
            continue
        size = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        yield marker, data[pos + 4:pos + 2 + size]
        if marker == 0xDA:
            return
        pos += 2 + size
    raise ValueError("JPEG header ends early")


def jpeg_size(data):
    """(width, height) from the frame header, or None if the data is not a
    JPEG we can read."""
    try:
        for marker, payload in _segments(data):
            if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
                height, width = struct.unpack(">HH", payload[1:5])
                return width, height
    except (ValueError, struct.error):
        return None
    return None


def jpeg_quant_values(data):
    """Every quantisation table entry in the header, as a flat list."""
    values = []
    for marker, payload in _segments(data):
        if marker != 0xDB:
            continue
        pos = 0
        while pos < len(payload):
            wide = payload[pos] >> 4
            pos += 1
            if wide:
                values += struct.unpack(">64H", payload[pos:pos + 128])
                pos += 128
            else:
                values += payload[pos:pos + 64]
                pos += 64
    return values


def split_pnm(ppm):
    """The kind (b"P5" or b"P6"), width, height and pixel bytes of a PNM file."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    pos += 1
    return fields[0], int(fields[1]), int(fields[2]), ppm[pos:]


def decode_jpeg(data):
    """Decodes with djpeg; returns (width, height, pixel(x, y) -> (r, g, b))."""
    ppm = subprocess.run(["djpeg", "-pnm"], input=data, capture_output=True,
                         check=True, timeout=60).stdout
    kind, width, height, body = split_pnm(ppm)
    if kind == b"P5":
        return width, height, lambda x, y: (body[y * width + x],) * 3
    return width, height, lambda x, y: tuple(body[3 * (y * width + x):3 * (y * width + x) + 3])


def rect(x0, y0, x1, y1):
    """An axis-aligned outline, clockwise from the top-left corner."""
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def pattern(seed):
    """A texture whose every pixel differs from its neighbours, varied by seed."""
    return lambda x, y: ((x * 37 + seed * 50) % 256, (y * 23 + seed * 90) % 256, (x * y + seed * 7) % 256)
