#!/usr/bin/env python3
"""check_pe.py's refusals: copies of the built executable, each with one mark cleared or one guard
fact broken, must each draw the complaint named in their row.

Usage: test_check_pe.py EXECUTABLE"""

import struct
import sys

from check_pe import Image, missing_marks


def xor(data: bytearray, at: int, bits: int, size: str = "H") -> None:
    struct.pack_into("<" + size, data, at, struct.unpack_from("<" + size, data, at)[0] ^ bits)


def table_without(data: bytearray, image: Image, config: int, rva: int) -> None:
    table, count = struct.unpack_from("<QQ", data, config + 128)
    at = image.offset(table - image.image_base)
    kept = [r for r in struct.unpack_from(f"<{count}I", data, at) if r != rva]
    struct.pack_into(f"<{count}I", data, at, *kept, *[0] * (count - len(kept)))
    struct.pack_into("<Q", data, config + 136, len(kept))


def main(path: str) -> int:
    good = open(path, "rb").read()
    image = Image(good)
    flags, config = image.optional + 70, image.offset(image.directory(10)[0])
    section_flags = image.optional + struct.unpack_from("<H", good, image.optional - 4)[0] + 36
    table, count = struct.unpack_from("<QQ", good, config + 128)
    listed = struct.unpack_from(f"<{count}I", good, image.offset(table - image.image_base))
    tls_callback = image.u64(image.offset(image.u64(image.offset(image.directory(9)[0]) + 24) - image.image_base))
    pointed = next(r for r in listed if struct.pack("<Q", image.image_base + r) in good
                   and r not in (tls_callback - image.image_base, image.entry_point))
    debug = image.offset(image.directory(6)[0])
    cet = next(image.offset(image.u32(e + 20)) for e in range(debug, debug + image.directory(6)[1], 28)
               if image.u32(e + 12) == 20)
    rows = {
        "ASLR: no DYNAMIC_BASE": lambda d: xor(d, flags, 0x40),
        "high-entropy ASLR:": lambda d: xor(d, flags, 0x20),
        "DEP:": lambda d: xor(d, flags, 0x100),
        "CFG: no GUARD_CF": lambda d: xor(d, flags, 0x4000),
        "CET:": lambda d: xor(d, cet, 1, "I"),
        "W^X:": lambda d: xor(d, section_flags, 0x80000000, "I"),
        "stack protection:": lambda d: struct.pack_into("B", d, good.find(b"smashing"), ord("S")),
        "not instrumented": lambda d: xor(d, config + 144, 0x100, "I"),
        "empty guard function table": lambda d: struct.pack_into("<Q", d, config + 136, 0),
        "entry point missing": lambda d: table_without(d, image, config, image.entry_point),
        "TLS callbacks missing": lambda d: table_without(d, image, config, tls_callback - image.image_base),
        "pointers into code missing": lambda d: table_without(d, image, config, pointed),
        "not sorted": lambda d: struct.pack_into("<II", d, image.offset(table - image.image_base), *listed[1::-1]),
        "empty long-jump table": lambda d: xor(d, config + 144, 0x10000, "I"),
        "no call goes through": lambda d: struct.pack_into("<QQ", d, config + 112, table, table),
    }
    failures = [f"the built executable: {m}" for m in missing_marks(image)]
    for complaint, spoil in rows.items():
        copy = bytearray(good)
        spoil(copy)
        marks = missing_marks(Image(bytes(copy)))
        if not any(complaint in mark for mark in marks):
            failures.append(f"{complaint}: not refused ({marks or 'passed'})")
    print("\n".join(failures) or f"check_pe refused all {len(rows)} spoiled copies")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
