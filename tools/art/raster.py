"""A small anti-aliased vector rasteriser: paths of lines and cubic curves, filled with the
non-zero rule into a premultiplied RGBA canvas.

Coverage is exact across each pixel horizontally and sampled on several sub-scanlines
vertically, which keeps pure Python fast enough for a 512-pixel image.
"""
from __future__ import annotations

import math
from itertools import accumulate

KAPPA = 0.5522847498307936  # control-point distance of a quarter circle drawn as one cubic


class Path:
    """Closed subpaths of straight and cubic segments in design units."""

    def __init__(self) -> None:
        self.subpaths: list[list[tuple]] = []

    def move(self, x: float, y: float) -> "Path":
        self.subpaths.append([("M", (x, y))])
        return self

    def line(self, x: float, y: float) -> "Path":
        self.subpaths[-1].append(("L", (x, y)))
        return self

    def cubic(self, c1: tuple, c2: tuple, p: tuple) -> "Path":
        self.subpaths[-1].append(("C", c1, c2, p))
        return self

    def add(self, other: "Path") -> "Path":
        self.subpaths.extend(other.subpaths)
        return self

    def transformed(self, m: "Affine") -> "Path":
        out = Path()
        for sub in self.subpaths:
            out.subpaths.append([(seg[0], *(m.apply(p) for p in seg[1:])) for seg in sub])
        return out

    def flatten(self, tolerance: float) -> list[list[tuple[float, float]]]:
        polys = []
        for sub in self.subpaths:
            pts = [sub[0][1]]
            for seg in sub[1:]:
                if seg[0] == "L":
                    pts.append(seg[1])
                else:
                    pts.extend(_flatten_cubic(pts[-1], seg[1], seg[2], seg[3], tolerance))
            if len(pts) >= 3:
                polys.append(pts)
        return polys


def _flatten_cubic(p0, p1, p2, p3, tolerance):
    # The control polygon's deviation bounds the curve's; split evenly by its square root.
    dd = max(
        math.hypot(p0[0] - 2 * p1[0] + p2[0], p0[1] - 2 * p1[1] + p2[1]),
        math.hypot(p1[0] - 2 * p2[0] + p3[0], p1[1] - 2 * p2[1] + p3[1]),
    )
    return _cubic_samples(p0, p1, p2, p3, max(1, min(200, math.ceil(math.sqrt(0.75 * dd / tolerance)))))


def _cubic_samples(p0, p1, p2, p3, n):
    """n points evenly spaced in t along the curve, p0 excluded."""
    out = []
    for i in range(1, n + 1):
        t = i / n
        u = 1 - t
        a, b, c, d = u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t
        out.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return out


class Affine:
    """x' = a*x + c*y + e, y' = b*x + d*y + f."""

    def __init__(self, a=1.0, b=0.0, c=0.0, d=1.0, e=0.0, f=0.0) -> None:
        self.m = (a, b, c, d, e, f)

    @staticmethod
    def translate(x: float, y: float) -> "Affine":
        return Affine(e=x, f=y)

    @staticmethod
    def scale(k: float) -> "Affine":
        return Affine(a=k, d=k)

    def then(self, other: "Affine") -> "Affine":
        """This transform followed by `other`."""
        a, b, c, d, e, f = self.m
        A, B, C, D, E, F = other.m
        return Affine(A * a + C * b, B * a + D * b, A * c + C * d, B * c + D * d,
                      A * e + C * f + E, B * e + D * f + F)

    def apply(self, p):
        a, b, c, d, e, f = self.m
        return (a * p[0] + c * p[1] + e, b * p[0] + d * p[1] + f)


def mirror_x(cx: float) -> Affine:
    return Affine(a=-1, e=2 * cx)


# Shapes ---------------------------------------------------------------------------------

def polygon(points) -> Path:
    p = Path().move(*points[0])
    for pt in points[1:]:
        p.line(*pt)
    return p


def rect(x0, y0, x1, y1) -> Path:
    return polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def ellipse(cx, cy, rx, ry) -> Path:
    kx, ky = rx * KAPPA, ry * KAPPA
    return (Path().move(cx + rx, cy)
            .cubic((cx + rx, cy + ky), (cx + kx, cy + ry), (cx, cy + ry))
            .cubic((cx - kx, cy + ry), (cx - rx, cy + ky), (cx - rx, cy))
            .cubic((cx - rx, cy - ky), (cx - kx, cy - ry), (cx, cy - ry))
            .cubic((cx + kx, cy - ry), (cx + rx, cy - ky), (cx + rx, cy)))


def circle(cx, cy, r) -> Path:
    return ellipse(cx, cy, r, r)


def rounded_rect(x0, y0, x1, y1, r) -> Path:
    k = r * (1 - KAPPA)
    return (Path().move(x0 + r, y0).line(x1 - r, y0)
            .cubic((x1 - k, y0), (x1, y0 + k), (x1, y0 + r)).line(x1, y1 - r)
            .cubic((x1, y1 - k), (x1 - k, y1), (x1 - r, y1)).line(x0 + r, y1)
            .cubic((x0 + k, y1), (x0, y1 - k), (x0, y1 - r)).line(x0, y0 + r)
            .cubic((x0, y0 + k), (x0 + k, y0), (x0 + r, y0)))


def cubic_points(p0, p1, p2, p3, n=48):
    """A cubic curve as n + 1 points, for stroking."""
    return [p0] + _cubic_samples(p0, p1, p2, p3, n)


def stroke(points, width, caps=True) -> Path:
    """The outline of a polyline drawn with a pen whose width is `width(t)` at the fraction t
    of its length (or a constant), with round caps. Good for gentle curves whose radius stays
    above half the width."""
    width_at = width if callable(width) else (lambda _t, w=width: w)
    n = len(points)
    lengths = [0.0]
    for i in range(1, n):
        lengths.append(lengths[-1] + math.dist(points[i - 1], points[i]))
    total = lengths[-1] or 1.0
    left, right = [], []
    for i, (x, y) in enumerate(points):
        ax, ay = points[max(i - 1, 0)]
        bx, by = points[min(i + 1, n - 1)]
        dx, dy = bx - ax, by - ay
        d = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / d, dx / d
        h = width_at(lengths[i] / total) / 2
        left.append((x + nx * h, y + ny * h))
        right.append((x - nx * h, y - ny * h))
    p = polygon(_oriented(left + right[::-1]))
    if caps:
        p.add(circle(*points[0], width_at(0.0) / 2)).add(circle(*points[-1], width_at(1.0) / 2))
    return p


def _oriented(points):
    area = 0.0
    for i in range(len(points)):
        x0, y0 = points[i]
        x1, y1 = points[(i + 1) % len(points)]
        area += x0 * y1 - x1 * y0
    # Positive area in y-down coordinates matches the winding of ellipse().
    return points if area > 0 else points[::-1]


# Painting -------------------------------------------------------------------------------

def hex_colour(text: str) -> tuple[float, float, float, float]:
    """An opaque colour from "rrggbb"."""
    return (int(text[0:2], 16) / 255, int(text[2:4], 16) / 255, int(text[4:6], 16) / 255, 1.0)


class LinearGradient:
    """Colours between two points in design units, clamped beyond them."""

    def __init__(self, p0, p1, stops) -> None:
        self.p0, self.p1 = p0, p1
        self.stops = stops  # [(offset, (r, g, b, a)), ...] in rising offsets

    def transformed(self, m: Affine) -> "LinearGradient":
        return LinearGradient(m.apply(self.p0), m.apply(self.p1), self.stops)

    def at(self, x: float, y: float):
        dx, dy = self.p1[0] - self.p0[0], self.p1[1] - self.p0[1]
        t = ((x - self.p0[0]) * dx + (y - self.p0[1]) * dy) / (dx * dx + dy * dy)
        stops = self.stops
        if t <= stops[0][0]:
            return stops[0][1]
        for (o0, c0), (o1, c1) in zip(stops, stops[1:]):
            if t <= o1:
                k = (t - o0) / (o1 - o0)
                return tuple(a + (b - a) * k for a, b in zip(c0, c1))
        return stops[-1][1]


class Canvas:
    """Premultiplied RGBA in floats, row-major."""

    def __init__(self, width: int, height: int) -> None:
        self.width, self.height = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, path: Path, paint, transform: Affine, samples: int = 16, clip_below=None) -> None:
        """Paints the path; `clip_below`, a y in design units, hides everything under it."""
        polys = path.transformed(transform).flatten(0.05)
        if isinstance(paint, LinearGradient):
            paint = paint.transformed(transform)
        limit = math.inf if clip_below is None else transform.apply((0, clip_below))[1]
        for row, x0, cov in _coverage(polys, self.width, self.height, samples):
            visible = min(1.0, limit - row)
            if visible <= 0.0:
                break
            base = row * self.width
            y = row + 0.5
            for i, c in enumerate(cov):
                if c <= 0.0:
                    continue
                c = min(c, 1.0) * visible
                x = x0 + i
                r, g, b, a = paint.at(x + 0.5, y) if isinstance(paint, LinearGradient) else paint
                sa = a * c
                dst = self.px[base + x]
                k = 1.0 - sa
                dst[0] = r * sa + dst[0] * k
                dst[1] = g * sa + dst[1] * k
                dst[2] = b * sa + dst[2] * k
                dst[3] = sa + dst[3] * k

    def rgba_bytes(self) -> bytes:
        out = bytearray()
        for r, g, b, a in self.px:
            a8 = round(min(a, 1.0) * 255)
            if a8 == 0:
                out += b"\0\0\0\0"
                continue
            out += bytes((_channel(r / a), _channel(g / a), _channel(b / a), a8))
        return bytes(out)


def _channel(v: float) -> int:
    return max(0, min(255, round(v * 255)))


def _coverage(polys, width, height, samples):
    """Yield (row, first column, coverage list) for every row the polygons touch."""
    edges = []
    xmin, xmax = math.inf, -math.inf
    for poly in polys:
        for i in range(len(poly)):
            (xa, ya), (xb, yb) = poly[i], poly[(i + 1) % len(poly)]
            xmin, xmax = min(xmin, xa), max(xmax, xa)
            if ya == yb:
                continue
            direction = 1 if yb > ya else -1
            if ya > yb:
                xa, ya, xb, yb = xb, yb, xa, ya
            edges.append((ya, yb, xa, (xb - xa) / (yb - ya), direction))
    if not edges:
        return
    col0 = max(0, math.floor(xmin))
    col1 = min(width, math.ceil(xmax))
    if col1 <= col0:
        return
    span_w = col1 - col0
    row0 = max(0, math.floor(min(e[0] for e in edges)))
    row1 = min(height, math.ceil(max(e[1] for e in edges)))
    edges.sort()
    start = 0
    active = []
    weight = 1.0 / samples
    for row in range(row0, row1):
        while start < len(edges) and edges[start][0] < row + 1:
            active.append(edges[start])
            start += 1
        active = [e for e in active if e[1] > row]
        if not active:
            continue
        diff = [0.0] * (span_w + 2)
        touched = False
        for j in range(samples):
            sy = row + (j + 0.5) / samples
            xs = sorted((e[2] + (sy - e[0]) * e[3], e[4]) for e in active if e[0] <= sy < e[1])
            wind = 0
            left = 0.0
            for x, d in xs:
                if wind == 0:
                    left = x
                wind += d
                if wind == 0:
                    _deposit(diff, left - col0, x - col0, span_w, weight)
                    touched = True
        if touched:
            yield row, col0, list(accumulate(diff[:span_w]))


def _deposit(diff, a, b, span_w, w):
    a = min(max(a, 0.0), float(span_w))
    b = min(max(b, 0.0), float(span_w))
    if b <= a:
        return
    for x, sign in ((a, w), (b, -w)):
        k = int(x)
        f = x - k
        diff[k] += sign * (1.0 - f)
        diff[k + 1] += sign * f
