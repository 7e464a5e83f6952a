#!/usr/bin/env python3
"""check_pe.py's refusals: copies of the built executable (the argument), each with one mark cleared
or one guard fact broken, must each draw the complaint that names their row."""

import re
import struct
import sys

from check_pe import Image, missing_marks


def xor(data: bytearray, at: int, bits: int) -> None:
    struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] ^ bits)


def main(path: str) -> int:
    good = open(path, "rb").read()
    image = Image(good)
    base, flags, config = image.image_base, image.optional + 70, image.offset(image.directory(10)[0])
    section_flags = image.optional + struct.unpack_from("<H", good, image.optional - 4)[0] + 36
    table, count = struct.unpack_from("<QQ", good, config + 128)
    listed = struct.unpack_from(f"<{count}I", good, image.offset(table - base))
    tls_callback = image.u64(image.offset(image.u64(image.offset(image.directory(9)[0]) + 24) - base)) - base
    pointed = next(r for r in listed if struct.pack("<Q", base + r) in good)
    code, (functions, functions_size) = next(s for s in image.sections if s[5] & 0x20000000), image.directory(3)
    leas = {code[1] + m.end() + 4 + struct.unpack_from("<i", good, code[3] + m.end())[0]
            for m in re.finditer(rb"[\x48\x4c]\x8d[\x05\x0d\x15\x1d\x25\x2d\x35\x3d]", good[code[3]:code[3] + code[4] - 4])}
    taken = next(f for f in struct.unpack_from(f"<{functions_size // 4}I", good, image.offset(functions))[::3] if f in leas)
    debug, debug_size = image.directory(6)
    cet = next(image.offset(image.u32(e + 20)) for e in range(image.offset(debug), image.offset(debug) + debug_size, 28)
               if image.u32(e + 12) == 20)

    def without(rva: int):
        def spoil(d: bytearray) -> None:
            struct.pack_into(f"<{count}I", d, image.offset(table - base), *[r for r in listed if r != rva], 0)
            struct.pack_into("<Q", d, config + 136, count - 1)
        return spoil

    rows = {
        "ASLR: no DYNAMIC_BASE": lambda d: xor(d, flags, 0x40),
        "high-entropy ASLR:": lambda d: xor(d, flags, 0x20),
        "DEP:": lambda d: xor(d, flags, 0x100),
        "CFG: no GUARD_CF": lambda d: xor(d, flags, 0x4000),
        "CET:": lambda d: xor(d, cet, 1),
        "W^X:": lambda d: xor(d, section_flags, 0x80000000),
        "stack protection:": lambda d: struct.pack_into("B", d, good.find(b"smashing"), ord("S")),
        "not instrumented": lambda d: xor(d, config + 144, 0x100),
        "empty guard function table": lambda d: struct.pack_into("<Q", d, config + 136, 0),
        "entry point missing": without(image.entry_point),
        "TLS callbacks missing": without(tls_callback),
        "pointers into code missing": without(pointed),
        "address is taken missing": without(taken),
        "not sorted": lambda d: struct.pack_into("<II", d, image.offset(table - base), *listed[1::-1]),
        "empty long-jump table": lambda d: xor(d, config + 144, 0x10000),
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
    sys.exit(main(sys.argv[1]))
