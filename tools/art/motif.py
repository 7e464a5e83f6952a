"""The moth and its five variants, drawn in a 256-unit square whatever the output size."""
from __future__ import annotations

import math

from raster import (KAPPA, Affine, LinearGradient, Path, circle, cubic_points, ellipse,
                    hex_colour, mirror_x, rounded_rect, stroke)

UNITS = 256
CX = 128

TILE_TOP = hex_colour("9b5cff")
TILE_BOTTOM = hex_colour("5a1fc4")
WING = hex_colour("fff4e0")
HINDWING = hex_colour("f7cf8f")
BODY = hex_colour("2e1065")
SPOT = hex_colour("5a1fc4")
SPOT_EYE = hex_colour("ffb547")
BAND = hex_colour("4a2391")
LEDGE = hex_colour("3a1290")
LEDGE_LIP = hex_colour("7c4ae8")
EYE_WHITE = hex_colour("ffffff")

# In icon-group order: the default first, then the words the page may choose.
VARIANTS = ("moth", "bubble", "wordmark", "peek", "says")
TILE_RADIUS = 56


def tile_paint():
    return LinearGradient((0, 0), (0, UNITS), [(0.0, TILE_TOP), (1.0, TILE_BOTTOM)])


def mirrored(path: Path) -> Path:
    return Path().add(path).add(path.transformed(mirror_x(CX)))


def moth(px: float) -> list[tuple[Path, object]]:
    """The moth seen from above, wings spread, centred on x = 128. `px` is the size of one
    output pixel in design units, so thin parts never fall below one pixel."""
    fore = (Path().move(132, 98)
            .cubic((166, 80), (204, 74), (234, 80))
            .cubic((236, 110), (220, 140), (200, 152))
            .cubic((176, 150), (150, 146), (132, 140)))
    hind = (Path().move(132, 128)
            .cubic((160, 130), (196, 140), (198, 166))
            .cubic((200, 190), (170, 206), (150, 200))
            .cubic((138, 196), (132, 180), (130, 164)))
    # Around 32 pixels the spots' eyes turn to mud and the feathered feelers to blots: the
    # spots go solid, the feelers thin, and the body narrows onto whole pixels.
    coarse = px >= 6
    items = [(mirrored(hind), HINDWING), (mirrored(fore), WING)]
    items.append((circle(190, 112, 16).add(circle(66, 112, 16)), SPOT))
    if not coarse:
        items.append((circle(190, 112, 6.5).add(circle(66, 112, 6.5)), SPOT_EYE))
    half = 8 if coarse else 10
    abdomen = (Path().move(CX, 118)
               .cubic((CX + half + 4, 118), (CX + half + 4, 150), (CX + half, 178))
               .cubic((CX + half - 2, 192), (131, 200), (CX, 200))
               .cubic((125, 200), (CX - half + 2, 192), (CX - half, 178))
               .cubic((CX - half - 4, 150), (CX - half - 4, 118), (CX, 118)))
    thorax = ellipse(CX, 112, 16 if coarse else 17, 22)
    items.append((Path().add(abdomen).add(thorax).add(circle(CX, 84, 13)), BODY))
    feeler = cubic_points((122, 76), (112, 56), (100, 38), (80, 28))
    if coarse:
        leaf = lambda t: px * (1.0 + 0.7 * math.sin(math.pi * t))
    else:
        leaf = lambda t: 4 + 16 * math.sin(math.pi * t ** 0.8) ** 1.5
    items.append((mirrored(stroke(feeler, leaf)), WING))
    if px <= 2:
        # Details that only blur below 128 pixels: the feelers' comb, the wings' outer line
        # and the banded abdomen. The comb's barbs slant towards the tip and stay inside the leaf.
        comb = Path().add(stroke(feeler[6:44], 2.5))
        for i in range(10, 42, 6):
            (x, y), (nx, ny) = feeler[i], feeler[i + 1]
            dx, dy = nx - x, ny - y
            d = math.hypot(dx, dy)
            dx, dy = dx / d, dy / d
            reach = 0.4 * leaf(i / (len(feeler) - 1))
            for side in (1, -1):
                end = (x + (dx - side * dy) * reach * 0.7, y + (dy + side * dx) * reach * 0.7)
                comb.add(stroke([(x, y), end], 2.5))
        items.append((mirrored(comb), HINDWING))
        margin = cubic_points((206, 84), (222, 100), (214, 130), (194, 146), 32)
        items.append((mirrored(stroke(margin, 4)), HINDWING))
        bands = Path()
        for y, reach in ((140, 11), (156, 10.5), (172, 9)):
            arc = cubic_points((CX - reach, y), (CX - reach / 2, y + 4), (CX + reach / 2, y + 4),
                               (CX + reach, y), 8)
            bands.add(stroke(arc, 3, caps=False))
        items.append((bands, BAND))
    return items


def tile() -> list[tuple[Path, object]]:
    return [(rounded_rect(8, 8, 248, 248, TILE_RADIUS), tile_paint())]


def placed(items, m: Affine):
    """The items moved by `m`, gradients with them."""
    return [(path.transformed(m), paint.transformed(m) if isinstance(paint, LinearGradient) else paint)
            for path, paint in items]


def around(cx: float, cy: float, scale: float) -> Affine:
    """Puts the moth's centre (128, 118) at (cx, cy), scaled."""
    return Affine.translate(-CX, -118).then(Affine.scale(scale)).then(Affine.translate(cx, cy))


def polyline(points, width) -> Path:
    """Straight segments with round joins and caps: every segment is its own capped stroke."""
    p = Path()
    for a, b in zip(points, points[1:]):
        p.add(stroke([a, b], width))
    return p


def bubble_tile() -> list[tuple[Path, object]]:
    tail = (Path().move(52, 200).line(96, 200)
            .cubic((86, 222), (62, 240), (36, 246))
            .cubic((46, 232), (50, 216), (52, 200)))
    return [(rounded_rect(8, 8, 248, 216, TILE_RADIUS).add(tail), tile_paint())]


def wordmark(px: float) -> Path:
    w = max(18.0, 1.5 * px)
    top, base = 178, 222
    letters = polyline([(62, top), (76, base), (92, top + 12), (108, base), (122, top)], w)
    arch = lambda x0, x1: cubic_points((x0, base), (x0, top - 6), (x1, top - 6), (x1, base), 24)
    letters.add(stroke([(140, top), (140, base)], w))
    letters.add(stroke(arch(140, 167), w, caps=False)).add(stroke(arch(167, 194), w, caps=False))
    letters.add(stroke([(194, base - 2), (194, base)], w))
    return letters


def speech_lines(px: float) -> Path:
    w = max(14.0, 1.5 * px)
    return (Path().add(stroke([(178, 70), (204, 44)], w))
            .add(stroke([(190, 94), (226, 86)], w))
            .add(stroke([(156, 56), (164, 24)], w)))


def ledge(top: float, lip: float) -> list[tuple[Path, object]]:
    """The lower part of the tile as an edge for the moth to peek over."""
    r = TILE_RADIUS
    k = r * (1 - KAPPA)

    def band(y):
        return (Path().move(8, y).line(248, y).line(248, 248 - r)
                .cubic((248, 248 - k), (248 - k, 248), (248 - r, 248)).line(8 + r, 248)
                .cubic((8 + k, 248), (8, 248 - k), (8, 248 - r)))
    return [(band(top), LEDGE_LIP), (band(top + lip), LEDGE)]


def peeking_face(cx: float, cy: float, px: float) -> list[tuple[Path, object]]:
    """A round head with two eyes looking up; at small sizes the eyes grow so they stay
    visible, and lose their pupils."""
    if px >= 5:
        r = 0.9 * px
        head = circle(cx, cy, 26)
        whites = circle(cx - 12, cy, r).add(circle(cx + 12, cy, r))
        return [(head, BODY), (whites, EYE_WHITE)]
    whites = circle(cx - 9, cy, 7).add(circle(cx + 9, cy, 7))
    pupils = circle(cx - 8, cy - 2.5, 3.5).add(circle(cx + 10, cy - 2.5, 3.5))
    return [(circle(cx, cy, 21), BODY), (whites, EYE_WHITE), (pupils, BODY)]


def scene(variant: str, size: int) -> list[tuple]:
    """What to paint, back to front, for one variant at one output size: (path, paint) pairs,
    or (path, paint, y below which nothing shows)."""
    px = UNITS / size
    if variant == "moth":
        return tile() + placed(moth(px), around(128, 132, 1.0))
    if variant == "bubble":
        return bubble_tile() + placed(moth(px / 0.86), around(128, 116, 0.86))
    if variant == "wordmark":
        return tile() + placed(moth(px / 0.72), around(128, 92, 0.72)) + [(wordmark(px), WING)]
    if variant == "peek":
        # Only the top half shows over the ledge: the face turns to the viewer, two front
        # feet grip the edge.
        m = around(128, 170, 1.05)
        cx, cy = m.apply((CX, 90))
        hands = circle(104, 182, 11).add(circle(152, 182, 11))
        hidden = [(path, paint, 200) for path, paint in placed(moth(px / 1.05), m)]
        return tile() + hidden + peeking_face(cx, cy, px) + ledge(176, 8) + [(hands, WING)]
    if variant == "says":
        return tile() + placed(moth(px / 0.8), around(108, 146, 0.8)) + [(speech_lines(px), WING)]
    raise ValueError(variant)
