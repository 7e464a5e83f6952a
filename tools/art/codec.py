"""PNG and ICO files from 8-bit RGBA pixels, and the readers that check them."""
from __future__ import annotations

import struct
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def _paeth(a: int, b: int, c: int) -> int:
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind: int, row: bytes, prev: bytes) -> bytes:
    if kind == 0:
        return row
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - 4] if i >= 4 else 0
        b = prev[i]
        c = prev[i - 4] if i >= 4 else 0
        if kind == 1:
            pred = a
        elif kind == 2:
            pred = b
        elif kind == 3:
            pred = (a + b) >> 1
        else:
            pred = _paeth(a, b, c)
        out[i] = (x - pred) & 0xFF
    return bytes(out)


def _unfilter_row(kind: int, row: bytes, prev: bytes) -> bytes:
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = out[i - 4] if i >= 4 else 0
        b = prev[i]
        c = prev[i - 4] if i >= 4 else 0
        pred = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[kind]
        out[i] = (x + pred) & 0xFF
    return bytes(out)


def _cost(data: bytes) -> int:
    # The usual heuristic: small signed residues compress best.
    return sum(v if v < 128 else 256 - v for v in data)


def _scanlines(rgba: bytes, width: int, height: int, strategy: str) -> bytes:
    stride = width * 4
    prev = bytes(stride)
    out = bytearray()
    for y in range(height):
        row = rgba[y * stride:(y + 1) * stride]
        if strategy == "adaptive":
            kind, data = min(((k, _filter_row(k, row, prev)) for k in range(5)),
                             key=lambda kd: _cost(kd[1]))
        else:
            kind = int(strategy)
            data = _filter_row(kind, row, prev)
        out.append(kind)
        out += data
        prev = row
    return bytes(out)


def png_bytes(rgba: bytes, width: int, height: int, quick: bool = False) -> bytes:
    """The smallest of a few filter strategies, each compressed at zlib's highest level; `quick`
    tries only one."""
    best = None
    for strategy in ("4",) if quick else ("adaptive", "0", "1", "2", "4"):
        raw = _scanlines(rgba, width, height, strategy)
        for mem in (8, 9):
            packer = zlib.compressobj(9, zlib.DEFLATED, 15, mem, zlib.Z_DEFAULT_STRATEGY)
            data = packer.compress(raw) + packer.flush()
            if best is None or len(data) < len(best):
                best = data
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return PNG_SIGNATURE + _chunk(b"IHDR", header) + _chunk(b"IDAT", best) + _chunk(b"IEND", b"")


def read_png(data: bytes) -> tuple[int, int, bytes]:
    """Width, height and RGBA pixels of an 8-bit RGBA, non-interlaced PNG."""
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG")
    pos, idat, header = 8, bytearray(), None
    while pos < len(data):
        (length,) = struct.unpack_from(">I", data, pos)
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if crc != zlib.crc32(kind + body):
            raise ValueError(f"bad CRC in {kind!r}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if header is None:
        raise ValueError("no IHDR")
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError(f"unsupported PNG: depth {depth}, colour type {colour}")
    raw = zlib.decompress(bytes(idat))
    stride = width * 4
    prev, out = bytes(stride), bytearray()
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        prev = _unfilter_row(line[0], line[1:], prev)
        out += prev
    return width, height, bytes(out)


def ico_bytes(images: list[tuple[int, bytes]]) -> bytes:
    """An icon file of square RGBA images, every one stored as a PNG: a fraction of the size of
    a 32-bit DIB, and read by every icon loader since Vista's (and by Wine's)."""
    blobs = [png_bytes(rgba, size, size) for size, rgba in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def read_ico(data: bytes) -> list[dict]:
    """Every entry of an icon file with its size, its directory's planes and bit count, and its
    RGBA pixels; raises on anything but square 8-bit RGBA PNG entries that fit the file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    entries = []
    for i in range(count):
        w, h, _, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        size = w or 256
        if (h or 256) != size:
            raise ValueError(f"entry {i} is not square")
        blob = data[offset:offset + length]
        if len(blob) != length:
            raise ValueError(f"entry {i} runs past the end of the file")
        if blob[:8] != PNG_SIGNATURE:
            raise ValueError(f"entry {i} is not a PNG")
        pw, ph, rgba = read_png(blob)
        if (pw, ph) != (size, size):
            raise ValueError(f"entry {i}: PNG is {pw}x{ph}, directory says {size}")
        entries.append({"size": size, "planes": planes, "bits": bits, "rgba": rgba})
    return entries
