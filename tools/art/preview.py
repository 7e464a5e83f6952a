"""Contact sheets for looking at the icons: each variant in one band, every size on a light and
on a dark backdrop, then the 32 and 16 pixel images enlarged with hard pixel edges."""
from __future__ import annotations

LIGHT = (236, 236, 240)
DARK = (32, 32, 36)
PAD = 12
ZOOM = {32: 4, 16: 8}


def _blend(dst: bytearray, w: int, x0: int, y0: int, rgba: bytes, size: int, zoom: int) -> None:
    for y in range(size * zoom):
        for x in range(size * zoom):
            i = ((y // zoom) * size + x // zoom) * 4
            r, g, b, a = rgba[i:i + 4]
            j = ((y0 + y) * w + x0 + x) * 3
            for c, v in enumerate((r, g, b)):
                dst[j + c] = (v * a + dst[j + c] * (255 - a) + 127) // 255


def _fill(dst: bytearray, w: int, x0: int, y0: int, x1: int, y1: int, colour) -> None:
    for y in range(y0, y1):
        dst[(y * w + x0) * 3:(y * w + x1) * 3] = bytes(colour) * (x1 - x0)


def contact_sheet(rows: list[list[tuple[int, bytes]]]) -> tuple[int, int, bytes]:
    """rows: per variant, its (size, rgba) images, largest first. Returns width, height, RGBA."""
    big = rows[0][0][0]
    small = [s for s, _ in rows[0][1:]]
    zoomed = [s for s in small if s in ZOOM]
    w = big + PAD * 4 + sum(s + PAD for s in small) + PAD + sum(s * ZOOM[s] + PAD for s in zoomed)
    band = max(big, max(s * ZOOM[s] for s in zoomed)) + PAD * 2
    h = band * len(rows)
    canvas = bytearray(w * h * 3)
    for r, images in enumerate(rows):
        top = r * band
        _fill(canvas, w, 0, top, w, top + band, LIGHT)
        x = PAD
        size, rgba = images[0]
        _blend(canvas, w, x, top + PAD, rgba, size, 1)
        x += size + PAD
        # The small sizes twice: on light above, on dark below.
        _fill(canvas, w, x, top + band // 2, x + sum(s + PAD for s in small) + PAD, top + band, DARK)
        for size, rgba in images[1:]:
            _blend(canvas, w, x + PAD, top + PAD, rgba, size, 1)
            _blend(canvas, w, x + PAD, top + band // 2 + PAD, rgba, size, 1)
            x += size + PAD
        x += PAD * 2
        for size, rgba in images[1:]:
            if size in ZOOM:
                _blend(canvas, w, x, top + PAD, rgba, size, ZOOM[size])
                x += size * ZOOM[size] + PAD
    rgba = bytearray()
    for i in range(0, len(canvas), 3):
        rgba += canvas[i:i + 3] + b"\xff"
    return w, h, bytes(rgba)
