"""The 16-pixel icons, drawn by hand: at that size the vector shapes blur, so every pixel is
placed here. A letter is a colour of the motif; lower case is that colour half mixed into the
tile (half transparent for the tile itself); '.' is transparent."""
from __future__ import annotations

import motif

PALETTE = {
    "W": motif.WING,
    "H": motif.HINDWING,
    "B": motif.BODY,
    "S": motif.SPOT,
    "E": motif.EYE_WHITE,
    "L": motif.LEDGE,
    "P": motif.LEDGE_LIP,
}

DRAWINGS = {
    "moth": [
        ".tTTTTTTTTTTTTt.",
        "tTTTTTTTTTTTTTTt",
        "TTTTWTTTTTTWTTTT",
        "TTTTWWTTTTWWTTTT",
        "TTTTTWWTTWWTTTTT",
        "TwTTTTTBBTTTTTwT",
        "TWWWWWWBBWWWWWWT",
        "TWWSSWWBBWWSSWWT",
        "TWWSSWWBBWWSSWWT",
        "TTWWWWWBBWWWWWTT",
        "TTTWWWHBBHWWWTTT",
        "TTTHHHHBBHHHHTTT",
        "TTTTHHHBBHHHTTTT",
        "TTTTTHHbbHHTTTTT",
        "tTTTTTTTTTTTTTTt",
        ".tTTTTTTTTTTTTt.",
    ],
    "bubble": [
        ".tTTTTTTTTTTTTt.",
        "tTTTWTTTTTTWTTTt",
        "TTTTWWTTTTWWTTTT",
        "TTTTTWWTTWWTTTTT",
        "TwTTTTTBBTTTTTwT",
        "TWWWWWWBBWWWWWWT",
        "TWWSSWWBBWWSSWWT",
        "TWWSSWWBBWWSSWWT",
        "TTWWWWWBBWWWWWTT",
        "TTTWWWHBBHWWWTTT",
        "TTTHHHHBBHHHHTTT",
        "TTTTHHHbbHHHTTTT",
        "tTTTTTTTTTTTTTTt",
        ".tTTTTTTTTTTTTt.",
        "..TTT...........",
        ".Tt.............",
    ],
    "wordmark": [
        ".tTTTTTTTTTTTTt.",
        "tTTTTWTTTTWTTTTt",
        "TTTTTTWTTWTTTTTT",
        "TTTwTTTBBTTTwTTT",
        "TTTWWWWBBWWWWTTT",
        "TTTWWSWBBWSWWTTT",
        "TTTTWWWBBWWWTTTT",
        "TTTTHHHBBHHHTTTT",
        "TTTTTHHbbHHTTTTT",
        "TTTTTTTTTTTTTTTT",
        "TTWTTTWTTWWWWTTT",
        "TTWTWTWTTWTWTWTT",
        "TTWTWTWTTWTWTWTT",
        "TTTWTWTTTWTWTWTT",
        "tTTTTTTTTTTTTTTt",
        ".tTTTTTTTTTTTTt.",
    ],
    "peek": [
        ".tTTTTTTTTTTTTt.",
        "tTTTTTTTTTTTTTTt",
        "TTTTTTTTTTTTTTTT",
        "TTTWTTTTTTTTWTTT",
        "TTTWWTTTTTTWWTTT",
        "TTTTWWTTTTWWTTTT",
        "TwTTTWBBBBWTTTwT",
        "TWWWWBBBBBBWWWWT",
        "TWWWWBEBBEBWWWWT",
        "TWWSWBEBBEBWSWWT",
        "TWSSSBBBBBBSSSWT",
        "PPPPPWWPPWWPPPPP",
        "LLLLLLLLLLLLLLLL",
        "LLLLLLLLLLLLLLLL",
        "lLLLLLLLLLLLLLLl",
        ".lLLLLLLLLLLLLl.",
    ],
    "says": [
        ".tTTTTTTTTTTTTt.",
        "tTTTTTTTTTTTTTTt",
        "TTTTTTTTTTWTTTTT",
        "TTTTTTTTTTWTTWTT",
        "TTTTTTTTTTTTWTTT",
        "TTTWTTTTWTTTTTTT",
        "TTTTWTTWTTTTWWWT",
        "TwTTTBBTTTwTTTTT",
        "TWWWWBBWWWWTTTTT",
        "TWWSWBBWSWWTTTTT",
        "TTWWWBBWWWTTTTTT",
        "TTHHHBBHHHTTTTTT",
        "TTTHHbbHHTTTTTTT",
        "TTTTTTTTTTTTTTTT",
        "tTTTTTTTTTTTTTTt",
        ".tTTTTTTTTTTTTt.",
    ],
}


def render(variant: str) -> bytes:
    rows = DRAWINGS[variant]
    size = len(rows)
    tile = motif.tile_paint()
    out = bytearray()
    for y, row in enumerate(rows):
        if len(row) != size:
            raise ValueError(f"{variant}: row {y} is {len(row)} pixels wide")
        under = tile.at(motif.UNITS / 2, (y + 0.5) * motif.UNITS / size)
        for ch in row:
            if ch == ".":
                rgba = (0.0, 0.0, 0.0, 0.0)
            elif ch in "Tt":
                rgba = under[:3] + (1.0 if ch == "T" else 0.5,)
            elif ch.isupper():
                rgba = PALETTE[ch]
            else:
                colour = PALETTE[ch.upper()]
                rgba = tuple((a + b) / 2 for a, b in zip(colour[:3], under[:3])) + (1.0,)
            out += bytes(round(v * 255) for v in rgba)
    return bytes(out)
