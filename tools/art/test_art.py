"""Tests of the artwork generator: the codecs round-trip and reject broken files, the
rasteriser covers what it should, and the hand-drawn icons keep their shape.

    python3 -m unittest discover -s tools/art
"""
from __future__ import annotations

import math
import random
import struct
import unittest
import zlib

import codec
import motif
import small
from raster import Affine, Canvas, circle, polygon, rect


def pattern(size: int, seed: int) -> bytes:
    """Noise with runs and fully transparent pixels, so every PNG filter and the AND mask
    get exercised."""
    rng = random.Random(seed)
    out = bytearray()
    for _ in range(size * size):
        if rng.random() < 0.3:
            out += b"\0\0\0\0"
        else:
            out += bytes(rng.randrange(256) for _ in range(3)) + bytes((rng.randrange(1, 256),))
    return bytes(out)


class CodecTest(unittest.TestCase):
    def test_png_round_trip(self):
        for width, height, strategy in ((1, 1, "adaptive"), (7, 3, "0"), (16, 16, "1"),
                                        (5, 9, "2"), (12, 4, "4"), (33, 2, "adaptive")):
            with self.subTest(size=(width, height), strategy=strategy):
                rng = random.Random(width * 100 + height)
                rgba = bytes(rng.randrange(256) for _ in range(width * height * 4))
                raw = codec._scanlines(rgba, width, height, strategy)
                header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
                data = (codec.PNG_SIGNATURE + codec._chunk(b"IHDR", header)
                        + codec._chunk(b"IDAT", zlib.compress(raw)) + codec._chunk(b"IEND", b""))
                self.assertEqual(codec.read_png(data), (width, height, rgba))

    def test_png_average_filter_round_trip(self):
        rgba = pattern(6, 3)
        prev = bytes(24)
        for y in range(6):
            row = rgba[y * 24:(y + 1) * 24]
            self.assertEqual(codec._unfilter_row(3, codec._filter_row(3, row, prev), prev), row)
            prev = row

    def test_ico_round_trip(self):
        images = [(size, pattern(size, size)) for size in (256, 64, 48, 32, 16)]
        data = codec.ico_bytes(images)
        entries = codec.read_ico(data)
        self.assertEqual([(e["size"], e["planes"], e["bits"]) for e in entries],
                         [(size, 1, 32) for size, _ in images])
        for (size, rgba), entry in zip(images, entries):
            with self.subTest(size=size):
                self.assertEqual(entry["rgba"], rgba)

    def test_broken_files_are_refused(self):
        good = codec.ico_bytes([(256, pattern(256, 1)), (16, pattern(16, 2))])
        first_at = struct.unpack_from("<I", good, 6 + 12)[0]
        second_at = struct.unpack_from("<I", good, 6 + 16 + 12)[0]

        def patched(offset, value):
            data = bytearray(good)
            data[offset:offset + len(value)] = value
            return bytes(data)

        cases = {
            "truncated": good[:-10],
            "not an icon": patched(2, b"\2\0"),
            "PNG CRC": patched(first_at + 30, b"\xff"),
            "not a PNG": patched(second_at, b"BM"),
            "size differs from the directory": patched(6 + 16, b"\x20\x20"),
            "not square": patched(6 + 16, b"\x10\x20"),
        }
        for name, data in cases.items():
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    codec.read_ico(data)


def alpha_at(canvas: Canvas, x: int, y: int) -> float:
    return canvas.px[y * canvas.width + x][3]


class RasterTest(unittest.TestCase):
    def paint(self, path, size=8, clip_below=None):
        canvas = Canvas(size, size)
        canvas.fill(path, (1.0, 1.0, 1.0, 1.0), Affine(), 16, clip_below)
        return canvas

    def test_coverage_of_rectangles(self):
        # (rectangle, pixel, expected alpha)
        cases = [
            ((2, 2, 5, 5), (3, 3), 1.0),
            ((2, 2, 5, 5), (5, 3), 0.0),
            ((2, 2, 5, 5), (1, 1), 0.0),
            ((2.5, 2, 5, 5), (2, 3), 0.5),
            ((2, 2.25, 5, 5), (3, 2), 0.75),
            ((2.25, 2.5, 5, 5), (2, 2), 0.375),
            ((-3, -3, 20, 20), (7, 7), 1.0),
        ]
        for box, (x, y), expected in cases:
            with self.subTest(box=box, pixel=(x, y)):
                self.assertAlmostEqual(alpha_at(self.paint(rect(*box)), x, y), expected, places=6)

    def test_circle_area(self):
        canvas = self.paint(circle(16, 16, 10), size=32)
        area = sum(p[3] for p in canvas.px)
        self.assertAlmostEqual(area, math.pi * 100, delta=math.pi * 100 * 0.005)

    def test_overlaps_join_and_reversed_outlines_cut(self):
        joined = self.paint(rect(1, 1, 5, 5).add(rect(3, 3, 7, 7)))
        self.assertEqual(alpha_at(joined, 3, 3), 1.0)
        hole = polygon([(3, 3), (3, 5), (5, 5), (5, 3)])  # walked the other way round
        ring = self.paint(rect(1, 1, 7, 7).add(hole))
        self.assertEqual(alpha_at(ring, 3, 3), 0.0)
        self.assertEqual(alpha_at(ring, 1, 3), 1.0)

    def test_clip_hides_below(self):
        canvas = self.paint(rect(0, 0, 8, 8), clip_below=4.5)
        self.assertEqual([alpha_at(canvas, 0, y) for y in (3, 4, 5)], [1.0, 0.5, 0.0])


class SmallDrawingsTest(unittest.TestCase):
    def test_drawings_are_square_and_use_known_colours(self):
        known = set(small.PALETTE) | {c.lower() for c in small.PALETTE} | set(".Tt")
        self.assertEqual(set(small.DRAWINGS), set(motif.VARIANTS))
        for variant, rows in small.DRAWINGS.items():
            with self.subTest(variant):
                self.assertEqual([len(r) for r in rows], [16] * 16)
                self.assertLessEqual(set("".join(rows)), known)

    def test_symmetric_moths_stay_symmetric(self):
        # (variant, rows that mirror left to right): a slip of one pixel breaks the moth.
        for variant, rows in (("moth", range(16)), ("bubble", range(14)), ("peek", range(16)),
                              ("wordmark", range(9))):
            for y in rows:
                with self.subTest(variant=variant, row=y):
                    line = small.DRAWINGS[variant][y]
                    self.assertEqual(line, line[::-1])

    def test_corners_are_transparent_and_centre_opaque(self):
        for variant in motif.VARIANTS:
            with self.subTest(variant):
                rgba = small.render(variant)
                self.assertEqual(rgba[3], 0)
                self.assertEqual(rgba[(8 * 16 + 8) * 4 + 3], 255)


if __name__ == "__main__":
    unittest.main()
