#!/usr/bin/env python3
"""Reads a 64-bit Windows executable and fails, naming each one, when a hardening mark is missing:
ASLR (a relocatable image with its relocations), high-entropy ASLR, DEP, Control Flow Guard with an
instrumented load configuration and its function table, CET shadow-stack compatibility, no section
both writable and executable, and the stack protector's failure routine linked in (present only
when some function carries a canary; the stripped image keeps no symbol to say more).

Usage: check_pe.py EXECUTABLE"""

import struct
import sys

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT, GUARD_CF = 0x0040, 0x0020, 0x0100, 0x4000
MEM_EXECUTE, MEM_WRITE = 0x20000000, 0x80000000
GUARD_CF_INSTRUMENTED, GUARD_CF_FUNCTION_TABLE_PRESENT = 0x100, 0x400
DEBUG_TYPE_EX_DLLCHARACTERISTICS, EX_CET_COMPAT = 20, 0x01
DIRECTORY_DEBUG, DIRECTORY_RELOCATIONS, DIRECTORY_LOAD_CONFIG = 6, 5, 10
# Offsets in IMAGE_LOAD_CONFIG_DIRECTORY64.
LC_CHECK_POINTER, LC_DISPATCH_POINTER, LC_FUNCTION_COUNT, LC_GUARD_FLAGS = 112, 120, 136, 144
STACK_PROTECTOR_MESSAGE = b"*** stack smashing detected ***"


class Image:
    def __init__(self, data: bytes):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x20B:
            raise ValueError("not a 64-bit image")
        self.image_base = struct.unpack_from("<Q", data, optional + 24)[0]
        self.dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
        count = struct.unpack_from("<I", data, optional + 108)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(count)]
        self.sections = []
        for i in range(sections):
            entry = optional + optional_size + 40 * i
            name = data[entry:entry + 8].rstrip(b"\0").decode(errors="replace")
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, entry + 8)
            flags = struct.unpack_from("<I", data, entry + 36)[0]
            self.sections.append((name, rva, max(size, raw_size), raw, raw_size, flags))

    def directory(self, index: int) -> tuple[int, int]:
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva: int) -> int:
        for _, start, size, raw, raw_size, _ in self.sections:
            if start <= rva < start + size and rva - start < raw_size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} is in no section's file data")

    def in_image(self, va: int) -> bool:
        return any(s[1] <= va - self.image_base < s[1] + s[2] for s in self.sections)


def missing_marks(image: Image) -> list[str]:
    missing = []
    flags = image.dll_characteristics
    if not flags & DYNAMIC_BASE or image.directory(DIRECTORY_RELOCATIONS)[1] == 0:
        missing.append("ASLR: no DYNAMIC_BASE or no relocations")
    if not flags & HIGH_ENTROPY_VA:
        missing.append("high-entropy ASLR: no HIGH_ENTROPY_VA")
    if not flags & NX_COMPAT:
        missing.append("DEP: no NX_COMPAT")
    missing += guard_problems(image)
    if not cet_compatible(image):
        missing.append("CET: no extended DLL characteristics debug entry with CET_COMPAT")
    for name, _, _, _, _, section_flags in image.sections:
        if section_flags & MEM_WRITE and section_flags & MEM_EXECUTE:
            missing.append(f"W^X: section {name} is writable and executable")
    if STACK_PROTECTOR_MESSAGE not in image.data:
        missing.append("stack protection: the stack protector's failure routine is not linked in")
    return missing


def guard_problems(image: Image) -> list[str]:
    problems = []
    if not image.dll_characteristics & GUARD_CF:
        problems.append("CFG: no GUARD_CF")
    rva, size = image.directory(DIRECTORY_LOAD_CONFIG)
    if size == 0:
        return problems + ["CFG: no load-configuration directory"]
    at = image.offset(rva)
    declared = struct.unpack_from("<I", image.data, at)[0]
    if min(size, declared) < LC_GUARD_FLAGS + 4:
        return problems + ["CFG: the load configuration stops before the guard's fields"]
    check, dispatch, _, count = struct.unpack_from("<QQQQ", image.data, at + LC_CHECK_POINTER)
    guard_flags = struct.unpack_from("<I", image.data, at + LC_GUARD_FLAGS)[0]
    if not (image.in_image(check) and image.in_image(dispatch)):
        problems.append("CFG: the check or dispatch pointer is not in the image")
    wanted = GUARD_CF_INSTRUMENTED | GUARD_CF_FUNCTION_TABLE_PRESENT
    if guard_flags & wanted != wanted:
        problems.append(f"CFG: load configuration not instrumented (GuardFlags {guard_flags:#x})")
    if count == 0:
        problems.append("CFG: empty guard function table")
    return problems


def cet_compatible(image: Image) -> bool:
    rva, size = image.directory(DIRECTORY_DEBUG)
    if size == 0:
        return False
    at = image.offset(rva)
    for entry in range(at, at + size, 28):
        kind, data_size, _, pointer = struct.unpack_from("<IIII", image.data, entry + 12)
        if kind == DEBUG_TYPE_EX_DLLCHARACTERISTICS and data_size >= 4 and pointer:
            if struct.unpack_from("<I", image.data, pointer)[0] & EX_CET_COMPAT:
                return True
    return False


def main(argv: list[str]) -> int:
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        image = Image(f.read())
    missing = missing_marks(image)
    for mark in missing:
        print(f"{argv[1]}: {mark}")
    if not missing:
        print(f"{argv[1]}: ASLR, high-entropy ASLR, DEP, CFG, CET, W^X and stack protection present")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
