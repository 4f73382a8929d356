"""Regenerates the fuzzing seed templates in fuzz/corpus/ with the independent
writer.  Run: python3 tests/cli/make_corpus.py [output folder]"""

import os
import sys

from tlmformat import Area, Template, jpeg_bytes, write_template

HERE = os.path.dirname(os.path.abspath(__file__))
SQUARE = [(0.0, 0.0), (64.0, 0.0), (64.0, 48.0), (0.0, 48.0)]


def checker(x, y):
    return (200, 60, 40) if (x // 2 + y // 2) % 2 else (40, 60, 200)


def seeds():
    tiny = jpeg_bytes(6, 6, checker, quality=50)
    return {
        "empty.tlm": Template(),
        "one_area.tlm": Template(areas=[Area(
            name="Floor", rotation=15.0, shift_x=-3, shift_y=4, scale=1.5,
            corners=[(0, 0), (64, 0), (0, 48), (64, 48)], outline=[SQUARE],
            initial_rect=(0, 0, 64, 48))]),
        "texture.tlm": Template(areas=[Area(name="Tiled", texture=tiny, outline=[SQUARE])]),
        "skewed.tlm": Template(picture=jpeg_bytes(8, 6, checker, quality=50), areas=[Area(
            name="Wall", texture=tiny, skewed=jpeg_bytes(9, 7, checker, quality=50), skew=1,
            corners=[(1, 1), (8, 0), (0, 6), (9, 7)], outline=[SQUARE])]),
        "utf16_name.tlm": Template(areas=[Area(
            name="\u03a9mega \u5e8a", outline=[[(1.5, 2.5), (30.25, 2.5), (16.0, 40.0)]])]),
        "holed.tlm": Template(areas=[Area(
            name="K\u00fcche \u20ac", outline=[
                SQUARE,
                [(10.0, 10.0), (20.0, 10.0), (20.0, 20.0), (10.0, 20.0)],
                [(40.0, 30.0), (50.0, 30.0), (45.0, 40.0)]])]),
        # The extension block after the last record: a perspective area with
        # a real size, and one with neither.
        "tilted_floor.tlm": Template(areas=[
            Area(name="Floor", skew=1, perspective=True, corners=[(10, 5), (54, 6), (-20, 60), (90, 62)],
                 outline=[SQUARE], initial_rect=(0, 0, 64, 40),
                 real_size=(4.0, 40.0, 60.0, 41.5, 120.0, 30.0)),
            Area(name="Wall", outline=[SQUARE])]),
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "fuzz", "corpus")
    os.makedirs(out, exist_ok=True)
    for name, template in seeds().items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(write_template(template))


if __name__ == "__main__":
    main()
