#!/usr/bin/env python3
"""Regenerates the icon artwork: resources/icons/{moth,bubble,wordmark,peek,says}.ico and
resources/moth.png, from the shapes in motif.py. Deterministic: the same bytes on every run.

    python3 tools/art/draw_icons.py                 # write the files
    python3 tools/art/draw_icons.py --check         # list every icon entry, fail on a bad file
    python3 tools/art/draw_icons.py --preview /tmp/sheet.png [--variant peek]
"""
from __future__ import annotations

import argparse
import sys
from pathlib import Path

import codec
import motif
import small
from raster import Affine, Canvas

ROOT = Path(__file__).resolve().parents[2]
ICON_DIR = ROOT / "resources" / "icons"
APP_IMAGE = ROOT / "resources" / "moth.png"
ICON_SIZES = (256, 64, 48, 32, 16)
APP_IMAGE_SIZE = 512


def render(variant: str, size: int) -> bytes:
    if size == 16:
        return small.render(variant)
    canvas = Canvas(size, size)
    to_pixels = Affine.scale(size / motif.UNITS)
    samples = 16 if size <= 64 else 8
    for path, paint, *clip in motif.scene(variant, size):
        canvas.fill(path, paint, to_pixels, samples, *clip)
    return canvas.rgba_bytes()


def write_all() -> None:
    ICON_DIR.mkdir(parents=True, exist_ok=True)
    for variant in motif.VARIANTS:
        images = [(size, render(variant, size)) for size in ICON_SIZES]
        (ICON_DIR / f"{variant}.ico").write_bytes(codec.ico_bytes(images))
    APP_IMAGE.write_bytes(codec.png_bytes(render("moth", APP_IMAGE_SIZE), APP_IMAGE_SIZE, APP_IMAGE_SIZE))


def check() -> bool:
    """Lists every entry; false when a file is missing, unreadable, not what the shell needs,
    or no longer what the sources draw (pixels are compared, so another zlib is no matter)."""
    ok = True
    for variant in motif.VARIANTS:
        path = ICON_DIR / f"{variant}.ico"
        try:
            entries = codec.read_ico(path.read_bytes())
        except (OSError, ValueError) as error:
            print(f"{path.name}: {error}")
            ok = False
            continue
        listing = ", ".join(f"{e['size']}px {e['bits']}bpp png" for e in entries)
        print(f"{path.name}: {listing} ({path.stat().st_size} bytes)")
        if [e["size"] for e in entries] != list(ICON_SIZES) or any((e["planes"], e["bits"]) != (1, 32) for e in entries):
            print(f"{path.name}: expected {ICON_SIZES} at 32 bits per pixel")
            ok = False
            continue
        for e in entries:
            if e["rgba"] != render(variant, e["size"]):
                print(f"{path.name}: the {e['size']} pixel image is stale; run {Path(__file__).name}")
                ok = False
    try:
        width, height, rgba = codec.read_png(APP_IMAGE.read_bytes())
        print(f"{APP_IMAGE.name}: {width}x{height} RGBA, {APP_IMAGE.stat().st_size} bytes")
        if (width, height) != (APP_IMAGE_SIZE, APP_IMAGE_SIZE):
            print(f"{APP_IMAGE.name}: expected {APP_IMAGE_SIZE} pixels square")
            ok = False
        elif rgba != render("moth", APP_IMAGE_SIZE):
            print(f"{APP_IMAGE.name}: stale; run {Path(__file__).name}")
            ok = False
    except (OSError, ValueError) as error:
        print(f"{APP_IMAGE.name}: {error}")
        ok = False
    return ok


def preview(target: Path, variants) -> None:
    import preview as sheet
    rows = [[(size, render(v, size)) for size in ICON_SIZES] for v in variants]
    w, h, rgba = sheet.contact_sheet(rows)
    target.write_bytes(codec.png_bytes(rgba, w, h, quick=True))


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--preview", type=Path)
    parser.add_argument("--variant", action="append", choices=motif.VARIANTS)
    args = parser.parse_args()
    if args.check:
        return 0 if check() else 1
    if args.preview:
        preview(args.preview, args.variant or motif.VARIANTS)
        return 0
    write_all()
    return 0 if check() else 1


if __name__ == "__main__":
    sys.exit(main())
