#!/usr/bin/env python3
"""Reads a 64-bit Windows executable and fails, naming each one, when a hardening mark is missing:
ASLR (a relocatable image with its relocations), high-entropy ASLR, DEP, Control Flow Guard with an
instrumented load configuration and its function table, CET shadow-stack compatibility, no section
both writable and executable, and the stack protector's failure routine linked in (present only
when some function carries a canary; the stripped image keeps no symbol to say more).
The guard must also be whole, as Windows enforces it: its table sorted and holding the entry point,
each TLS callback, each export, each absolute pointer into code (but the check and dispatch
pointers, which the loader replaces) and each function whose address code takes; no empty
long-jump table declared while longjmp is imported; and some call through the check or dispatch
pointer.

Usage: check_pe.py EXECUTABLE"""

import re
import struct
import sys

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT, GUARD_CF = 0x0040, 0x0020, 0x0100, 0x4000
MEM_EXECUTE, MEM_WRITE = 0x20000000, 0x80000000
IMAGE_REL_BASED_DIR64 = 10
GUARD_CF_INSTRUMENTED, GUARD_CF_FUNCTION_TABLE_PRESENT, GUARD_CF_LONGJUMP_TABLE_PRESENT = 0x100, 0x400, 0x10000
DEBUG_TYPE_EX_DLLCHARACTERISTICS, EX_CET_COMPAT = 20, 0x01
DIRECTORY_EXPORT, DIRECTORY_EXCEPTION, DIRECTORY_DEBUG, DIRECTORY_RELOCATIONS, DIRECTORY_TLS, DIRECTORY_LOAD_CONFIG = (
    0, 3, 6, 5, 9, 10)
# Offsets in IMAGE_LOAD_CONFIG_DIRECTORY64.
LC_CHECK_POINTER, LC_DISPATCH_POINTER, LC_FUNCTION_COUNT, LC_GUARD_FLAGS, LC_LONGJUMP_COUNT = 112, 120, 136, 144, 184
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
        self.optional = optional
        self.image_base = struct.unpack_from("<Q", data, optional + 24)[0]
        self.entry_point = struct.unpack_from("<I", data, optional + 16)[0]
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

    def u32(self, at: int) -> int:
        return struct.unpack_from("<I", self.data, at)[0]

    def u64(self, at: int) -> int:
        return struct.unpack_from("<Q", self.data, at)[0]

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
    elif image.dll_characteristics & GUARD_CF:
        problems += incomplete_guard(image, at, guard_flags)
    return problems


def incomplete_guard(image: Image, at: int, guard_flags: int) -> list[str]:
    base, (check, dispatch, table, count) = image.image_base, struct.unpack_from("<QQQQ", image.data, at + LC_CHECK_POINTER)
    stride = 4 + (guard_flags >> 28)
    listed = [image.u32(image.offset(table - base) + stride * i) for i in range(count)]
    code = [s for s in image.sections if s[5] & MEM_EXECUTE]
    in_code = lambda rva: any(s[1] <= rva < s[1] + s[2] for s in code)
    pointers, (rva, size) = [], image.directory(DIRECTORY_RELOCATIONS)
    block, end = (image.offset(rva), image.offset(rva) + size) if size else (0, 0)
    while block < end:
        page, block_size = struct.unpack_from("<II", image.data, block)
        for entry in struct.unpack_from(f"<{(block_size - 8) // 2}H", image.data, block + 8):
            where = page + (entry & 0xFFF)
            if entry >> 12 == IMAGE_REL_BASED_DIR64 and base + where not in (check, dispatch):
                pointers.append(image.u64(image.offset(where)) - base)
        block += block_size
    callbacks, (tls, tls_size) = [], image.directory(DIRECTORY_TLS)
    slot = image.offset(image.u64(image.offset(tls) + 24) - base) if tls_size else 0
    while slot and image.u64(slot):
        callbacks, slot = callbacks + [image.u64(slot) - base], slot + 8
    exports, (export, export_size) = [], image.directory(DIRECTORY_EXPORT)
    if export_size:
        functions = image.offset(image.u32(image.offset(export) + 28))
        exports = [image.u32(functions + 4 * i) for i in range(image.u32(image.offset(export) + 20))]
    # Functions whose address code takes: lea r64, [rip + disp32] of a function the exception table lists.
    functions, function_table_size = image.directory(DIRECTORY_EXCEPTION)
    starts = {image.u32(image.offset(functions) + i) for i in range(0, function_table_size, 12)}
    taken = [s[1] + m.end() + 4 + struct.unpack_from("<i", image.data, s[3] + m.end())[0] for s in code
             for m in re.finditer(rb"[\x48\x4c]\x8d[\x05\x0d\x15\x1d\x25\x2d\x35\x3d]", image.data[s[3]:s[3] + s[4] - 4])]
    required = {"entry point": [image.entry_point], "TLS callbacks": callbacks,
                "exports": [e for e in exports if in_code(e)], "pointers into code": [p for p in pointers if in_code(p)],
                "functions whose address is taken": [t for t in taken if t in starts]}
    problems = [f"CFG: {what} missing from the guard function table ({len(missing)}: "
                f"{', '.join(hex(r) for r in sorted(missing)[:4])})"
                for what, rvas in required.items() if (missing := set(rvas) - set(listed))]
    if listed != sorted(set(listed)):
        problems.append("CFG: the guard function table is not sorted")
    if guard_flags & GUARD_CF_LONGJUMP_TABLE_PRESENT and not image.u64(at + LC_LONGJUMP_COUNT) and b"longjmp\0" in image.data:
        problems.append("CFG: an empty long-jump table is declared while longjmp is imported")
    # call or jmp through [rip + disp32]: FF 15 or FF 25.
    through = [base + s[1] + m.end() + 4 + struct.unpack_from("<i", image.data, s[3] + m.end())[0]
               for s in code for m in re.finditer(rb"\xff[\x15\x25]", image.data[s[3]:s[3] + s[4] - 4])]
    if check not in through and dispatch not in through:
        problems.append("CFG: no call goes through the guard's check or dispatch pointer")
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
