"""A second, independent composer of exported templates.

Given a template as read by tlmformat, it works out the picture an export at
the picture's own size must produce: the picture and every textured area on
a 16-bit 5-6-5 canvas, skewed areas through a forward perspective warp in
32-bit float arithmetic.  It is written from the rendering rules alone and
borrows nothing from the C++ renderer, so the two can be held against each
other pixel by pixel.  Pure Python and slow: keep pictures and warp quads
small.

It also reads back the files the exporter writes (PNG, BMP, uncompressed
TIFF strips, and the headers of TIFF and GIF files) without any third-party
package.
"""

import math
import struct
import subprocess
import zlib
from fractions import Fraction

from tlmformat import split_pnm


class Image:
    """8-bit RGB pixels, row-major, as a list of (r, g, b) tuples."""

    def __init__(self, width, height, px=None, fill=(0, 0, 0)):
        self.width = width
        self.height = height
        self.px = px if px is not None else [fill] * (width * height)

    def get(self, x, y):
        return self.px[y * self.width + x]

    def set(self, x, y, rgb):
        self.px[y * self.width + x] = rgb

    def copy(self):
        return Image(self.width, self.height, list(self.px))


# ------------------------------------------------------------ colour depth

def to565(rgb):
    return (rgb[0] >> 3, rgb[1] >> 2, rgb[2] >> 3)


def from565(q):
    r, g, b = q
    return ((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2))


def quantise(rgb):
    """What a 5-6-5 canvas keeps of a colour, expanded back to 8 bits the way
    a written file shows it."""
    return from565(to565(rgb))


LEVELS_R = frozenset(from565((v, 0, 0))[0] for v in range(32))
LEVELS_G = frozenset(from565((0, v, 0))[1] for v in range(64))


def only_565_levels(rgb):
    return rgb[0] in LEVELS_R and rgb[1] in LEVELS_G and rgb[2] in LEVELS_R


def f32(x):
    """Rounds a double to the nearest 32-bit float.  One operation on two
    floats done in double and rounded once gives the float result exactly."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


# ------------------------------------------------------------ JPEG blobs

def encode_jpeg(image, quality=95):
    """A JPEG without chroma subsampling, so that decoding needs no
    upsampling filter and every decoder of the same library agrees."""
    body = bytearray()
    for rgb in image.px:
        body += bytes(rgb)
    ppm = b"P6\n%d %d\n255\n" % (image.width, image.height) + bytes(body)
    return subprocess.run(["cjpeg", "-quality", str(quality), "-sample", "1x1,1x1,1x1"],
                          input=ppm, capture_output=True, check=True, timeout=60).stdout


def decode_jpeg(data):
    """Image, or None when the bytes are empty or not a decodable JPEG."""
    if not data:
        return None
    proc = subprocess.run(["djpeg", "-pnm"], input=data, capture_output=True, timeout=60)
    if proc.returncode != 0 or not proc.stdout:
        return None
    return parse_pnm(proc.stdout)


def parse_pnm(ppm):
    kind, width, height, body = split_pnm(ppm)
    if kind == b"P5":
        px = [(v, v, v) for v in body[:width * height]]
    else:
        px = [tuple(body[i:i + 3]) for i in range(0, 3 * width * height, 3)]
    return Image(width, height, px)


# ------------------------------------------------------------ outlines

def outline_mask(contours, width, height):
    """Pixels of a width x height grid whose centre lies inside the outline
    (even-odd over all contours), vertices truncated toward zero.  Returns
    (mask, ambiguous) where ambiguous counts centres lying exactly on an
    edge, which a test should avoid since no rule fixes them."""
    edges = []
    for contour in contours:
        pts = [(int(x), int(y)) for x, y in contour]
        for i in range(len(pts)):
            a, b = pts[i], pts[(i + 1) % len(pts)]
            if a[1] != b[1]:
                edges.append((a, b))
    mask = bytearray(width * height)
    ambiguous = 0
    for y in range(height):
        cy = Fraction(2 * y + 1, 2)
        xs = []
        for (x0, y0), (x1, y1) in edges:
            if min(y0, y1) < cy < max(y0, y1):
                xs.append(x0 + (cy - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for x in range(width):
            cx = Fraction(2 * x + 1, 2)
            if cx in xs:
                ambiguous += 1
            if sum(1 for xc in xs if xc < cx) % 2:
                mask[y * width + x] = 1
    return mask, ambiguous


def outline_bounds(contours):
    """Integer bounding box (x, y, w, h) of the truncated vertices."""
    pts = [(int(x), int(y)) for c in contours for x, y in c]
    if not pts:
        return 0, 0, 0, 0
    x0 = min(p[0] for p in pts)
    y0 = min(p[1] for p in pts)
    return x0, y0, max(p[0] for p in pts) - x0, max(p[1] for p in pts) - y0


# ------------------------------------------------------------ texture brush

class Placement:
    """Maps drawing points back to texture coordinates: a texel (u, v) lands
    at R(rotation) . (scale * u + shiftX, scale * v + shiftY), y down, with
    every number first narrowed to a 32-bit float."""

    def __init__(self, rotation, shift_x, shift_y, scale):
        self.scale = f32(scale)
        self.sx = f32(shift_x)
        self.sy = f32(shift_y)
        deg = f32(rotation)
        quarter = {0.0: (1.0, 0.0), 90.0: (0.0, 1.0), 180.0: (-1.0, 0.0), 270.0: (0.0, -1.0)}
        self.cos, self.sin = quarter.get(deg % 360.0, (math.cos(math.radians(deg)),
                                                      math.sin(math.radians(deg))))

    def texel(self, px, py):
        """Texture coordinates of drawing point (px, py)."""
        qx = self.cos * px + self.sin * py
        qy = -self.sin * px + self.cos * py
        return (qx - self.sx) / self.scale, (qy - self.sy) / self.scale


def sample_nearest(tex, u, v):
    return tex.get(math.floor(u) % tex.width, math.floor(v) % tex.height)


def sample_bilinear(tex, u, v):
    u -= 0.5
    v -= 0.5
    x0, y0 = math.floor(u), math.floor(v)
    fx, fy = u - x0, v - y0
    w, h = tex.width, tex.height
    a = tex.get(x0 % w, y0 % h)
    b = tex.get((x0 + 1) % w, y0 % h)
    c = tex.get(x0 % w, (y0 + 1) % h)
    d = tex.get((x0 + 1) % w, (y0 + 1) % h)
    return tuple(int(round((a[k] * (1 - fx) + b[k] * fx) * (1 - fy)
                           + (c[k] * (1 - fx) + d[k] * fx) * fy)) for k in range(3))


# ------------------------------------------------------------ skew warp

def warp_to_quad(src, c0, c1, c2, c3):
    """Forward warp of src onto the quadrilateral c0..c3 (integer points),
    produced turned by 180 degrees into a (maxX-minX+1) x (maxY-minY+1)
    black image of 8-bit channels, each pixel the running mean (truncating)
    of the samples landing in it."""
    xs = [c[0] for c in (c0, c1, c2, c3)]
    ys = [c[1] for c in (c0, c1, c2, c3)]
    min_x, max_x, min_y, max_y = min(xs), max(xs), min(ys), max(ys)
    width, height = max_x - min_x + 1, max_y - min_y + 1
    out = [[0, 0, 0] for _ in range(width * height)]
    hits = [0] * (width * height)
    (x0, y0), (x1, y1), (x2, y2), (x3, y3) = c0, c1, c2, c3

    def length(dx, dy):
        return f32(math.sqrt(f32(f32(float(dx) * dx) + f32(float(dy) * dy))))

    v_count = f32(4.0 * max(length(x2 - x1, y2 - y1), length(x3 - x0, y3 - y0)))
    u_count = f32(4.0 * max(length(x1 - x0, y1 - y0), length(x2 - x3, y2 - y3)))
    ws, hs = src.width, src.height
    i = 0
    while i < v_count:
        s = f32(i / v_count)
        one_s = f32(1.0 - s)
        col = int(f32(ws * s))
        ya = f32(f32(one_s * (y2 - y3)) + f32(s * (y1 - y0)))
        ys_term = f32(s * (y2 - y1))
        j = 0
        while j < u_count:
            t = f32(j / u_count)
            one_t = f32(1.0 - t)
            xa = f32(f32(one_t * (x2 - x1)) + f32(t * (x3 - x0)))
            big_x = f32(f32(f32(s * xa) + (max_x - x2)) + f32(t * (x2 - x3)))
            big_y = f32(f32((max_y - y2) + f32(t * ya)) + ys_term)
            dx, dy = int(big_x), int(big_y)
            if 0 <= dx < width and 0 <= dy < height and ws > 0 and hs > 0:
                row = int(f32(hs * t))
                texel = src.get(min(col, ws - 1), min(row, hs - 1))
                k = dy * width + dx
                n = hits[k]
                cell = out[k]
                for c in range(3):
                    cell[c] = (cell[c] * n + texel[c]) // (n + 1)
                hits[k] = n + 1
            j += 1
        i += 1
    return Image(width, height, [tuple(c) for c in out])


def turn180(img):
    return Image(img.width, img.height, list(reversed(img.px)))


def rebuild_skewed(area, tex):
    """The skewed texture an area gets when it is drawn skewed but the file
    holds none: the placed texture flat on a canvas of the initial rect's
    size (the outline's bounds when that is empty), in 5-6-5 with
    nearest-neighbour sampling and the tiling anchored at the canvas origin,
    warped onto the corners."""
    left, top, right, bottom = area.initial_rect
    if right > left and bottom > top:
        w, h = right - left, bottom - top
    else:
        _, _, w, h = outline_bounds(area.outline)
    place = Placement(area.rotation, area.shift_x, area.shift_y, area.scale)
    flat = Image(w, h)
    for y in range(h):
        for x in range(w):
            u, v = place.texel(x + 0.5, y + 0.5)
            flat.set(x, y, quantise(sample_nearest(tex, u, v)))
    tl, tr, bl, br = [tuple(c) for c in area.corners]
    return turn180(warp_to_quad(flat, br, tr, tl, bl))


# ------------------------------------------------------------ composition

def compose(template, smooth=True):
    """The exported picture at the picture's own size, as 8-bit channels
    holding only 5-6-5 levels.  Returns (image, notes) where notes collects
    facts a test may want: ambiguous outline pixels and the rebuilt skewed
    textures."""
    picture = decode_jpeg(template.picture)
    if picture is None:
        raise ValueError("template has no picture")
    w, h = picture.width, picture.height
    canvas = Image(w, h, [quantise(p) for p in picture.px])
    notes = {"ambiguous": 0, "rebuilt": []}
    for area in template.areas:
        tex = decode_jpeg(area.texture)
        if tex is None:
            continue
        mask, ambiguous = outline_mask(area.outline, w, h)
        notes["ambiguous"] += ambiguous
        if area.skew:
            skewed = decode_jpeg(area.skewed)
            if skewed is None:
                skewed = rebuild_skewed(area, tex)
                notes["rebuilt"].append(skewed)
            ox = min(c[0] for c in area.corners)
            oy = min(c[1] for c in area.corners)
            for y in range(max(0, oy), min(h, oy + skewed.height)):
                for x in range(max(0, ox), min(w, ox + skewed.width)):
                    if mask[y * w + x]:
                        canvas.set(x, y, quantise(skewed.get(x - ox, y - oy)))
            continue
        place = Placement(area.rotation, area.shift_x, area.shift_y, area.scale)
        sample = sample_bilinear if smooth else sample_nearest
        for y in range(h):
            for x in range(w):
                if mask[y * w + x]:
                    u, v = place.texel(x + 0.5, y + 0.5)
                    canvas.set(x, y, quantise(sample(tex, u, v)))
    return canvas, notes


def aspect_size(pic_w, pic_h, width=None, height=None):
    """The export size when only one side (or none) is given."""
    aspect = pic_w / pic_h
    if width is None and height is None:
        return pic_w, pic_h
    if height is None:
        return width, int(width / aspect)
    if width is None:
        return int(height * aspect), height
    return width, height


# ------------------------------------------------------------ comparison

def compare(got, want, mask=None):
    """Per-pixel absolute channel differences (max over channels) where mask
    is set (everywhere without one); returns the sorted list."""
    if (got.width, got.height) != (want.width, want.height):
        raise ValueError("size %dx%d, want %dx%d" % (got.width, got.height,
                                                     want.width, want.height))
    diffs = []
    for i, (a, b) in enumerate(zip(got.px, want.px)):
        if mask is None or mask[i]:
            diffs.append(max(abs(a[k] - b[k]) for k in range(3)))
    diffs.sort()
    return diffs


def first_differences(got, want, limit=8):
    out = []
    for i, (a, b) in enumerate(zip(got.px, want.px)):
        if a != b:
            out.append(((i % got.width, i // got.width), a, b))
            if len(out) >= limit:
                break
    return out


def mean_colour(img, x0, y0, x1, y1):
    n = (x1 - x0) * (y1 - y0)
    sums = [0, 0, 0]
    for y in range(y0, y1):
        for x in range(x0, x1):
            p = img.get(x, y)
            for k in range(3):
                sums[k] += p[k]
    return tuple(s / n for s in sums)


# ------------------------------------------------------------ reading files

def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos = 8
    idat = bytearray()
    palette = None
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        if zlib.crc32(kind + body) & 0xFFFFFFFF != struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])[0]:
            raise ValueError("bad CRC in %r" % kind)
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + n
    if depth != 8 or interlace:
        raise ValueError("PNG depth %d interlace %d not handled" % (depth, interlace))
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[ctype]
    raw = zlib.decompress(bytes(idat))
    stride = width * channels
    prev = bytearray(stride)
    rows = []
    pos = 0
    for _ in range(height):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = prev[i]
            ul = prev[i - channels] if i >= channels else 0
            if ftype == 1:
                line[i] = (line[i] + left) & 255
            elif ftype == 2:
                line[i] = (line[i] + up) & 255
            elif ftype == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif ftype == 4:
                p = left + up - ul
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - ul)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else ul)
                line[i] = (line[i] + pred) & 255
        rows.append(line)
        prev = line
    px = []
    for line in rows:
        for x in range(width):
            c = line[x * channels:(x + 1) * channels]
            if ctype == 0 or ctype == 4:
                px.append((c[0], c[0], c[0]))
            elif ctype == 3:
                px.append(palette[c[0]])
            else:
                px.append((c[0], c[1], c[2]))
    return Image(width, height, px)


def read_bmp(data):
    if data[:2] != b"BM":
        raise ValueError("not a BMP")
    offset = struct.unpack("<I", data[10:14])[0]
    width, height, _, bpp, compression = struct.unpack("<iiHHI", data[18:34])
    top_down = height < 0
    height = abs(height)
    masks = None
    if compression == 3:
        # right after a 40-byte header, or inside a longer one at the same place
        masks = struct.unpack("<III", data[54:66])
    elif compression != 0:
        raise ValueError("BMP compression %d not handled" % compression)
    stride = ((width * bpp + 31) // 32) * 4
    px = [None] * (width * height)
    for row in range(height):
        y = row if top_down else height - 1 - row
        base = offset + row * stride
        for x in range(width):
            if bpp == 24 or (bpp == 32 and masks is None):
                b, g, r = data[base + x * bpp // 8:base + x * bpp // 8 + 3]
            elif bpp == 32:
                v = struct.unpack("<I", data[base + 4 * x:base + 4 * x + 4])[0]
                r, g, b = [_mask_channel(v, m) for m in masks]
            elif bpp == 16:
                v = struct.unpack("<H", data[base + 2 * x:base + 2 * x + 2])[0]
                r, g, b = [_mask_channel(v, m) for m in (masks or (0x7C00, 0x3E0, 0x1F))]
            else:
                raise ValueError("BMP depth %d not handled" % bpp)
            px[y * width + x] = (r, g, b)
    return Image(width, height, px)


def _mask_channel(v, mask):
    shift = (mask & -mask).bit_length() - 1
    bits = bin(mask).count("1")
    c = (v & mask) >> shift
    # widen by repeating the bit pattern, the usual way to fill 8 bits
    out, have = 0, 0
    while have < 8:
        out = (out << bits) | c
        have += bits
    return out >> (have - 8)


TIFF_TYPES = {1: "B", 2: "c", 3: "H", 4: "I", 5: "II", 6: "b", 7: "B", 8: "h", 9: "i",
              10: "ii", 11: "f", 12: "d"}


def read_tiff_ifd(data):
    """First IFD as {tag: tuple of values}; checks the header."""
    order = {b"II": "<", b"MM": ">"}.get(data[:2])
    if order is None or struct.unpack(order + "H", data[2:4])[0] != 42:
        raise ValueError("not a TIFF")
    pos = struct.unpack(order + "I", data[4:8])[0]
    count = struct.unpack(order + "H", data[pos:pos + 2])[0]
    tags = {}
    for k in range(count):
        e = pos + 2 + 12 * k
        tag, kind, n = struct.unpack(order + "HHI", data[e:e + 8])
        fmt = TIFF_TYPES[kind]
        size = struct.calcsize("<" + fmt) * n
        where = e + 8 if size <= 4 else struct.unpack(order + "I", data[e + 8:e + 12])[0]
        if where + size > len(data):
            raise ValueError("tag %d points past the end" % tag)
        tags[tag] = struct.unpack(order + fmt * n, data[where:where + size])
    tags["_order"] = order
    return tags


def tiff_strips(data, tags):
    return b"".join(data[o:o + n] for o, n in zip(tags[273], tags[279]))


def unpack_bits(data):
    out = bytearray()
    pos = 0
    while pos < len(data):
        n = data[pos]
        pos += 1
        if n < 128:
            out += data[pos:pos + n + 1]
            pos += n + 1
        elif n > 128:
            out += bytes([data[pos]]) * (257 - n)
            pos += 1
    return bytes(out)


def lzw_decode(data):
    """TIFF flavour of LZW: MSB-first codes, code width grows one code early."""
    out = bytearray()
    table = [bytes([i]) for i in range(256)] + [b"", b""]
    width, bitbuf, bits, prev = 9, 0, 0, None
    for byte in data:
        bitbuf = (bitbuf << 8) | byte
        bits += 8
        while bits >= width:
            bits -= width
            code = (bitbuf >> bits) & ((1 << width) - 1)
            if code == 257:
                return bytes(out)
            if code == 256:
                table = table[:258]
                width, prev = 9, None
                continue
            if prev is None:
                entry = table[code]
            else:
                entry = table[code] if code < len(table) else prev + prev[:1]
                table.append(prev + entry[:1])
            out += entry
            prev = entry
            if len(table) + 1 >= (1 << width) and width < 12:
                width += 1
    return bytes(out)


def read_tiff_rgb(data):
    """Pixels of an 8-bit RGB TIFF (no, LZW or PackBits compression)."""
    tags = read_tiff_ifd(data)
    width, height = tags[256][0], tags[257][0]
    spp = tags.get(277, (1,))[0]
    comp = tags.get(259, (1,))[0]
    if tags[258][0] != 8 or spp not in (3, 4) or tags[262][0] != 2:
        raise ValueError("not 8-bit RGB")
    raw = bytearray()
    for o, n in zip(tags[273], tags[279]):
        chunk = data[o:o + n]
        raw += {1: lambda c: c, 5: lzw_decode, 32773: unpack_bits}[comp](chunk)
    if tags.get(317, (1,))[0] == 2:
        stride = width * spp
        for r in range(len(raw) // stride):
            base = r * stride
            for i in range(spp, stride):
                raw[base + i] = (raw[base + i] + raw[base + i - spp]) & 255
    px = [tuple(raw[i:i + 3]) for i in range(0, width * height * spp, spp)]
    return Image(width, height, px)


def read_gif_header(data):
    """(width, height, global table size or 0, [local table sizes],
    frames) of a GIF, walking its blocks."""
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        raise ValueError("not a GIF")
    width, height, flags = struct.unpack("<HHB", data[6:11])
    pos = 13
    global_size = 0
    if flags & 0x80:
        global_size = 2 << (flags & 7)
        pos += 3 * global_size
    locals_, frames = [], 0
    while pos < len(data):
        kind = data[pos]
        if kind == 0x3B:
            return width, height, global_size, locals_, frames
        if kind == 0x21:
            pos += 2
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        elif kind == 0x2C:
            frames += 1
            lflags = data[pos + 9]
            pos += 10
            if lflags & 0x80:
                locals_.append(2 << (lflags & 7))
                pos += 3 * (2 << (lflags & 7))
            pos += 1  # LZW minimum code size
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        else:
            raise ValueError("unknown GIF block 0x%02x at %d" % (kind, pos))
    raise ValueError("GIF without trailer")
